#pragma once

// A recording stand-in for the forms layer: controls that remember their
// properties, a clipboard, message boxes answered at once, and a log of every
// property set and request in the order the program made them.

#include <string>
#include <vector>

#include "platform/forms.h"
#include "tests/window/scenario_driver.h"

namespace ravelon::testing::fake {

std::vector<std::string>& Log();

struct Clipboard {
    std::optional<std::u16string> text;
};
Clipboard& TheClipboard();
std::vector<MessageBoxSeen>& MessageBoxes();
bool& Ended();
std::string& FocusedName();

}  // namespace ravelon::testing::fake
