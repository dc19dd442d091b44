// A top-level window's place as the setup file keeps it: the outer rectangle,
// frame included, as left, top, right and bottom.
#pragma once

#include "setup/logger_options.h"

#include <QRect>

#include <optional>

class QWidget;

namespace korvel {

// The place to keep after the window moved or was resized. Nothing while it
// is minimised, or when a maximised window is resized; a maximised window's
// move keeps its size in the right and bottom, as setup files always had it.
std::optional<WindowRect> placeToKeep(const QWidget &window, bool moved);

// Moves the window's frame to a kept place, unless the window is minimised or
// maximised or the place is empty (a setup that never had the window).
void moveToKeptPlace(QWidget &window, const WindowRect &place);

// Puts the window's frame at the outer rectangle; the client area is smaller
// by the frame (none is known before the window manager has framed it).
void placeFrame(QWidget &window, const QRect &outer);

} // namespace korvel
