#include "platform/controls/form.h"

#include "platform/controls/context_menu_key.h"
#include "platform/controls/menu_bar.h"
#include "platform/services/help.h"
#include "platform/services/units.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>

namespace platform {

Form::Form(QWidget* parent) : QMainWindow(parent), client_(new QWidget(this))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    setMenuBar(new MenuBar(this));
    OpenMenusOnShiftF10(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Form::SetClientSize(int widthTwips, int heightTwips)
{
    client_->setFixedSize(TwipsToPixelsX(widthTwips), TwipsToPixelsY(heightTwips));
}

int Form::HelpContextID() const
{
    return platform::HelpContextID(this);
}

void Form::SetHelpContextID(int id)
{
    platform::SetHelpContextID(this, id);
}

// The window's place is its inside's top-left corner. A window is placed
// before its first show, when nobody knows the frame yet, so Qt puts the
// inside at the point asked for; reading the frame's corner back instead
// would move the window by the frame's size at every start.
int Form::Left() const
{
    return ScreenPixelsToTwipsX(geometry().x());
}

int Form::Top() const
{
    return ScreenPixelsToTwipsY(geometry().y());
}

int Form::OuterLeft() const
{
    return ScreenPixelsToTwipsX(pos().x());
}

int Form::OuterTop() const
{
    return ScreenPixelsToTwipsY(pos().y());
}

void Form::SetLeft(int twips)
{
    move(ScreenTwipsToPixelsX(twips), geometry().y());
}

void Form::SetTop(int twips)
{
    move(geometry().x(), ScreenTwipsToPixelsY(twips));
}

// Before the first show Qt has not sized the window yet; the layout knows
// what it will be.
static QSize OuterSize(const QWidget& window)
{
    return window.isVisible() ? window.frameGeometry().size() : window.sizeHint();
}

int Form::Width() const
{
    return ScreenPixelsToTwipsX(OuterSize(*this).width());
}

int Form::Height() const
{
    return ScreenPixelsToTwipsY(OuterSize(*this).height());
}

bool Form::TopStripOnAScreen(int leftTwips, int topTwips) const
{
    // Start-up asks before the first show, when the frame is not known yet:
    // the style's title bar height stands in for it.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QRect strip(ScreenTwipsToPixelsX(leftTwips), ScreenTwipsToPixelsY(topTwips) - titleBar,
        OuterSize(*this).width(), titleBar + 1);
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(strip))
            return true;
    }
    return false;
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

} // namespace platform
