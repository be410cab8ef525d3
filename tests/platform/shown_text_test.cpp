// A page's text area holds every line break as one LF: the exact text kept
// beside it takes each edit where the user made it, with line breaks as
// they were, and a typed line break as CR LF.

#include <gtest/gtest.h>

#include "platform/web/shown_text.h"
#include "tests/row_name.h"

namespace ravelon::testing {
namespace {

using forms::web::InputKind;
using forms::web::ShownText;

struct EditRow {
    const char* name;
    std::u16string exact;
    std::size_t selStart, selEnd;  // in the text area, before the edit
    InputKind kind;
    std::u16string after;  // what the text area then held
    std::u16string exactAfter;
    friend void PrintTo(const EditRow& row, std::ostream* os) { *os << row.name; }
};

class ShownTextEdits : public ::testing::TestWithParam<EditRow> {};

TEST_P(ShownTextEdits, KeepTheLineBreaksTheUserDidNotTouch)
{
    const EditRow& row = GetParam();
    ShownText text;
    text.Set(row.exact);
    text.Edited(row.after, row.selStart, row.selEnd, row.kind);
    EXPECT_TRUE(text.Exact() == row.exactAfter);
    EXPECT_TRUE(text.Shown() == row.after) << "the text area and the exact text agree";
    std::size_t caret = 0;
    ASSERT_TRUE(text.Undo(caret));
    EXPECT_TRUE(text.Exact() == row.exact) << "undone";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShownTextEdits,
    ::testing::Values(
        EditRow{"typed_after_a_crlf", u"a\r\nb", 3, 3, InputKind::kInsert, u"a\nbx", u"a\r\nbx"},
        EditRow{"typed_line_break_is_crlf", u"ab", 1, 1, InputKind::kInsert, u"a\nb", u"a\r\nb"},
        EditRow{"backspace_after_crlf_before_lf", u"ab\r\n\ncd", 3, 3, InputKind::kDeleteBackward, u"ab\ncd", u"ab\ncd"},
        EditRow{"delete_after_crlf_before_lf", u"ab\r\n\ncd", 3, 3, InputKind::kDeleteForward, u"ab\ncd", u"ab\r\ncd"},
        EditRow{"word_deleted_backward", u"one two\rthree", 7, 7, InputKind::kDeleteBackward, u"one \nthree",
                u"one \rthree"},
        EditRow{"selected_lone_cr_typed_over", u"a\r\n\r\r\nb", 2, 3, InputKind::kInsert, u"a\nx\nb", u"a\r\nx\r\nb"},
        EditRow{"selection_over_two_kinds_deleted", u"a\n\rb\r\nc", 1, 4, InputKind::kDeleteBackward, u"a\nc",
                u"a\r\nc"},
        // Undo or redo by the browser: found by comparing.
        EditRow{"anything_else_compared", u"a\rb", 3, 3, InputKind::kOther, u"a\nbc", u"a\rbc"}),
    RowName{});

TEST(ShownText, TypingIsUndoneAsOneStepAndRedone)
{
    ShownText text;
    text.Set(u"x\ry");
    text.Edited(u"x\nya", 3, 3, InputKind::kInsert);
    text.Edited(u"x\nyab", 4, 4, InputKind::kInsert);
    std::size_t caret = 0;
    ASSERT_TRUE(text.Undo(caret));
    EXPECT_TRUE(text.Exact() == u"x\ry");
    EXPECT_EQ(caret, 3u);
    ASSERT_TRUE(text.Redo(caret));
    EXPECT_TRUE(text.Exact() == u"x\ryab");
    EXPECT_FALSE(text.Redo(caret));
}

TEST(ShownText, APasteKeepsItsLineBreaksExactly)
{
    ShownText text;
    text.Set(u"ab");
    text.Replace(1, 1, u"1\r2\r\n3\n", forms::EditHistory::Joins::kNever);
    EXPECT_TRUE(text.Exact() == u"a1\r2\r\n3\nb");
    EXPECT_TRUE(text.Shown() == u"a1\n2\n3\nb");
    EXPECT_EQ(text.ToExact(4), 4u);  // after the lone CR
    EXPECT_EQ(text.ToExact(6), 7u);  // after the CR LF
    EXPECT_EQ(text.ToShown(7), 6u);
}

}  // namespace
}  // namespace ravelon::testing
