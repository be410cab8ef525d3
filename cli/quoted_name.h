#pragma once

// A file name as messages show it, quoted as the GNU tools quote names: bare
// when it holds nothing a shell or a terminal would take otherwise, else in
// single quotes, with control characters and bytes that are not UTF-8 written
// as $'\n' or $'\033', so that no control character reaches the terminal.

#include <string>
#include <string_view>

namespace ravelon::cli {

std::string QuotedName(std::string_view bytes);

}  // namespace ravelon::cli
