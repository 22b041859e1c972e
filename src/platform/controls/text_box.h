#pragma once

#include <QLineEdit>
#include <cstdint>

namespace platform {

// A single-line text box with the window model's notifications: Change for
// every text change (typed, pasted or set by code), KeyPress with a character
// code that the handler may replace (0 discards the character), GotFocus.
class TextBox : public QLineEdit {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent);

    QString Text() const { return text(); }
    void SetText(const QString& t);
    void SelectAll() { setSelection(0, static_cast<int>(text().size())); }

signals:
    void Change();
    void KeyPress(std::int16_t& keyAscii);
    void GotFocus();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace platform
