#include "about/about_form.h"

#include "platform/controls/form.h"
#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/named.h"
#include "platform/desktop/desktop.h"
#include "platform/services/fonts.h"
#include "platform/services/services.h"
#include "platform/services/units.h"
#include "resources/captions.h"
#include "resources/cursors.h"
#include "resources/strings.h"
#include "resources/version.h"

#include <QLabel>
#include <QPushButton>

using platform::Named;
using platform::Place;

namespace {

constexpr int kClientWidth = 3960;
constexpr int kClientHeight = 2790;
constexpr int kIconSize = 32; // the icon at its own size, never stretched
constexpr std::uint32_t kLinkBlue = 0xFF0000; // 0x00BBGGRR

// Before its first show the dialog has no frame yet. The window manager will
// give it the decorations it gave the main window, so borrow those: the
// centring works on outer sizes.
QSize Decoration(const QWidget& window)
{
    if (!window.isVisible())
        return {};
    return window.frameGeometry().size() - window.geometry().size();
}

void Centre(platform::Label* label)
{
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void SetPointSize(QWidget* control, int points, bool bold, bool underline)
{
    QFont font = control->font();
    font.setPointSize(points);
    font.setBold(bold);
    font.setUnderline(underline);
    control->setFont(font);
}

} // namespace

QString VersionText(std::int16_t major, std::int16_t minor)
{
    return QString::fromUtf8(resources::kVersionLine)
        .arg(major)
        .arg(minor, 2, 10, QLatin1Char('0'));
}

float CentreOver(float mainStart, float mainSize, float dialogSize)
{
    return mainStart + (mainSize - dialogSize) / 2.0f;
}

AboutForm::AboutForm(const platform::Form& main) : QDialog(nullptr)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QString::fromUtf8(resources::kAboutTitle));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // No owner, so window modality alone keeps the main window from being used.
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(platform::TwipsToPixelsX(kClientWidth), platform::TwipsToPixelsY(kClientHeight));
    CreateControls();
    Wire();
    Form_Load(main);
}

void AboutForm::CreateControls()
{
    Frame1 = Named(new platform::Frame(this), "Frame1");
    Place(Frame1, 240, 120, 3495, 1935);

    Image1 = Named(new QLabel(Frame1), "Image1");
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(Image1, 600, 360, 615, 615);

    Label1 = Named(new platform::Label(Frame1), "Label1");
    Place(Label1, 1320, 360, 1815, 255);
    platform::SetFontName(Label1, QString::fromUtf8(resources::kClassicFace));
    SetPointSize(Label1, 12, true, false);

    Label2 = Named(new platform::Label(Frame1), "Label2");
    Place(Label2, 1320, 720, 1815, 255);

    Label3 = Named(new platform::Label(Frame1), "Label3");
    Place(Label3, 240, 1080, 3015, 255);

    Label4 = Named(new platform::Label(Frame1), "Label4");
    Place(Label4, 315, 1440, 2865, 180);
    platform::SetFontName(Label4, QString::fromUtf8(resources::kClassicFace));
    SetPointSize(Label4, 9, false, true);
    Label4->SetForeColor(kLinkBlue);
    Label4->setToolTip(QString::fromUtf8(resources::kLinkTooltip));
    Label4->SetRole(platform::Label::Role::Link);

    for (platform::Label* label : {Label1, Label2, Label3, Label4})
        Centre(label);

    Command1 = Named(new QPushButton(QString::fromUtf8(resources::kAboutOk), this), "Command1");
    Place(Command1, 1320, 2280, 1335, 330);
    Command1->setDefault(true);

    // The link and the button are the keyboard's stops.
    for (QWidget* still : std::initializer_list<QWidget*>{Frame1, Image1, Label1, Label2, Label3})
        still->setFocusPolicy(Qt::NoFocus);
    Command1->setFocus(Qt::OtherFocusReason);
}

void AboutForm::Wire()
{
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Label4, &platform::Label::MouseDown, this,
        [this](const platform::MouseArgs& a) { Label4_MouseDown(a); });
    connect(Label4, &platform::Label::MouseMove, this,
        [this](const platform::MouseArgs& a) { Label4_MouseMove(a); });
    connect(Label4, &platform::Label::MouseUp, this,
        [this](const platform::MouseArgs& a) { Label4_MouseUp(a); });
    // Escape closes too: QDialog maps it to reject(), which ends exec() like OK.
}

void AboutForm::Form_Load(const platform::Form& main)
{
    // Where the desktop tells no window where it is, the main window's place
    // is unknown and the compositor places the dialog.
    if (platform::TheDesktop().PlacesWindows()) {
        const QSize outer = size() + Decoration(main);
        const float width = static_cast<float>(outer.width()) * platform::ScreenTwipsPerPixelX();
        const float height = static_cast<float>(outer.height()) * platform::ScreenTwipsPerPixelY();
        const float left = CentreOver(
            static_cast<float>(main.OuterLeft()), static_cast<float>(main.Width()), width);
        const float top = CentreOver(
            static_cast<float>(main.OuterTop()), static_cast<float>(main.Height()), height);
        move(platform::ScreenTwipsToPixelsX(left), platform::ScreenTwipsToPixelsY(top));
    }

    Image1->setPixmap(main.windowIcon().pixmap(kIconSize));
    Label1->SetCaption(QString::fromUtf8(resources::kProductName));
    Label2->SetCaption(VersionText(resources::kVersionMajor, resources::kVersionMinor));
    Label3->SetCaption(QString::fromUtf8(resources::kCopyright));
    Label4->SetCaption(resources::LoadResString(resources::kWebPageString));
    // The 9-point face needs more than the 180 twips laid out for the link,
    // or the descenders, the underline and the outer letters are cut off;
    // the 12-point title needs more than its 255 on most desktop faces.
    for (platform::Label* label : {Label1, Label2, Label3, Label4})
        label->FitCaption();
    Label4->setCursor(resources::LoadResCursor(resources::kHandCursor));
    platform::TheDesktop().Beep();
}

void AboutForm::Command1_Click()
{
    accept();
}

// The border of Label4 is its armed state: on while the left button that
// went down on the link is held over it.

void AboutForm::Label4_MouseDown(const platform::MouseArgs& args)
{
    if (args.button == platform::kLeftButton)
        Label4->SetBorder(true);
}

void AboutForm::Label4_MouseMove(const platform::MouseArgs& args)
{
    if (args.button != platform::kLeftButton)
        return;
    // The label keeps the moves after the pointer left it.
    const bool inside = platform::Inside(args, Label4->HitRect().size());
    if (inside && !Label4->Border())
        Label4->SetBorder(true);
    else if (!inside && Label4->Border())
        Label4->SetBorder(false);
}

void AboutForm::Label4_MouseUp(const platform::MouseArgs& args)
{
    if (args.button != platform::kLeftButton || !Label4->Border())
        return;
    Label4->SetBorder(false);
    // Whether a browser came up is not told; the dialog stays open either way.
    platform::Os().OpenUrl(resources::LoadResString(resources::kWebPageString));
}
