#include "platform/services/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

namespace platform {

namespace {

// Asked once per face: the font step asks for every control of the window,
// and QFontDatabase::hasFamily() puts each question to fontconfig's
// substitution rules, a third of the whole start-up's instructions.
bool Installed(const QString& face)
{
    static QString asked;
    static bool installed = false;
    if (face != asked) {
        asked = face;
        installed = QFontDatabase::families().contains(face, Qt::CaseInsensitive);
    }
    return installed;
}

} // namespace

void SetFontName(QWidget* control, const QString& face)
{
    // A face Qt does not know would be matched by fontconfig to some other
    // family, and its Japanese glyphs to yet another font: a second face
    // beside the menus', both drawn and both kept in memory.
    if (!Installed(face))
        return;
    QFont font = control->font();
    font.setFamilies({face});
    control->setFont(font);
}

} // namespace platform
