#include "platform/services/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

namespace platform {

void SetFontName(QWidget* control, const QString& face)
{
    // A face Qt does not know would be matched by fontconfig to some other
    // family, and its Japanese glyphs to yet another font: a second face
    // beside the menus', both drawn and both kept in memory.
    if (!QFontDatabase::hasFamily(face))
        return;
    QFont font = control->font();
    font.setFamilies({face});
    control->setFont(font);
}

} // namespace platform
