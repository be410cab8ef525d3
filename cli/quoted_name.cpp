#include "cli/quoted_name.h"

#include <algorithm>
#include <cstdio>

#include "cli/text_encoding.h"

namespace ravelon::cli {

namespace {

// On Windows a backslash separates folders and needs no quotes there.
#ifdef _WIN32
constexpr std::string_view kBarePunctuation = "%+,-./:=@_^\\";
#else
constexpr std::string_view kBarePunctuation = "%+,-./:=@_^";
#endif

bool IsBare(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           kBarePunctuation.find(static_cast<char>(c)) != std::string_view::npos;
}

// How many bytes of printable UTF-8 start at `i` (0 when none do).
std::size_t PrintableAt(std::string_view bytes, std::size_t i)
{
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F) return 1;
    if (c < 0xC2) return 0;
    const std::size_t length = c <= 0xDF ? 2 : c <= 0xEF ? 3 : 4;
    if (i + length > bytes.size()) return 0;
    const std::optional<std::u16string> units = FromUtf8(bytes.substr(i, length));
    if (!units || units->empty()) return 0;
    const char16_t first = (*units)[0];
    const bool control = (first >= 0x80 && first < 0xA0) || first == 0x2028 || first == 0x2029 ||
                         (first >= 0x202A && first <= 0x202E) || (first >= 0x2066 && first <= 0x2069);
    return control ? 0 : length;
}

std::string Escaped(unsigned char c)
{
    switch (c) {
        case '\a':
            return "\\a";
        case '\b':
            return "\\b";
        case '\t':
            return "\\t";
        case '\n':
            return "\\n";
        case '\v':
            return "\\v";
        case '\f':
            return "\\f";
        case '\r':
            return "\\r";
        default: {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", c);
            return octal;
        }
    }
}

}  // namespace

std::string QuotedName(std::string_view bytes)
{
    if (!bytes.empty() && std::all_of(bytes.begin(), bytes.end(), [](char c) {
            return IsBare(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80;
        })) {
        bool printable = true;
        for (std::size_t i = 0, n = 0; i < bytes.size() && printable; i += n)
            printable = (n = PrintableAt(bytes, i)) > 0;
        if (printable) return std::string(bytes);
    }
    // A single quote and nothing else special: in double quotes, as "it's".
    bool printable = true;
    for (std::size_t i = 0, n = 0; i < bytes.size() && printable; i += n) printable = (n = PrintableAt(bytes, i)) > 0;
    if (printable && bytes.find('\'') != std::string_view::npos &&
        bytes.find_first_of("\"$`\\!") == std::string_view::npos)
        return '"' + std::string(bytes) + '"';
    std::string quoted = "'";
    bool inQuotes = true;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = PrintableAt(bytes, i);
        if (n == 0) {  // $'...' for what must not be shown as it is
            quoted += inQuotes ? "'$'" : "$'";
            for (; i < bytes.size() && PrintableAt(bytes, i) == 0; ++i)
                quoted += Escaped(static_cast<unsigned char>(bytes[i]));
            quoted += "'";
            inQuotes = false;
            continue;
        }
        if (!inQuotes) quoted += "'";
        inQuotes = true;
        if (bytes[i] == '\'')
            quoted += "'\\''";
        else
            quoted.append(bytes.substr(i, n));
        i += n;
    }
    if (inQuotes) quoted += "'";
    return quoted;
}

}  // namespace ravelon::cli
