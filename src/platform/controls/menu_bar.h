#pragma once

#include <QMenuBar>

namespace platform {

// A window's menu bar as desktop menu bars behave from the keyboard: F10
// or a lone Alt highlights it, and then a letter opens its menu. Alt with a
// letter that a caption in the window carries as well goes to the
// caption's box every time, as every other caption's letter does, rather
// than to the box and the menu in turn.
class MenuBar : public QMenuBar {
    Q_OBJECT

public:
    explicit MenuBar(QWidget* window);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Highlight();
};

} // namespace platform
