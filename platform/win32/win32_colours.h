#pragma once

// The window's and its labels' colours from the design and the system's
// settings: in high contrast, the user's colours replace the design's own.

#include <windows.h>

#include "platform/design.h"

namespace ravelon::forms::win32 {

// The window and its labels: the design's colour, or the user's dialog colour in high contrast.
COLORREF SurfaceColour(Colour designed);
// Label text: the system's button text, kept readable on the design's colour.
COLORREF LabelTextColour(Colour designed);

}  // namespace ravelon::forms::win32
