#pragma once

class ColorForm;

// The life of the main window: before it exists, once it exists but is not
// shown yet, and when it closes.
namespace shell {

// The single-instance rule. False when another copy runs: that copy has
// been brought to the front, and this one must end without a window.
bool Form_Initialize();

// Settings path, placement, model, radix and colour from the settings file,
// then help file, interface font and the system colour entries.
void Form_Load(ColorForm& form);

// Saves placement, colour, radix and model.
void Form_Unload(ColorForm& form);

// The desktop's door to the running window, once it is shown: its launcher's
// and shortcuts' activation, and the "pick" action, which runs the Edit
// menu's pick. Nothing where the session has no bus.
void OpenLauncherDoor(ColorForm& form);

// The same save as a close, where the display is gone and the window can
// no longer close.
void SaveWithoutDisplay(const ColorForm& form);

} // namespace shell
