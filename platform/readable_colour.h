#pragma once

// Label text that stays readable whatever colours the desktop's theme brings:
// contrast as the web's accessibility guidelines measure it.

#include <cmath>

#include "platform/design.h"

namespace ravelon::forms {

// Both colours 0x00BBGGRR. From 1 (no contrast) to 21 (black on white).
inline double ContrastRatio(Colour a, Colour b)
{
    const auto luminance = [](Colour c) {
        const auto linear = [](Colour channel) {
            const double v = static_cast<double>(channel & 0xFF) / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c) + 0.7152 * linear(c >> 8) + 0.0722 * linear(c >> 16);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

inline constexpr double kReadableContrast = 4.5;

// The theme's own text colour where it is readable on `background`; black or
// white, whichever reads better, where it is not.
inline Colour ReadableTextColour(Colour themeText, Colour background)
{
    if (ContrastRatio(themeText, background) >= kReadableContrast) return themeText;
    return ContrastRatio(0x000000, background) >= ContrastRatio(0xFFFFFF, background) ? 0x000000u : 0xFFFFFFu;
}

// The colours the system gives labels, and whether the user chose high contrast.
struct SystemLabelColours {
    Colour dialogFace;
    Colour buttonText;
    bool highContrast;
};

struct LabelColours {
    Colour surface;
    Colour text;
};

// The window's surface and its labels' text: the design's surface with the
// system's text kept readable on it; in high contrast, the user's own pair.
inline LabelColours ChooseLabelColours(Colour designedSurface, const SystemLabelColours& system)
{
    if (system.highContrast) return {system.dialogFace, system.buttonText};
    return {designedSurface, ReadableTextColour(system.buttonText, designedSurface)};
}

}  // namespace ravelon::forms
