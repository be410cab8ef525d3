#include "cli/arguments.h"

#include <optional>

#include "cli/quoted_name.h"
#include "cli/text_encoding.h"

namespace ravelon::cli {

#ifdef _WIN32
std::string Argument::Shown() const
{
    std::string bytes;
    AppendEncoded(text, Encoding::Utf8, false, bytes);
    return QuotedName(bytes);
}

std::vector<Argument> ArgumentsOf(int argc, wchar_t** argv)
{
    std::vector<Argument> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::wstring wide(argv[i]);
        arguments.push_back({std::u16string(wide.begin(), wide.end()), std::filesystem::path(wide)});
    }
    return arguments;
}
#else
std::string Argument::Shown() const
{
    return QuotedName(path.native());
}

std::vector<Argument> ArgumentsOf(int argc, char** argv)
{
    std::vector<Argument> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::optional<std::u16string> text = FromUtf8(argv[i]);
        arguments.push_back(
            {text ? *text : FromUtf8Replacing(argv[i]), std::filesystem::path(argv[i]), text.has_value()});
    }
    return arguments;
}
#endif

}  // namespace ravelon::cli
