#pragma once

#include <QMainWindow>

namespace platform {

// A fixed-size top-level window with a menu bar above a client area laid out
// in twips, a minimise button and no maximise button.
class Form : public QMainWindow {
    Q_OBJECT

public:
    explicit Form(QWidget* parent = nullptr);

    QWidget* Client() const { return client_; }
    void SetClientSize(int widthTwips, int heightTwips);

    int HelpContextID() const { return helpContextId_; }
    void SetHelpContextID(int id) { helpContextId_ = id; }

    // The window's place (its inside's top-left corner, see form.cpp) and
    // its outer size, in twips, screen coordinates. Before the window is
    // first shown the frame is not known yet and the size is the inside's.
    int Left() const;
    int Top() const;
    void SetLeft(int twips);
    void SetTop(int twips);
    int Width() const;
    int Height() const;
    // The outer window's corner, frame included, for placing other windows
    // over this one.
    int OuterLeft() const;
    int OuterTop() const;

    // Top-left of the restored (normal) window's inside in pixels, also
    // while it is minimised: what it would come back to.
    QPoint NormalPosition() const;

signals:
    // The window is closing, by whatever means; sent once.
    void Unload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* client_;
    int helpContextId_ = 0;
    bool unloaded_ = false;
};

// The primary screen's size in twips.
int ScreenWidth();
int ScreenHeight();

// Places a control of a form at a twips rectangle of its container.
void Place(QWidget* control, int left, int top, int width, int height);

// Moves the keyboard focus to `control` unless it is not on screen (its
// window not shown yet, for instance): then the move is skipped.
void MoveFocus(QWidget* control);

} // namespace platform

namespace platform {

// Gives `object` the name a test or a reader looks it up by: "Text1(0)" for
// element 0 of the control array Text1, "Label3" for a single control.
template <class T> T* Named(T* object, const char* name, int index = -1)
{
    object->setObjectName(index < 0 ? QString::fromLatin1(name)
                                    : QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index));
    return object;
}

} // namespace platform
