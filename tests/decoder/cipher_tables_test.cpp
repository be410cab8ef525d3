#include "decoder/cipher_tables.h"

#include <gtest/gtest.h>

#include "tests/row_name.h"

#include <set>

#include "tests/decoder/reference_decoder.h"

namespace ravelon {
namespace {

const CipherTables kTables = BuildCipherTables();

TEST(CipherTables, SchemeTagsAndSpacingsAreParallelFromPositionOne)
{
    EXPECT_EQ(kTables.SchemeTagAt(1), u"qotmz");
    EXPECT_EQ(kTables.SchemeTagAt(2), u"pulxa");
    EXPECT_EQ(kTables.SchemeTagAt(3), u"ze4vb");
    EXPECT_EQ(kTables.FillerSpacingAt(1), 1);
    EXPECT_EQ(kTables.FillerSpacingAt(2), 2);
    EXPECT_EQ(kTables.FillerSpacingAt(3), 3);
}

TEST(CipherTables, AlphabetHoldsThePrintableAsciiButTheGraveAccentPlusThePoundSign)
{
    std::set<char16_t> symbols(kTables.Alphabet.begin(), kTables.Alphabet.end());
    EXPECT_EQ(symbols.size(), 95u) << "no symbol occurs twice";
    std::set<char16_t> expected{u'\u00A3'};
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        if (c != u'`') expected.insert(c);
    EXPECT_EQ(symbols, expected);
    EXPECT_EQ(std::u16string_view(kTables.Alphabet.data(), kTables.Alphabet.size()), testing::kReferenceAlphabet);
}

TEST(CipherTables, BuiltinTablesAreTheBuiltOnes)
{
    EXPECT_EQ(BuiltinCipherTables().Alphabet, kTables.Alphabet);
    EXPECT_EQ(BuiltinCipherTables().SchemeTags, kTables.SchemeTags);
    EXPECT_EQ(BuiltinCipherTables().FillerSpacing, kTables.FillerSpacing);
}

struct IndexRow {
    const char* name;
    friend void PrintTo(const IndexRow& row, std::ostream* os) { *os << row.name; }
    std::u16string_view symbol;
    std::optional<Position> position;
};

class SymbolIndexTest : public ::testing::TestWithParam<IndexRow> {};

TEST_P(SymbolIndexTest, FindsTheOneBasedPosition)
{
    EXPECT_EQ(SymbolIndex(GetParam().symbol, kTables), GetParam().position);
}

constexpr char16_t kHighSurrogate[] = {0xD83D};
constexpr char16_t kLowSurrogate[] = {0xDE00};

INSTANTIATE_TEST_SUITE_P(
    Rows, SymbolIndexTest,
    ::testing::Values(IndexRow{"a", u"a", 1}, IndexRow{"z", u"z", 26}, IndexRow{"A", u"A", 27},
                      IndexRow{"Z", u"Z", 52}, IndexRow{"one", u"1", 53}, IndexRow{"nine", u"9", 61},
                      IndexRow{"zero", u"0", 62}, IndexRow{"exclamation", u"!", 63},
                      IndexRow{"quotation", u"\"", 64}, IndexRow{"pound", u"\u00A3", 65},
                      IndexRow{"number_sign", u"#", 83}, IndexRow{"vertical_line", u"|", 94},
                      IndexRow{"space", u" ", 95}, IndexRow{"grave_accent", u"`", std::nullopt},
                      IndexRow{"carriage_return", u"\r", std::nullopt}, IndexRow{"line_feed", u"\n", std::nullopt},
                      IndexRow{"tab", u"\t", std::nullopt}, IndexRow{"e_acute", u"\u00E9", std::nullopt},
                      IndexRow{"pound_as_latin1_byte_pair", u"\u00C2\u00A3", std::nullopt},
                      IndexRow{"empty", u"", std::nullopt}, IndexRow{"two_units", u"ab", std::nullopt},
                      IndexRow{"high_surrogate", std::u16string_view(kHighSurrogate, 1), std::nullopt},
                      IndexRow{"low_surrogate", std::u16string_view(kLowSurrogate, 1), std::nullopt}),
    RowName{});

}  // namespace
}  // namespace ravelon
