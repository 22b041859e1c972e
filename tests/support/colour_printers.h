#pragma once

#include "colour/color_value.h"
#include "colour/conversions.h"

#include <QByteArray>

// Value printers, so that a failing QCOMPARE shows the three numbers. QCOMPARE
// finds them by argument-dependent lookup; call them unqualified too, since
// QTest::toString(x) bypasses that lookup and prints nothing for these types.
namespace colour {

inline char* toString(const Rgb& c)
{
    return qstrdup(
        QByteArray::number(c.r) + ", " + QByteArray::number(c.g) + ", " + QByteArray::number(c.b));
}

inline char* toString(const Triple& t)
{
    return qstrdup(QByteArray::number(t.c0) + ", " + QByteArray::number(t.c1) + ", "
        + QByteArray::number(t.c2));
}

} // namespace colour
