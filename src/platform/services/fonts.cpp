#include "platform/services/fonts.h"

#include <QFont>
#include <QWidget>

namespace platform {

void SetFontName(QWidget* control, const QString& face)
{
    QFont font = control->font();
    font.setFamilies({face, QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")});
    control->setFont(font);
}

} // namespace platform
