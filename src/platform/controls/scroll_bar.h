#pragma once

#include <QScrollBar>
#include <cstdint>

namespace platform {

// A horizontal scroll bar with the window model's notifications: Change when
// the value changes (by code, keys or clicks), Scroll while the user drags
// the thumb. Qt already keeps setValue and setMaximum silent when nothing
// changes, and a lowered maximum re-bounds the value through valueChanged, so
// both pass straight through, as do Qt's steps (1 per arrow, 10 per page).
class ScrollBar : public QScrollBar {
    Q_OBJECT

public:
    explicit ScrollBar(QWidget* parent);

    std::int16_t Value() const { return static_cast<std::int16_t>(value()); }
    void SetValue(int v) { setValue(v); }
    std::int16_t Max() const { return static_cast<std::int16_t>(maximum()); }
    void SetMax(int v) { setMaximum(v); }

signals:
    void Change();
    void Scroll();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int valueAtPress_ = 0;
};

} // namespace platform
