#pragma once

#include "colour/conversions.h"
#include "main_window/color_form.h"
#include "platform/controls/label.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"
#include "support/colour_printers.h"
#include "support/scroll_bar_thumb.h"

#include <QtTest>

#include <functional>
#include <memory>

// Drives a ColorForm as a user does: clicks, key presses and drags into the
// real widgets. Only the set-up before the window shows calls code directly.
namespace form_driver {

using Rgb = colour::Rgb;

// A shown, active window in the given model and radix with the given colour.
std::unique_ptr<ColorForm> Open(std::int16_t model, std::int16_t radix, Rgb colour);

Rgb Colour(const ColorForm& form);
colour::Triple ModelRow(const ColorForm& form);
QStringList RgbTexts(const ColorForm& form);
QStringList ModelTexts(const ColorForm& form);

// Clicks into the box and selects its whole text with End, Shift+Home.
void SelectAllByKeys(platform::TextBox* box);
// Selects the whole text, then types `keys` one key at a time.
void Type(platform::TextBox* box, const QString& keys);
// Selects the whole text and pastes `text` with Ctrl+V.
void Paste(platform::TextBox* box, const QString& text);
// Drags the thumb far past the end of the bar (or the start, for `toStart`).
void DragThumbToEnd(platform::ScrollBar* bar, bool toStart = false);
// Opens `menu` from the menu bar with a click and clicks `item` in it; with
// `submenu`, `item` is in that submenu of `menu`.
void Choose(ColorForm& form, QMenu* menu, QAction* item, QMenu* submenu = nullptr);

// Clicks `control` at `pos` (pixels) with `button`. Should that open a
// pop-up menu, `inside` runs while it is open and must close it. True when
// a menu opened.
bool ClickAndHandlePopup(QWidget* control, Qt::MouseButton button, QPoint pos,
    const std::function<void(QMenu*)>& inside);

// The captions of a menu's visible items, "-" for separators.
QStringList VisibleItems(const QMenu* menu);

} // namespace form_driver
