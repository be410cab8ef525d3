#pragma once

// What the Qt backend's tests may change: never used by the program itself.

#include <cstddef>

namespace ravelon::forms::qt {

// Lowers (or raises) the size from which a box shows its text through LightText.
void SetLightTextFrom(std::size_t units);

}  // namespace ravelon::forms::qt
