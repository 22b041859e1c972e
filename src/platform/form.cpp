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

int Form::Left() const
{
    return static_cast<int>(std::lround(pos().x() * TwipsPerPixelX()));
}

int Form::Top() const
{
    return static_cast<int>(std::lround(pos().y() * TwipsPerPixelY()));
}

void Form::SetLeft(int twips)
{
    move(TwipsToPixelsX(twips), pos().y());
}

void Form::SetTop(int twips)
{
    move(pos().x(), TwipsToPixelsY(twips));
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
    // Qt keeps a minimised window's position: the restored one. There is no
    // maximised state here (no maximise button).
    return pos();
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
