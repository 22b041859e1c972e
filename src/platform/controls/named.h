#pragma once

#include <QString>

namespace platform {

// Gives `object` the name a test or a reader looks it up by: "Text1(0)" for
// element 0 of the control array Text1, "Label3" for a single control.
template <class T> T* Named(T* object, const char* name, int index = -1)
{
    object->setObjectName(index < 0 ? QString::fromLatin1(name)
                                    : QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index));
    return object;
}

} // namespace platform
