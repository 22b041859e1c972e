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
    // The clipboard's text is about to go in, by Ctrl+V, Shift+Insert or
    // the box's own menu. A handler that takes it as a whole sets `taken`,
    // and the box is left as it is.
    void Paste(const QString& text, bool& taken);
    // Up or Down (by one) and Page Up or Page Down (by a page) ask to step
    // the value the box shows.
    void Step(int delta);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void PasteClipboard();
};

} // namespace platform
