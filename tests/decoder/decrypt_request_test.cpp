#include "decoder/decrypt_request.h"

#include <gtest/gtest.h>

#include "tests/row_name.h"

#include "tests/decoder/reference_decoder.h"

namespace ravelon {
namespace {

using testing::DecoderRequest;
using testing::Encode;
using testing::Failure;
using testing::Outcome;
using testing::Warning;

const Warning kNoAddress{u"Please enter an email address", WarningIcon::Information};
const Warning kNoCode{u"Please enter an encrypted code", WarningIcon::Information};
const Warning kInvalid{u"Invalid Code!", WarningIcon::Exclamation};

struct RequestRow {
    const char* name;
    friend void PrintTo(const RequestRow& row, std::ostream* os) { *os << row.name; }
    std::u16string address;
    std::u16string code;
    Outcome outcome;
};

class DecryptRequestTest : public ::testing::TestWithParam<RequestRow> {};

TEST_P(DecryptRequestTest, WarnsAndYields)
{
    EXPECT_EQ(DecoderRequest(GetParam().address, GetParam().code), GetParam().outcome);
}

Outcome Yields(std::u16string text)
{
    return {{}, std::move(text), Failure::None};
}
Outcome Warns(Warning w)
{
    return {{std::move(w)}, std::nullopt, Failure::None};
}

INSTANTIATE_TEST_SUITE_P(
    Messages, DecryptRequestTest,
    ::testing::Values(RequestRow{"both_empty_warns_about_the_address_only", u"", u"", Warns(kNoAddress)},
                      RequestRow{"empty_address_keeps_the_code_box", u"", u"qotmzbXc", Warns(kNoAddress)},
                      RequestRow{"empty_address_before_an_invalid_code", u"", u"nonsense", Warns(kNoAddress)},
                      RequestRow{"empty_code", u"a", u"", Warns(kNoCode)},
                      RequestRow{"invalid_tag_empties_the_code_box", u"a", u"hello", {{kInvalid}, u"", Failure::None}},
                      RequestRow{"spaces_are_a_code", u"a", u"      ", {{kInvalid}, u"", Failure::None}},
                      RequestRow{"spaces_are_an_address_of_length_3", u"   ", u"qotmzd-e-f", Yields(u"abc")},
                      RequestRow{"tag_alone_gives_empty_text", u"a", u"ze4vb", Yields(u"")},
                      RequestRow{"only_the_length_of_the_address_counts", u"\u00E9\U0001F600", u"qotmzd-e-f",
                                 Yields(u"abc")}),
    RowName{});

Outcome Decoded(std::u16string_view plain)
{
    return Yields(std::u16string(plain));
}

// Codes of the first scheme at shift 1, built from their plain text.
RequestRow Marker(const char* name, std::u16string_view plain, std::u16string_view restored)
{
    return {name, u"a", Encode(plain, 1, 1), Decoded(restored)};
}

INSTANTIATE_TEST_SUITE_P(
    Markers, DecryptRequestTest,
    ::testing::Values(Marker("between_letters", u"a###NEWLINE###b", u"a\r\nb"),
                      Marker("back_to_back", u"###NEWLINE######NEWLINE###", u"\r\n\r\n"),
                      Marker("overlapping_only_the_first_counts", u"###NEWLINE###NEWLINE###", u"\r\nNEWLINE###"),
                      Marker("extra_number_sign_in_front", u"####NEWLINE###", u"#\r\n"),
                      Marker("extra_number_sign_behind", u"###NEWLINE####", u"\r\n#"),
                      Marker("at_the_start", u"###NEWLINE###end", u"\r\nend"),
                      Marker("at_the_end", u"start###NEWLINE###", u"start\r\n"),
                      Marker("lower_case_is_no_marker", u"###newline###", u"###newline###"),
                      Marker("two_number_signs_in_front_is_no_marker", u"##NEWLINE###", u"##NEWLINE###"),
                      Marker("two_number_signs_behind_is_no_marker", u"###NEWLINE##", u"###NEWLINE##"),
                      Marker("cut_short_at_the_end", u"ab###NEWLIN", u"ab###NEWLIN"),
                      Marker("text_without_marker_unchanged", u"Hello, World! 1+1=2 \u00A3",
                             u"Hello, World! 1+1=2 \u00A3"),
                      Marker("marker_alone", u"###NEWLINE###", u"\r\n")),
    RowName{});

std::u16string Address(std::size_t length)
{
    return std::u16string(length, u'm');
}

INSTANTIATE_TEST_SUITE_P(
    Failures, DecryptRequestTest,
    ::testing::Values(
        RequestRow{"longest_address_is_shift_32767", Address(32767), u"qotmz", Yields(u"")},
        RequestRow{"address_of_32768_overflows", Address(32768), u"qotmz", {{}, std::nullopt, Failure::Overflow}},
        RequestRow{"invalid_code_is_shown_before_the_overflow",
                   Address(32768),
                   u"junk!",
                   {{kInvalid}, std::nullopt, Failure::Overflow}},
        RequestRow{"overflow_before_out_of_range", Address(40000), u"qotmza-", {{}, std::nullopt, Failure::Overflow}},
        RequestRow{"outside_unit_at_shift_94", Address(94), u"qotmz`-", Yields(u"a")},
        RequestRow{"outside_unit_at_shift_95", Address(95), u"qotmz`-", {{}, std::nullopt, Failure::OutOfRange}},
        RequestRow{"p_plus_94", Address(100), u"qotmzf-", Yields(u"a")},
        RequestRow{"p_plus_95", Address(100), u"qotmze-", {{}, std::nullopt, Failure::OutOfRange}},
        RequestRow{"a_filler_cannot_fail", Address(95), u"qotmza`", Yields(u"a")},
        RequestRow{"failure_after_good_text_yields_nothing",
                   Address(95),
                   u"pulxaab-cd-\r",
                   {{}, std::nullopt, Failure::OutOfRange}}),
    RowName{});

TEST(DecryptRequest, FailuresCarryAMessageForTheUser)
{
    testing::RecordingSink sink;
    try {
        (void)DecryptRequest(Address(32768), u"qotmz", sink);
        FAIL() << "no overflow";
    } catch (const DecodeError& e) {
        EXPECT_STREQ(e.what(),
                     "The email address is too long: an address of at most 32767 characters can decrypt a code.");
    }
}

TEST(DecryptRequest, RoundTripsEveryShiftAndScheme)
{
    const std::u16string plain = std::u16string(testing::kReferenceAlphabet) + u"###NEWLINE###" +
                                 std::u16string(testing::kReferenceAlphabet.substr(0, 7));
    std::u16string restored = plain;
    restored.replace(95, 13, u"\r\n");
    for (int scheme = 1; scheme <= 3; ++scheme) {
        for (int shift = 1; shift <= 95; ++shift) {
            const char16_t filler = static_cast<char16_t>(u'\n' + shift * 97 % 300);
            testing::RecordingSink sink;
            const std::optional<DecryptedText> text =
                DecryptRequest(Address(static_cast<std::size_t>(shift)), Encode(plain, shift, scheme, filler), sink);
            ASSERT_TRUE(text) << "scheme " << scheme << " shift " << shift;
            EXPECT_EQ(std::u16string(text->View()), restored) << "scheme " << scheme << " shift " << shift;
            EXPECT_TRUE(sink.warnings.empty());
        }
    }
}

// Fillers further apart than the byte-wide decoder takes are decoded a unit at
// a time, at full width.
TEST(DecryptRequest, DecodesTablesWithFarApartFillersAlike)
{
    CipherTables tables = BuildCipherTables();
    tables.FillerSpacing[0] = 100;
    std::u16string plain, restored;
    for (int line = 0; line < 9; ++line) {
        plain += std::u16string(testing::kReferenceAlphabet.substr(0, 40)) + u"###NEWLINE###";
        restored += std::u16string(testing::kReferenceAlphabet.substr(0, 40)) + u"\r\n";
    }
    plain += u"end";
    restored += u"end";
    testing::RecordingSink sink;
    const std::u16string shifted = testing::ReferenceStrip(Encode(plain, 17, 1), sink);
    std::u16string code(u"qotmz");
    for (std::size_t i = 0; i < shifted.size(); ++i) {
        code += shifted[i];
        if ((i + 1) % 100 == 0) code += u'~';
    }
    const std::optional<DecryptedText> text = DecryptRequest(Address(17), code, sink, tables);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::u16string(text->View()), restored);
    EXPECT_TRUE(sink.warnings.empty());
}

// Two tables alike but for two letters of the alphabet swapped: a symbol past
// them, shifted back onto one of them, is the one each table has there.
TEST(DecryptRequest, TablesWithTheirOwnAlphabetsDecodeEachByItsOwnOnOneThread)
{
    const CipherTables builtin = BuildCipherTables();
    CipherTables swapped = builtin;
    std::swap(swapped.Alphabet[7], swapped.Alphabet[8]);
    const std::u16string code = std::u16string(builtin.SchemeTags[0]) + builtin.Alphabet[10];  // position 11
    const std::u16string address = u"abc";                                                     // back 3: position 8
    for (int round = 0; round < 2; ++round) {
        for (const auto& [tables, expected] :
             {std::pair<const CipherTables*, char16_t>{&builtin, builtin.Alphabet[7]},
              std::pair<const CipherTables*, char16_t>{&swapped, builtin.Alphabet[8]}}) {
            testing::RecordingSink sink;
            const std::optional<DecryptedText> text = DecryptRequest(address, code, sink, *tables);
            ASSERT_TRUE(text);
            EXPECT_EQ(std::u16string(text->View()), std::u16string(1, expected)) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace ravelon
