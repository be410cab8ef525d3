#pragma once

#include "platform/design.h"

namespace ravelon {

// Form1 as it is designed: the window and its nine controls in creation order.
extern const forms::FormDesign kForm1Design;

}  // namespace ravelon
