#pragma once

#include "platform/controls/mouse.h"

#include <QLabel>
#include <QList>
#include <cstdint>

namespace platform {

// A label: caption, background and text colour, border on or off, tooltip,
// custom pointer, and the mouse notifications in twips. The control a button
// went down on keeps receiving moves and the release (Qt's implicit grab).
class Label : public QLabel {
    Q_OBJECT

public:
    explicit Label(QWidget* parent);

    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }

    // Colours are packed 0x00BBGGRR.
    void SetBackColor(std::uint32_t colour);
    std::uint32_t BackColor() const;
    void SetForeColor(std::uint32_t colour);
    std::uint32_t ForeColor() const;

    void SetBorder(bool on);
    bool Border() const { return frameShape() != QFrame::NoFrame; }

    // Grows the painted box out of the box the label was placed in until
    // the caption fits in one line with its border on: for a font larger
    // than its place. A centred caption grows about the centre, any other
    // to the right and down, so that captions aligned at the left stay so.
    // The placed box stays the label for the mouse: positions are relative
    // to it, and a press outside it (both edges included) passes to the
    // container. Once fitted, the label fits again whenever its caption or
    // its font changes.
    void FitCaption();
    // The placed box, in the label's own pixels.
    QRect HitRect() const;

    // What a screen reader is told the label is. Text is named by its
    // caption without the access key. The others are named by their
    // tooltip, which says what they are, and their caption is the
    // description; a colour sample's text is its back colour in HTML
    // notation, and a change of that colour is told as a change of the text.
    // A button or a link is pressable: a screen reader's press action, and
    // Enter or Space while it has the focus, Press it. A link is also a Tab
    // stop, as in a browser; a button is reached by the mouse or a screen
    // reader alone.
    enum class Role { Text, Button, Link, ColourSample };
    void SetRole(Role role);
    Role AccessibleRole() const { return role_; }
    bool Pressable() const { return role_ == Role::Button || role_ == Role::Link; }
    // A click with the left button in the middle of the placed box: MouseDown
    // then MouseUp, so that the handlers see nothing but a click.
    void Press();

    // The caption names `control` to a screen reader, without the access
    // key, from now on and after every change of the caption: for the box
    // and the scroll bar of a row, which Qt would name after the frame.
    void Names(QWidget* control);

signals:
    void MouseDown(const platform::MouseArgs& args);
    void MouseMove(const platform::MouseArgs& args);
    void MouseUp(const platform::MouseArgs& args);

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    MouseArgs Args(const QMouseEvent& event, bool pressOrRelease) const;

    QString caption_;
    Role role_ = Role::Text;
    QList<QWidget*> named_;
    QPoint hitOrigin_; // the placed box's corner in the painted one
    QSize hitSize_; // empty until fitted: the whole label
};

} // namespace platform
