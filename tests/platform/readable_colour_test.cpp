// Label colours held to published contrast figures, not to their own formula.

#include "platform/readable_colour.h"

#include <gtest/gtest.h>

#include "tests/row_name.h"

namespace ravelon::forms {
namespace {

// Colours are 0x00BBGGRR, as on Windows: red is 0x0000FF.
constexpr Colour kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0x0000FF, kBlue = 0xFF0000;
constexpr Colour kLightBlue = 0xFFC0C0;  // RGB C0 C0 FF

struct Pair {
    const char* name;
    Colour a, b;
    double ratio;  // as published, or worked out by hand from the guidelines' definition
};

class Contrast : public ::testing::TestWithParam<Pair> {};

TEST_P(Contrast, IsThePublishedRatio)
{
    EXPECT_NEAR(ContrastRatio(GetParam().a, GetParam().b), GetParam().ratio, 0.01);
    EXPECT_NEAR(ContrastRatio(GetParam().b, GetParam().a), GetParam().ratio, 0.01) << "either way round";
}

INSTANTIATE_TEST_SUITE_P(Rows, Contrast,
                         ::testing::Values(Pair{"black_on_white", kBlack, kWhite, 21.0},
                                           Pair{"grey_777777_on_white", 0x777777, kWhite,
                                                4.48},  // the guidelines' own example of too little
                                           Pair{"grey_767676_on_white", 0x767676, kWhite,
                                                4.54},  // the lightest grey that passes on white
                                           Pair{"red_on_white", kRed, kWhite, 4.00},    // (1 + 0.05) / (0.2126 + 0.05)
                                           Pair{"blue_on_white", kBlue, kWhite, 8.59},  // (1 + 0.05) / (0.0722 + 0.05)
                                           Pair{"red_on_black", kRed, kBlack, 5.25},    // (0.2126 + 0.05) / 0.05
                                           Pair{"green_008000_on_white", 0x008000, kWhite, 5.14},
                                           Pair{"same_colour", 0x336699, 0x336699, 1.0}),
                         RowName());

TEST(ReadableTextColour, KeepsTextFromTheGuidelinesThresholdUpAndReplacesItBelow)
{
    EXPECT_EQ(ReadableTextColour(0x767676, kWhite), 0x767676u) << "4.54:1 is readable";
    EXPECT_EQ(ReadableTextColour(0x777777, kWhite), kBlack) << "4.48:1 is not";
    EXPECT_EQ(ReadableTextColour(kRed, kWhite), kBlack) << "pure red on white is 4:1";
    EXPECT_EQ(ReadableTextColour(kBlue, kWhite), kBlue) << "pure blue on white is 8.6:1";
    EXPECT_EQ(ReadableTextColour(kWhite, kLightBlue), kBlack) << "white on light blue is 1.6:1";
    EXPECT_EQ(ReadableTextColour(0x404040, kBlack), kWhite);
}

TEST(LabelColours, HighContrastTakesTheUsersPairWholeOtherwiseTheTextIsKeptReadable)
{
    const SystemLabelColours blackScheme{kBlack, kWhite, true};
    const SystemLabelColours whiteScheme{kWhite, kBlack, true};
    for (const SystemLabelColours& scheme : {blackScheme, whiteScheme}) {
        const LabelColours chosen = ChooseLabelColours(kLightBlue, scheme);
        EXPECT_EQ(chosen.surface, scheme.dialogFace);
        EXPECT_EQ(chosen.text, scheme.buttonText);
        EXPECT_GE(ContrastRatio(chosen.text, chosen.surface), 21.0 - 1e-9) << "the scheme's own pair reads";
    }
    // A dark theme without high contrast: white button text would vanish on the light blue.
    const LabelColours dark = ChooseLabelColours(kLightBlue, {0x303030, kWhite, false});
    EXPECT_EQ(dark.surface, kLightBlue);
    EXPECT_EQ(dark.text, kBlack);
    const LabelColours light = ChooseLabelColours(kLightBlue, {0xF0F0F0, kBlack, false});
    EXPECT_EQ(light.text, kBlack);
}

}  // namespace
}  // namespace ravelon::forms
