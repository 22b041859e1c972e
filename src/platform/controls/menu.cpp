#include "platform/controls/menu.h"

#include "platform/controls/qt_color.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QStyle>

namespace platform {

MenuItem::MenuItem(const QString& caption, QObject* parent) : QAction(caption, parent)
{
    // A separator keeps no text: styles draw a separator's text as a section
    // title, so a pop-up would show the "-" before its line.
    if (caption == QLatin1String("-")) {
        setSeparator(true);
        setText(QString());
    }
    connect(this, &QAction::triggered, this, [this] {
        if (isCheckable() && !isChecked())
            setChecked(true); // undo Qt's flip of a checked item
        emit Click();
    });
}

void MenuItem::SetChecked(bool checked)
{
    if (checked)
        setCheckable(true);
    setChecked(checked);
    if (!checked)
        setCheckable(false);
}

void MenuItem::SetSwatch(std::uint32_t colour)
{
    const int side = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap swatch(QSize(side, side) * ratio);
    swatch.setDevicePixelRatio(ratio);
    swatch.fill(ToQColor(colour));
    // A dark rim keeps white and the menu's own colour apart from the menu.
    QPainter rim(&swatch);
    rim.setPen(QColor(Qt::darkGray));
    rim.drawRect(QRectF(0.5, 0.5, side - 1, side - 1));
    rim.end();
    setIcon(QIcon(swatch));
}

void PopupMenu(QMenu* menu)
{
    menu->exec(QCursor::pos());
}

} // namespace platform
