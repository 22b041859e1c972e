#include "platform/controls/text_box.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

#include <optional>

namespace platform {

namespace {

// The character code a key press stands for, or nothing for keys that only
// edit or move (arrows, Delete, Home...), which never reach KeyPress.
std::optional<std::int16_t> CharacterCode(const QKeyEvent& event)
{
    const auto mods = event.modifiers();
    const int key = event.key();
    if ((mods & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::int16_t>(key - Qt::Key_A + 1); // Ctrl+C is 3
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    default: break;
    }
    const QString text = event.text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() == 127)
        return std::nullopt;
    return static_cast<std::int16_t>(text.at(0).unicode());
}

// A page is a sixteenth of a channel's 256 values.
constexpr int kPageStep = 16;

int StepOf(const QKeyEvent& event)
{
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return 0;
    switch (event.key()) {
    case Qt::Key_Up: return 1;
    case Qt::Key_Down: return -1;
    case Qt::Key_PageUp: return kPageStep;
    case Qt::Key_PageDown: return -kPageStep;
    default: return 0;
    }
}

} // namespace

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    // The boxes take digits and hexadecimal letters only; an input method
    // would compose text past the key filter.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::textChanged, this, [this] { emit Change(); });
}

void TextBox::SetText(const QString& t)
{
    if (t == text())
        return; // the same text must keep caret and selection
    // A box whose whole value is selected keeps it selected when the value
    // is rewritten (a thumb being dragged, say), so that typing still
    // replaces it; QLineEdit alone would drop the selection.
    const bool wholeSelected = !text().isEmpty() && selectedText() == text();
    setText(t); // textChanged fires synchronously: our Change notification
    if (wholeSelected)
        SelectAll();
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    const std::optional<std::int16_t> code = CharacterCode(*event);
    if (const int delta = StepOf(*event); delta != 0) {
        emit Step(delta);
        event->accept();
        return;
    }
    if (!code) {
        if (event->matches(QKeySequence::Paste))
            PasteClipboard();
        else
            QLineEdit::keyPressEvent(event);
        return;
    }
    std::int16_t keyAscii = *code;
    emit KeyPress(keyAscii);
    if (keyAscii == 0) {
        event->accept();
        return;
    }
    if (keyAscii == *code && event->matches(QKeySequence::Paste)) {
        PasteClipboard();
        event->accept();
        return;
    }
    if (keyAscii == *code) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The handler replaced the character: type the new one instead.
    const QChar replacement(static_cast<char16_t>(keyAscii));
    QKeyEvent substitute(event->type(), event->key(), event->modifiers() & ~Qt::ControlModifier,
        QString(replacement));
    QLineEdit::keyPressEvent(&substitute);
    event->setAccepted(substitute.isAccepted());
}

void TextBox::inputMethodEvent(QInputMethodEvent* event)
{
    // Should a platform input method deliver text all the same, each
    // character passes the key filter like a typed one.
    QString passed;
    for (const QChar ch : event->commitString()) {
        std::int16_t keyAscii = static_cast<std::int16_t>(ch.unicode());
        emit KeyPress(keyAscii);
        if (keyAscii != 0)
            passed.append(QChar(static_cast<char16_t>(keyAscii)));
    }
    QInputMethodEvent filtered;
    filtered.setCommitString(passed);
    QLineEdit::inputMethodEvent(&filtered);
}

void TextBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    emit GotFocus();
}

void TextBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    // The menu's paste goes the way Ctrl+V goes. Qt names the item only
    // by its caption, in the language Qt speaks.
    const QString paste = QLineEdit::tr("&Paste");
    for (QAction* item : menu->actions()) {
        if (item->text() == paste || item->text().startsWith(paste + u'\t')) {
            disconnect(item, &QAction::triggered, nullptr, nullptr);
            connect(item, &QAction::triggered, this, &TextBox::PasteClipboard);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TextBox::PasteClipboard()
{
    if (isReadOnly())
        return;
    const QString text = QGuiApplication::clipboard()->text();
    bool taken = false;
    emit Paste(text, taken);
    if (!taken)
        insert(text);
}

} // namespace platform
