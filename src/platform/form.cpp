#include "platform/form.h"

#include "platform/units.h"

#include <QLayout>

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
