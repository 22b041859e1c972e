#pragma once

#include "colour/color_value.h"
#include "platform/controls/form.h"

#include <array>
#include <cstdint>

class PickerForm;
class QMenu;

namespace platform {
struct MouseArgs;
class Frame;
class Label;
class Line;
class MenuItem;
class ScrollBar;
class TextBox;
} // namespace platform

// The main window: one colour, shown as RGB channels, as the channels of a
// second model and as a preview, with swatches and the command menus. The
// class spans several files, one concern each (layout, menus, ...).
class ColorForm : public platform::Form {
    Q_OBJECT

public:
    explicit ColorForm(QWidget* parent = nullptr);

    // The View menu's commands, also run by start-up with the saved indices.
    void mnuViewRGB_Click(std::int16_t index);
    void mnuViewMode_Click(std::int16_t index);
    // The radix and the model in force, which live in the View menu's check
    // marks: the checked item's index, or -1 before the first command.
    // The colour a close would keep: the one from before a pick that the
    // close abandons, else the current one.
    colour::Rgb ColourToKeep() const;
    std::int16_t RadixInForce() const;
    std::int16_t ModelInForce() const;

    // Re-entrancy flags: true while one row pushes values into the other.
    // Both are false whenever the program waits for input.
    bool RGBChanging = false;
    bool ModeChanging = false;

    // The screen pick's overlay: made on the first pick, kept after it.
    PickerForm* picker = nullptr;

    // Controls, named as the window's event list names them.
    platform::Label* Label3 = nullptr; // preview
    platform::Frame* Frame1 = nullptr; // RGB
    platform::Frame* Frame2 = nullptr; // second model
    platform::Frame* Frame3 = nullptr; // swatches
    std::array<platform::Label*, 3> Label1{};
    std::array<platform::TextBox*, 3> Text1{};
    std::array<platform::ScrollBar*, 3> HScroll1{};
    std::array<platform::Label*, 3> Label2{};
    std::array<platform::TextBox*, 3> Text2{};
    std::array<platform::ScrollBar*, 3> HScroll2{};
    std::array<platform::Label*, 16> Label4{};
    std::array<platform::Line*, 2> Line1{};

    // Menus and their items.
    QMenu* mnuFile = nullptr;
    platform::MenuItem* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    std::array<platform::MenuItem*, 5> mnuEditCopy{};
    platform::MenuItem* mnuEditSeparate1 = nullptr;
    std::array<platform::MenuItem*, 2> mnuEditColor{};
    platform::MenuItem* mnuEditSeparate2 = nullptr;
    platform::MenuItem* mnuEditPicker = nullptr;
    QMenu* mnuEditSystem = nullptr;
    std::array<platform::MenuItem*, 31> mnuEditSysColor{};
    QMenu* mnuView = nullptr;
    std::array<platform::MenuItem*, 2> mnuViewRGB{};
    platform::MenuItem* mnuViewSeparate = nullptr;
    std::array<platform::MenuItem*, 3> mnuViewMode{};
    QMenu* mnuHelp = nullptr;
    platform::MenuItem* mnuHelpHelp = nullptr;
    platform::MenuItem* mnuHelpSeparate1 = nullptr;
    platform::MenuItem* mnuHelpWebpage = nullptr;
    platform::MenuItem* mnuHelpSeparate2 = nullptr;
    platform::MenuItem* mnuHelpAbout = nullptr;

private:
    void CreateControls();
    void CreateMenus();
    void Wire();

    // RGB row
    void HScroll1_Change(std::int16_t index);
    void Text1_Change(std::int16_t index);
    void Text1_KeyPress(std::int16_t index, std::int16_t& keyAscii);
    void Text1_GotFocus(std::int16_t index);
    void Text1_Step(std::int16_t index, int delta);
    void SyncRgbText(std::int16_t index);

    // Edit commands
    void mnuEditCopy_Click(std::int16_t index);
    void mnuEditColor_Click(std::int16_t index);
    void mnuEditSystem_Click();
    void mnuEditSysColor_Click(std::int16_t index);
    void mnuEditPicker_Click();
    void EndPickForUnload();
    bool CloseAbandonsPick() const;
    void PutBackColourBeforePick();
    void SayScreenUnreadable();
    void Text_Paste(const QString& text, bool& taken);

    // Every source of a colour sets red, green and blue in this order, each
    // through its own change reaction.
    void SetRgb(colour::Rgb c);

    // File and Help menus
    void mnuFileExit_Click();
    void mnuHelpHelp_Click();
    void mnuHelpWebpage_Click();
    void mnuHelpAbout_Click();

    // Context menus and swatches
    void Frame1_MouseUp(const platform::MouseArgs& args);
    void Label1_MouseUp(std::int16_t index, const platform::MouseArgs& args);
    void Frame2_MouseUp(const platform::MouseArgs& args);
    void Label2_MouseUp(std::int16_t index, const platform::MouseArgs& args);
    void Label3_MouseUp(const platform::MouseArgs& args);
    void Label4_MouseUp(std::int16_t index, const platform::MouseArgs& args);

    // Model row
    void HScroll2_Change(std::int16_t index);
    void Text2_Change(std::int16_t index);
    void Text2_KeyPress(std::int16_t index, std::int16_t& keyAscii);
    void Text2_GotFocus(std::int16_t index);
    void Text2_Step(std::int16_t index, int delta);

    // The radix and the model live in the View menu's check marks.
    bool RgbWrittenInDecimal() const;
    bool RgbReadAsHexadecimal() const;
    std::uint32_t CurrentColorValue() const;

    bool picking_ = false;
    colour::Rgb colourBeforePick_;
};
