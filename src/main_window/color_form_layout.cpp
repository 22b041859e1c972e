#include "main_window/color_form.h"
#include "resources/help_topics.h"

#include "colour/conversions.h"
#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/line.h"
#include "platform/controls/named.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"
#include "platform/services/services.h"
#include "platform/services/units.h"
#include "resources/captions.h"
#include "resources/icon.h"
#include "resources/version.h"

using platform::Named;
using platform::Place;

namespace {

constexpr int kClientWidth = 4095;
constexpr int kClientHeight = 4800;

// One channel row inside its frame: caption, text box, scroll bar.
struct RowGeometry {
    int captionTop;
    int top;
};
constexpr RowGeometry kRows[3] = {{390, 360}, {750, 720}, {1110, 1080}};
constexpr int kRgbTextWidths[3] = {480, 480, 465}; // the blue box is narrower
constexpr int kModelTextWidths[3] = {480, 480, 480};
constexpr int kCaptionLeft = 240;
constexpr int kTextLeft = 960;
constexpr int kScrollLeft = 1560;
constexpr int kScrollWidth = 1815;
constexpr int kRowHeight = 255;
constexpr int kTextHeight = 270;

struct Swatch {
    const char* name;
    std::uint32_t colour; // 0x00BBGGRR
};
constexpr Swatch kSwatches[16] = {
    {"Black", 0x000000},
    {"Navy", 0x800000},
    {"Green", 0x008000},
    {"Teal", 0x808000},
    {"Maroon", 0x000080},
    {"Purple", 0x800080},
    {"Olive", 0x008080},
    {"Silver", 0xC0C0C0},
    {"Gray", 0x808080},
    {"Blue", 0xFF0000},
    {"Lime", 0x00FF00},
    {"Aqua", 0xFFFF00},
    {"Red", 0x0000FF},
    {"Fuchsia", 0xFF00FF},
    {"Yellow", 0x00FFFF},
    {"White", 0xFFFFFF},
};
constexpr int kSwatchSize = 240;

constexpr int kShadowColour = 16; // the etched rule: 3-D shadow over
constexpr int kHighlightColour = 20; // 3-D highlight

} // namespace

ColorForm::ColorForm(QWidget* parent) : platform::Form(parent)
{
    setObjectName(QStringLiteral("ColorForm"));
    setWindowTitle(QString::fromLatin1(resources::kProductName));
    setWindowIcon(resources::AppIcon());
    SetClientSize(kClientWidth, kClientHeight);
    SetHelpContextID(resources::kMainWindowTopic);
    CreateMenus();
    CreateControls();
    Wire();
}

void ColorForm::CreateControls()
{
    QWidget* client = Client();

    // Created in tab order: Qt's focus chain follows creation.
    Label3 = Named(new platform::Label(client), "Label3");
    Place(Label3, 240, 240, 975, 975);
    Label3->SetBorder(true);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3->setToolTip(QString::fromUtf8(resources::kPreviewTooltip));
    Label3->SetRole(platform::Label::Role::ColourSample);

    const auto makeRows = [](platform::Frame* frame, const char* captionName, const char* textName,
                              const char* scrollName, int captionWidth, const int(&textWidths)[3],
                              auto& captions, auto& texts, auto& scrolls) {
        for (int i = 0; i < 3; ++i) {
            const RowGeometry& row = kRows[i];
            captions[i] = Named(new platform::Label(frame), captionName, i);
            Place(captions[i], kCaptionLeft, row.captionTop, captionWidth, kRowHeight);
            texts[i] = Named(new platform::TextBox(frame), textName, i);
            Place(texts[i], kTextLeft, row.top, textWidths[i], kTextHeight);
            texts[i]->setMaxLength(3);
            captions[i]->setBuddy(texts[i]);
            scrolls[i] = Named(new platform::ScrollBar(frame), scrollName, i);
            Place(scrolls[i], kScrollLeft, row.top, kScrollWidth, kRowHeight);
            captions[i]->Names(texts[i]);
            captions[i]->Names(scrolls[i]);
        }
    };

    Frame1 = Named(new platform::Frame(client), "Frame1");
    Place(Frame1, 240, 1320, 3615, 1575);
    Frame1->SetCaption(QString::fromUtf8(resources::kRgbFrame));
    makeRows(Frame1, "Label1", "Text1", "HScroll1", 495, kRgbTextWidths, Label1, Text1, HScroll1);
    for (int i = 0; i < 3; ++i) {
        Label1[i]->SetCaption(QString::fromUtf8(resources::kRgbCaptions[i]));
        Text1[i]->SetText(QStringLiteral("00"));
        HScroll1[i]->setRange(0, 255);
    }

    Frame2 = Named(new platform::Frame(client), "Frame2");
    Place(Frame2, 240, 3000, 3615, 1575);
    makeRows(Frame2, "Label2", "Text2", "HScroll2", 615, kModelTextWidths, Label2, Text2, HScroll2);
    for (int i = 0; i < 3; ++i) {
        Label2[i]->SetCaption(QString::number(i));
        Text2[i]->SetText(QStringLiteral("0"));
        HScroll2[i]->setRange(0, colour::kModelRows[colour::HSV].maxima[i]);
    }

    Frame3 = Named(new platform::Frame(client), "Frame3");
    Place(Frame3, 1440, 120, 2415, 1095);
    Frame3->SetCaption(QString::fromUtf8(resources::kSwatchFrame));
    for (int i = 0; i < std::ssize(Label4); ++i) {
        Label4[i] = Named(new platform::Label(Frame3), "Label4", i);
        Place(Label4[i], 240 + kSwatchSize * (i % 8), 360 + kSwatchSize * (i / 8), kSwatchSize,
            kSwatchSize);
        Label4[i]->SetBorder(true);
        Label4[i]->SetBackColor(kSwatches[i].colour);
        Label4[i]->setToolTip(QString::fromLatin1(kSwatches[i].name));
        Label4[i]->SetRole(platform::Label::Role::Button);
    }

    // The etched rule under the menu bar runs past the client area's edge.
    const int etchColours[2] = {kShadowColour, kHighlightColour};
    for (int i = 0; i < std::ssize(Line1); ++i) {
        Line1[i] = Named(new platform::Line(client), "Line1", i);
        Line1[i]->SetPoints(0, 15.0f * i, 4200, 15.0f * i);
        Line1[i]->SetBorderColor(platform::Os().GetSysColor(etchColours[i]));
    }

    // Each row's box, then its bar.
    QWidget* previous = nullptr;
    for (const auto& [texts, scrolls] : {std::pair{Text1, HScroll1}, std::pair{Text2, HScroll2}}) {
        for (int i = 0; i < 3; ++i) {
            if (previous)
                QWidget::setTabOrder(previous, texts[i]);
            QWidget::setTabOrder(texts[i], scrolls[i]);
            previous = scrolls[i];
        }
    }
    Text1[0]->setFocus(Qt::OtherFocusReason);
}
