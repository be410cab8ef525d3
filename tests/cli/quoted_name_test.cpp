// File names in messages, quoted as GNU ls --quoting-style=shell-escape shows them.

#include <gtest/gtest.h>

#include "cli/quoted_name.h"
#include "tests/row_name.h"

namespace ravelon::cli {
namespace {

struct Quoting {
    const char* name;
    std::string bytes;
    std::string shown;
};

class QuotedNames : public ::testing::TestWithParam<Quoting> {};

TEST_P(QuotedNames, ShowNoControlCharacterAndReadBackInAShell)
{
    EXPECT_EQ(QuotedName(GetParam().bytes), GetParam().shown);
}

// The expected forms are as `ls --quoting-style=shell-escape` prints the same names in a
// UTF-8 locale, but for bidirectional controls, which ls shows as they are: here they are
// written out, so that a name cannot turn the rest of the line around.
INSTANTIATE_TEST_SUITE_P(
    Rows, QuotedNames,
    ::testing::Values(Quoting{"plain", "codes/code-1.txt", "codes/code-1.txt"},
                      Quoting{"accented_utf8", "caf\xC3\xA9.txt", "caf\xC3\xA9.txt"},
                      Quoting{"space", "my code.txt", "'my code.txt'"}, Quoting{"single_quote", "it's", "\"it's\""},
                      Quoting{"single_quote_and_a_dollar", "it's $5", "'it'\\''s $5'"},
                      Quoting{"shell_characters", "a*b$c", "'a*b$c'"},
                      Quoting{"escape_sequence", "a\x1b[31mred", "'a'$'\\033''[31mred'"},
                      Quoting{"starts_with_a_control", "\rx", "''$'\\r''x'"},
                      Quoting{"line_break_at_the_end", "x\n", "'x'$'\\n'"},
                      Quoting{"latin1_byte", "caf\xE9.txt", "'caf'$'\\351''.txt'"},
                      Quoting{"c1_control_in_utf8",
                              "a\xC2\x9B"
                              "b",
                              "'a'$'\\302\\233''b'"},
                      Quoting{"bidi_override", "x\xE2\x80\xAEtxt.exe", "'x'$'\\342\\200\\256''txt.exe'"},
                      Quoting{"empty", "", "''"}),
    RowName());

}  // namespace
}  // namespace ravelon::cli
