#pragma once

// The help file's topics, by the context number a window or menu carries
// and the help key opens.
namespace resources {

inline constexpr int kMainWindowTopic = 3;
inline constexpr int kPickTopic = 4; // the main window and the overlay during a pick
inline constexpr int kSystemColourMenuTopic = 5;

} // namespace resources
