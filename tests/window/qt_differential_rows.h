#pragma once

// The rows the big-text view is held to the toolkit's box by: which box, the
// text it starts with, the seed and length of the run, and the actions drawn.

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "tests/window/qt_box_actions.h"

namespace ravelon::testing {

struct DifferentialRow {
    const char* name;
    const char* box;
    std::u16string text;
    unsigned seed;
    int actions;
    std::vector<Action> kinds;
    std::size_t lightFrom = 1;  // the big-text view's threshold in the run held to the toolkit's box
    friend void PrintTo(const DifferentialRow& row, std::ostream* os) { *os << row.name; }
};

std::vector<DifferentialRow> CodeBoxRows();
std::vector<DifferentialRow> AddressBoxRows();
// Both boxes' rows, the code box's first.
const std::vector<DifferentialRow>& DifferentialRows();

}  // namespace ravelon::testing
