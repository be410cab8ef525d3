#pragma once

// ravelon-decode: decodes codes in files or on standard input, for scripts.

#include <cstdio>
#include <vector>

#include "cli/arguments.h"

namespace ravelon::cli {

// Exit statuses, as --help lists them.
enum Status : int {
    kDecoded = 0,
    kCannotReadOrWrite = 1,
    kUsage = 2,
    kNotText = 3,
    kNoAddress = 4,
    kNoCode = 5,
    kInvalidCode = 6,
    kAddressTooLong = 7,
    kOutOfRange = 8,
};

int RunDecodeCommand(const std::vector<Argument>& arguments, std::FILE* in, std::FILE* out, std::FILE* err);

}  // namespace ravelon::cli
