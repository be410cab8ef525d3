#pragma once

// The command line as the system gives it: each argument as text (for
// options and the address) and as a file name in the system's own form.

#include <filesystem>
#include <string>
#include <vector>

namespace ravelon::cli {

struct Argument {
    std::u16string text;  // bytes that are not UTF-8 shown as U+FFFD
    std::filesystem::path path;
    bool isText = true;  // false: usable only as a file name

    // How messages name the file: quoted, from the system's own bytes.
    std::string Shown() const;
};

#ifdef _WIN32
std::vector<Argument> ArgumentsOf(int argc, wchar_t** argv);
#else
std::vector<Argument> ArgumentsOf(int argc, char** argv);
#endif

}  // namespace ravelon::cli
