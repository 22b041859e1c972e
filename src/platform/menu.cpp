#include "platform/menu.h"

#include <QCursor>
#include <QMenu>

namespace platform {

MenuItem::MenuItem(const QString& caption, QObject* parent) : QAction(caption, parent)
{
    if (caption == QLatin1String("-"))
        setSeparator(true);
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

void PopupMenu(QMenu* menu)
{
    menu->exec(QCursor::pos());
}

} // namespace platform
