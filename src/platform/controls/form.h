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

    int HelpContextID() const;
    void SetHelpContextID(int id);

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

    // Whether some part of the window's top strip would lie on a screen with
    // its inside's corner at this place in twips: the title bar above the
    // inside, or the inside's top row where there is no frame. A window
    // without it on a screen cannot be seen or dragged back. Meant for
    // before the first show.
    bool TopStripOnAScreen(int leftTwips, int topTwips) const;

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
    bool unloaded_ = false;
};

} // namespace platform
