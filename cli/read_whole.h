#pragma once

// An input read whole into memory: a regular file at the size it has, so
// that a code is held once; a pipe or terminal as it comes.

#include <cstdio>
#include <string>

namespace ravelon::cli {

// False on a read error (errno says which).
bool ReadWhole(std::FILE* f, std::string& bytes);

}  // namespace ravelon::cli
