#pragma once

#include <QAction>
#include <cstdint>

class QMenu;

namespace platform {

// A menu item with the window model's check mark: set only by code. Qt flips
// a checkable action before `triggered`; the item undoes that flip so the
// command sees the mark as it was and sets every mark itself. An unchecked
// item is not checkable at all, so menus show no empty check boxes.
class MenuItem : public QAction {
    Q_OBJECT

public:
    // A caption of "-" makes the item a separator.
    MenuItem(const QString& caption, QObject* parent);

    void SetChecked(bool checked);
    bool Checked() const { return isChecked(); }

    // Shows a small square of `colour` (0x00BBGGRR) before the caption, so
    // that an entry that sets a colour shows which.
    void SetSwatch(std::uint32_t colour);

signals:
    void Click();
};

// Shows `menu` at the pointer; returns once it has closed and the chosen
// command, if any, has run.
void PopupMenu(QMenu* menu);

} // namespace platform
