// The code box keeps the text exactly as given (CR LF, lone CR and LF): a
// key's edit between line breaks of different kinds takes the one it meets,
// and its undo gives each back as it was (a line break typed over lines also
// changes their format in the document), in the toolkit's box as in the
// big-text view. The address box keeps a
// pasted text's first line, as a paste: an undo step of its own; its redo
// leaves the caret within the text; a paste that takes it into the big view
// keeps the line edit's undo steps.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <vector>

#include "platform/qt/qt_text_boxes.h"
#include "platform/qt/testing_hooks.h"
#include "tests/row_name.h"
#include "tests/window/qt_driver.h"

namespace ravelon::testing {
namespace {

struct KeyEditRow {
    const char* name;
    std::u16string text;
    std::size_t selStart, selLength;
    Qt::Key key;
    std::u16string textAfter;
    friend void PrintTo(const KeyEditRow& row, std::ostream* os) { *os << row.name; }
};

class KeyEditBetweenLineBreaks : public ::testing::TestWithParam<KeyEditRow> {};

TEST_P(KeyEditBetweenLineBreaks, TakesTheBreakItMeets)
{
    const KeyEditRow& row = GetParam();
    for (const std::size_t lightFrom : {std::size_t{1} << 30, std::size_t{1}}) {
        forms::qt::SetLightTextFrom(lightFrom);
        QtProgram program;
        program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
        forms::TextBox& code = program.form().TextBoxNamed("txtDecrypt");
        code.SetText(row.text);
        QWidget* edit = program.Widget("txtDecrypt");
        edit->setFocus();
        code.SetSelStart(row.selStart);
        code.SetSelLength(row.selLength);
        if (row.key != Qt::Key_unknown) {
            QTest::keyClick(edit, row.key);
        } else {  // an input method starts composing over the selection, then gives up
            QInputMethodEvent compose(QStringLiteral("n"), {});
            QApplication::sendEvent(edit, &compose);
            QInputMethodEvent stop;
            QApplication::sendEvent(edit, &stop);
        }
        EXPECT_TRUE(code.Text() == row.textAfter)
            << (lightFrom == 1 ? "big view: " : "toolkit's box: ")
            << forms::qt::ToQString(code.Text()).toUtf8().toPercentEncoding().toStdString();
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(code.Text() == row.text)
            << (lightFrom == 1 ? "big view" : "toolkit's box")
            << ", undone: " << forms::qt::ToQString(code.Text()).toUtf8().toPercentEncoding().toStdString();
        forms::qt::SetLightTextFrom(32768);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, KeyEditBetweenLineBreaks,
    ::testing::Values(
        KeyEditRow{"backspace_after_crlf_before_lf", u"ab\r\n\ncd", 4, 0, Qt::Key_Backspace, u"ab\ncd"},
        KeyEditRow{"delete_after_crlf_before_lf", u"ab\r\n\ncd", 4, 0, Qt::Key_Delete, u"ab\r\ncd"},
        KeyEditRow{"delete_before_lf_then_crlf", u"ab\n\r\ncd", 2, 0, Qt::Key_Delete, u"ab\r\ncd"},
        KeyEditRow{"backspace_after_lf_before_crlf", u"ab\n\r\ncd", 3, 0, Qt::Key_Backspace, u"ab\r\ncd"},
        KeyEditRow{"delete_of_a_selected_crlf_before_lf", u"ab\r\n\ncd", 2, 2, Qt::Key_Delete, u"ab\ncd"},
        KeyEditRow{"composing_over_a_selected_crlf_before_lf", u"ab\r\n\ncd", 2, 2, Qt::Key_unknown, u"ab\ncd"},
        KeyEditRow{"delete_of_a_selected_lone_cr_between_crlfs", u"a\r\n\r\r\nb", 3, 1, Qt::Key_Delete, u"a\r\n\r\nb"},
        KeyEditRow{"return_over_a_selected_lone_cr", u"a\rb", 1, 1, Qt::Key_Return, u"a\r\nb"},
        KeyEditRow{"return_over_lines_up_to_an_empty_last_paragraph", u"ab\ncd\re\r\n", 0, 9, Qt::Key_Return, u"\r\n"}),
    RowName{});

TEST(AddressPaste, KeepsTheFirstLineAsAnUndoStepOfItsOwn)
{
    for (const std::size_t lightFrom : {std::size_t{1} << 30, std::size_t{1}}) {
        const char* path = lightFrom == 1 ? "big view" : "toolkit's box";
        forms::qt::SetLightTextFrom(lightFrom);
        QtProgram program;
        forms::TextBox& address = program.form().TextBoxNamed("txtEmail");
        QWidget* edit = program.Widget("txtEmail");
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("ab"));
        QGuiApplication::clipboard()->setText(QStringLiteral("x@y\r\nz"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClicks(edit, QStringLiteral("c"));
        for (const std::u16string expected : {u"abx@yc", u"abx@y", u"ab", u""}) {
            EXPECT_TRUE(address.Text() == expected)
                << path << ": " << forms::qt::ToQString(address.Text()).toStdString();
            QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        }
        forms::qt::SetLightTextFrom(32768);
    }
}

// A text set, then keys, text typed or committed, or a click (across the
// box, from its left edge), then what the address box holds and where its
// caret is.
struct UserAction {
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = {};
    const char* typed = nullptr;
    const char* committed = nullptr;  // by an input method
    double clickedAcross = -1;
};
struct UndoRow {
    const char* name;
    std::u16string text;
    std::vector<UserAction> actions;
    std::u16string textAfter;
    std::size_t caretAfter;
    friend void PrintTo(const UndoRow& row, std::ostream* os) { *os << row.name; }
};

class AddressUndoAndRedo : public ::testing::TestWithParam<UndoRow> {};

TEST_P(AddressUndoAndRedo, LeaveTheTextAndCaretAsTheUserMeantThem)
{
    for (const std::size_t lightFrom : {std::size_t{1} << 30, std::size_t{1}}) {
        forms::qt::SetLightTextFrom(lightFrom);
        QtProgram program;
        forms::TextBox& address = program.form().TextBoxNamed("txtEmail");
        QWidget* edit = program.Widget("txtEmail");
        edit->setFocus();
        address.SetText(GetParam().text);
        for (const UserAction& action : GetParam().actions) {
            if (action.committed) {
                QInputMethodEvent commit;
                commit.setCommitString(QString::fromUtf8(action.committed));
                QApplication::sendEvent(edit, &commit);
            } else if (action.typed) {
                QTest::keyClicks(edit, QString::fromUtf8(action.typed));
            } else if (action.clickedAcross >= 0) {
                const QPoint at(static_cast<int>(action.clickedAcross * edit->width()), edit->height() / 2);
                QTest::mouseClick(edit, Qt::LeftButton, {}, at);
            } else {
                QTest::keyClick(edit, action.key, action.modifiers);
            }
        }
        EXPECT_TRUE(address.Text() == GetParam().textAfter) << (lightFrom == 1 ? "big view: " : "toolkit's box: ")
                                                            << forms::qt::ToQString(address.Text()).toStdString();
        EXPECT_EQ(address.SelStart(), GetParam().caretAfter);
        forms::qt::SetLightTextFrom(32768);
    }
}

const UserAction kUndo{Qt::Key_Z, Qt::ControlModifier}, kRedo{Qt::Key_Y, Qt::ControlModifier};
INSTANTIATE_TEST_SUITE_P(
    Rows, AddressUndoAndRedo,
    ::testing::Values(
        // A click that moves the caret ends the typing, even back where it was.
        UndoRow{"of_typing_after_clicks_away_and_back",
                u"ab",
                {{Qt::Key_End}, {.typed = "c"}, {.clickedAcross = 0.01}, {.clickedAcross = 0.9}, {.typed = "d"}, kUndo},
                u"abc",
                3},
        // Typing after an undo that stopped at the mark where typing ended follows that mark: a step
        // of its own, though it follows on from the typing before.
        UndoRow{"of_typing_after_an_undo_to_a_mark",
                u"ab",
                {{Qt::Key_End},
                 {.typed = "c"},
                 {Qt::Key_Left},
                 {Qt::Key_Right},
                 {.typed = "d"},
                 kUndo,
                 {.typed = "e"},
                 kUndo},
                u"abc",
                3},
        // A selection of all ends the typing, though the caret ends where it was.
        UndoRow{"of_typing_after_a_selection_of_all",
                u"ab",
                {{Qt::Key_End}, {.typed = "c"}, {Qt::Key_A, Qt::ControlModifier}, {Qt::Key_End}, {.typed = "d"}, kUndo},
                u"abc",
                3},
        // Typing at the end after a move, undone twice and redone: what is
        // typed next follows the text, with nothing between.
        UndoRow{"of_typing_before_typing_at_the_end",
                u"a",
                {{Qt::Key_End},
                 {.typed = "bc"},
                 {Qt::Key_Home},
                 {Qt::Key_End},
                 {.typed = "d"},
                 kUndo,
                 kUndo,
                 kRedo,
                 {.typed = "x"}},
                u"abcx",
                4},
        // ... and after Backspace took a surrogate pair: what is typed next does not split it.
        UndoRow{"of_typing_before_a_backspace_over_a_surrogate_pair",
                u"a",
                {{Qt::Key_End},
                 {.committed = "\xF0\x9F\x98\x80"},
                 {Qt::Key_Home},
                 {Qt::Key_End},
                 {Qt::Key_Backspace},
                 kUndo,
                 kUndo,
                 kRedo,
                 {.typed = "x"}},
                u"a\U0001F600x",
                4},
        // One unit selected back and deleted, undone and redone: nothing is
        // selected, and what is typed next goes in where it was.
        UndoRow{"of_one_unit_selected_back_and_deleted",
                u"abcdef",
                {{Qt::Key_End}, {Qt::Key_Left, Qt::ShiftModifier}, {Qt::Key_Delete}, kUndo, kRedo, {.typed = "x"}},
                u"abcdex",
                6},
        // ... the whole text: what an input method puts into the empty box is not selected.
        UndoRow{"of_the_whole_text_selected_back_and_deleted",
                u"a",
                {{Qt::Key_End}, {Qt::Key_Left, Qt::ShiftModifier}, {Qt::Key_Delete}, kUndo, kRedo, {.committed = "xy"}},
                u"xy",
                2}),
    RowName{});

// The address box hands the line edit's undo steps over too: after a paste
// that takes it into the big view, undo walks back as the line edit would.
TEST(LightText, AnAddressCrossingTheThresholdKeepsTheLineEditsUndoSteps)
{
    struct Seen {
        std::u16string text;
        std::size_t selStart, selLength;
        bool operator==(const Seen&) const = default;
    };
    const auto undoneAfterPaste = [](std::size_t lightFrom) {
        forms::qt::SetLightTextFrom(lightFrom);
        QtProgram program;
        forms::TextBox& address = program.form().TextBoxNamed("txtEmail");
        QWidget* edit = program.Widget("txtEmail");
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("someone"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Left);
        QTest::keyClicks(edit, QStringLiteral("xy"));
        QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClicks(edit, QStringLiteral("q"));
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
        QGuiApplication::clipboard()->setText(QStringLiteral("@example.com"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        std::vector<Seen> seen;
        for (int i = 0; i < 8; ++i) {
            seen.push_back({address.Text(), address.SelStart(), address.SelLength()});
            QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        }
        EXPECT_EQ(forms::qt::LightTextOf(edit) != nullptr, lightFrom < 32768) << "the paste took the big view";
        forms::qt::SetLightTextFrom(32768);
        return seen;
    };
    const std::vector<Seen> toolkit = undoneAfterPaste(std::size_t{1} << 30);
    const std::vector<Seen> light = undoneAfterPaste(12);
    for (std::size_t i = 0; i < toolkit.size(); ++i)
        EXPECT_TRUE(light[i] == toolkit[i])
            << "undo " << i << ": toolkit '" << forms::qt::ToQString(toolkit[i].text).toStdString() << "' "
            << toolkit[i].selStart << '+' << toolkit[i].selLength << ", big view '"
            << forms::qt::ToQString(light[i].text).toStdString() << "' " << light[i].selStart << '+'
            << light[i].selLength;
}

}  // namespace
}  // namespace ravelon::testing
