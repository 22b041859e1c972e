#pragma once

// The primary screen's size in twips; 0 without a screen.
namespace platform {

int ScreenWidth();
int ScreenHeight();

} // namespace platform
