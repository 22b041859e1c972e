#include "platform/form.h"

#include "platform/units.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>

#include <cmath>

namespace platform {

Form::Form(QWidget* parent) : QMainWindow(parent), client_(new QWidget(this))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Form::SetClientSize(int widthTwips, int heightTwips)
{
    client_->setFixedSize(TwipsToPixelsX(widthTwips), TwipsToPixelsY(heightTwips));
}

// The window's place is its inside's top-left corner. A window is placed
// before its first show, when nobody knows the frame yet, so Qt puts the
// inside at the point asked for; reading the frame's corner back instead
// would move the window by the frame's size at every start.
int Form::Left() const
{
    return static_cast<int>(std::lround(geometry().x() * TwipsPerPixelX()));
}

int Form::Top() const
{
    return static_cast<int>(std::lround(geometry().y() * TwipsPerPixelY()));
}

int Form::OuterLeft() const
{
    return static_cast<int>(std::lround(pos().x() * TwipsPerPixelX()));
}

int Form::OuterTop() const
{
    return static_cast<int>(std::lround(pos().y() * TwipsPerPixelY()));
}

void Form::SetLeft(int twips)
{
    move(TwipsToPixelsX(twips), geometry().y());
}

void Form::SetTop(int twips)
{
    move(geometry().x(), TwipsToPixelsY(twips));
}

// Before the first show Qt has not sized the window yet; the layout knows
// what it will be.
static QSize OuterSize(const QWidget& window)
{
    return window.isVisible() ? window.frameGeometry().size() : window.sizeHint();
}

int Form::Width() const
{
    return static_cast<int>(std::lround(OuterSize(*this).width() * TwipsPerPixelX()));
}

int Form::Height() const
{
    return static_cast<int>(std::lround(OuterSize(*this).height() * TwipsPerPixelY()));
}

QPoint Form::NormalPosition() const
{
    // Qt keeps a minimised window's geometry: the restored one. There is no
    // maximised state here (no maximise button).
    return geometry().topLeft();
}

void Form::closeEvent(QCloseEvent* event)
{
    if (!unloaded_) {
        unloaded_ = true;
        emit Unload();
    }
    event->accept(); // closing cannot be refused
}

int ScreenWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->geometry().width() * TwipsPerPixelX()))
                  : 0;
}

int ScreenHeight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->geometry().height() * TwipsPerPixelY()))
                  : 0;
}

void Place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(TwipsToPixels(left, top, width, height));
}

void MoveFocus(QWidget* control)
{
    if (control->isVisible())
        control->setFocus(Qt::OtherFocusReason);
}

} // namespace platform
