#pragma once

// A window's design as plain data: what the backend builds it from.

#include <cstdint>
#include <span>
#include <string_view>

namespace ravelon::forms {

// 0x00BBGGRR, or, with the top bit set, an index into the system colours.
using Colour = std::uint32_t;
inline constexpr Colour kSystemColourBit = 0x80000000u;
inline constexpr bool IsSystemColour(Colour c) { return (c & kSystemColourBit) != 0; }
inline constexpr std::uint32_t SystemColourIndex(Colour c) { return c & ~kSystemColourBit; }

inline constexpr int kTwipsPerInch = 1440;

enum class ControlKind { Label, TextBox, CommandButton };
enum class Alignment { Left, Centre };

struct FontDesign {
    std::u16string_view face;
    int tenThousandthsOfPoint = 0;  // 9.75 pt is 97500
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 0;
};

struct ControlDesign {
    std::string_view name;
    ControlKind kind;
    int left, top, width, height;  // twips from the client area's top left
    std::u16string_view text;
    FontDesign font;
    int tabIndex;
    Alignment alignment = Alignment::Left;
    Colour backColor = 0;  // labels only; text boxes and buttons take the system's
    bool multiLine = false;
    std::string_view namedBy = {};  // text boxes: the label that names the box for screen readers
};

struct FormDesign {
    std::u16string_view caption;
    Colour backColor;
    int clientWidth, clientHeight;  // twips
    int clientLeft, clientTop;      // where the design had it; placement is the platform's
    int startUpPosition;            // 3: where the platform puts a new window
    std::string_view icon;          // resource name of the 32 x 32, 16-colour icon
    std::span<const ControlDesign> controls;
};

// Twips to pixels at `dpi`, to the nearest pixel.
inline constexpr int TwipsToPixels(int twips, int dpi)
{
    return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

}  // namespace ravelon::forms
