#include "decoder/code_decoding.h"

#include <gtest/gtest.h>

#include "tests/row_name.h"

#include <set>

#include "tests/decoder/reference_decoder.h"

namespace ravelon {
namespace {

using testing::RecordingSink;
using testing::Warning;

const CipherTables kTables = BuildCipherTables();

struct StripRow {
    const char* name;
    friend void PrintTo(const StripRow& row, std::ostream* os) { *os << row.name; }
    std::u16string_view code;
    std::u16string_view kept;
    bool invalid = false;
};

class StripCodeTest : public ::testing::TestWithParam<StripRow> {};

TEST_P(StripCodeTest, KeepsTheSymbolsBetweenFillers)
{
    RecordingSink sink;
    EXPECT_EQ(StripCode(GetParam().code, sink, kTables), GetParam().kept);
    const std::vector<Warning> expected =
        GetParam().invalid ? std::vector<Warning>{{u"Invalid Code!", WarningIcon::Exclamation}} : std::vector<Warning>{};
    EXPECT_EQ(sink.warnings, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StripCodeTest,
    ::testing::Values(
        StripRow{"scheme1_every_second_is_filler", u"qotmzbXcYd", u"bcd"},
        StripRow{"scheme2_every_third_is_filler", u"pulxaabXcdYef", u"abcdef"},
        StripRow{"scheme3_every_fourth_is_filler", u"ze4vbabcXdefY", u"abcdef"},
        StripRow{"scheme2_ending_on_a_filler", u"pulxaabX", u"ab"},
        StripRow{"scheme2_short_last_group", u"pulxaab", u"ab"},
        StripRow{"scheme3_short_last_group", u"ze4vbabcXde", u"abcde"},
        StripRow{"scheme1_single_kept_symbol", u"qotmza", u"a"},
        StripRow{"tag_alone_scheme1", u"qotmz", u""}, StripRow{"tag_alone_scheme2", u"pulxa", u""},
        StripRow{"tag_alone_scheme3", u"ze4vb", u""},
        StripRow{"alphabet_symbols_as_fillers_are_dropped", u"pulxaab#cd!", u"abcd"},
        StripRow{"line_breaks_in_kept_places_are_kept", u"qotmza-\r-\n", u"a\r\n"},
        StripRow{"empty_code", u"", u"", true}, StripRow{"shorter_than_a_tag", u"qotm", u"", true},
        StripRow{"upper_case_tag", u"QotmzbXc", u"", true}, StripRow{"space_before_tag", u" qotmzbXc", u"", true},
        StripRow{"tags_are_not_mixed", u"qotmapulxa", u"", true},
        StripRow{"spaces_only", u"       ", u"", true}),
    RowName{});

struct ShiftRow {
    const char* name;
    friend void PrintTo(const ShiftRow& row, std::ostream* os) { *os << row.name; }
    std::u16string_view text;
    Shift shift;
    std::u16string_view plain;
};

class ShiftDecodeTest : public ::testing::TestWithParam<ShiftRow> {};

TEST_P(ShiftDecodeTest, ShiftsBackThroughTheAlphabet)
{
    EXPECT_EQ(ShiftDecode(GetParam().text, GetParam().shift, kTables), GetParam().plain);
}

constexpr char16_t kOutsideUnits[] = {u'`', u'\n', u'\r', 0x0000, 0xD800, 0xDFFF, 0xFFFF, 0x0100, 0x00FF};

INSTANTIATE_TEST_SUITE_P(
    Rows, ShiftDecodeTest,
    ::testing::Values(ShiftRow{"plain_shift", u"bcd", 1, u"abc"}, ShiftRow{"a_by_1_wraps_to_space", u"a", 1, u" "},
                      ShiftRow{"a_by_3_is_backslash", u"a", 3, u"\\"}, ShiftRow{"b_by_3_is_bar", u"b", 3, u"|"},
                      ShiftRow{"position_equal_to_shift_is_space", u"c", 3, u" "},
                      ShiftRow{"d_by_3_is_a", u"d", 3, u"a"}, ShiftRow{"space_by_1", u" ", 1, u"|"},
                      ShiftRow{"space_by_94_is_a", u" ", 94, u"a"},
                      ShiftRow{"shift_95_is_identity", testing::kReferenceAlphabet, 95, testing::kReferenceAlphabet},
                      ShiftRow{"above_95_wraps_once", u"z", 100, u"u"},
                      ShiftRow{"p_plus_94_is_the_first_symbol", u"f", 100, u"a"},
                      ShiftRow{"empty_text", u"", 1, u""}, ShiftRow{"empty_text_at_any_shift", u"", 32767, u""},
                      ShiftRow{"outside_units_decode_as_position_0",
                               std::u16string_view(kOutsideUnits, std::size(kOutsideUnits)), 5,
                               u">>>>>>>>>"},
                      ShiftRow{"outside_unit_at_shift_94_is_the_first_symbol", u"\n", 94, u"a"},
                      ShiftRow{"pound_is_one_unit", u"\u00A3", 1, u"\""}),
    RowName{});

struct FailRow {
    const char* name;
    friend void PrintTo(const FailRow& row, std::ostream* os) { *os << row.name; }
    std::u16string_view text;
    Shift shift;
};

class ShiftDecodeFailureTest : public ::testing::TestWithParam<FailRow> {};

TEST_P(ShiftDecodeFailureTest, FailsOutOfRangeWithAMessageForTheUser)
{
    try {
        (void)ShiftDecode(GetParam().text, GetParam().shift, kTables);
        FAIL() << "no failure";
    } catch (const OutOfRangeError& e) {
        EXPECT_STREQ(e.what(), "This code cannot be decrypted with an email address of this length.");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ShiftDecodeFailureTest,
                         ::testing::Values(FailRow{"outside_unit_at_shift_95", u"`", 95},
                                           FailRow{"line_feed_at_shift_95", u"ab\n", 95},
                                           FailRow{"p_plus_95", u"e", 100}, FailRow{"first_symbol_at_96", u"a", 96},
                                           FailRow{"last_symbol_of_a_long_text", u"zzzzzzzzzzzzzzzzzzzzza", 96},
                                           FailRow{"space_at_190", u" ", 190},
                                           FailRow{"anything_at_the_longest_shift", u"z", 32767}),
                         RowName{});

TEST(ShiftDecode, EveryShiftUpTo95IsAPermutationOfTheAlphabet)
{
    for (Shift s = 1; s <= 95; ++s) {
        const std::u16string plain = ShiftDecode(testing::kReferenceAlphabet, s, kTables);
        EXPECT_EQ(std::set<char16_t>(plain.begin(), plain.end()).size(), 95u) << "shift " << s;
        EXPECT_EQ(plain.front(), testing::kReferenceAlphabet[static_cast<std::size_t>((95 - s) % 95)]) << "shift " << s;
    }
}

TEST(ShiftDecode, TheLastSurvivingSymbolOfEachShiftAbove95)
{
    // At shift 95 + d the symbols at positions 1..d fail and d + 1 becomes "a".
    for (Shift d = 1; d < 95; ++d) {
        const auto first = testing::kReferenceAlphabet.substr(static_cast<std::size_t>(d), 1);
        EXPECT_EQ(ShiftDecode(first, static_cast<Shift>(95 + d), kTables), u"a") << "shift " << 95 + d;
        EXPECT_THROW((void)ShiftDecode(testing::kReferenceAlphabet.substr(static_cast<std::size_t>(d - 1), 1),
                                       static_cast<Shift>(95 + d), kTables),
                     OutOfRangeError)
            << "shift " << 95 + d;
    }
}

}  // namespace
}  // namespace ravelon
