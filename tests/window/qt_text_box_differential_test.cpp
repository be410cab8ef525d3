// The big-text view against the toolkit's own box as its oracle: the same
// seeded run of user actions is applied to a box shown by the toolkit and to
// one shown by LightText (the threshold lowered), and after every action both
// must agree on the exact text, the caret and anchor, the first line in view,
// the focus, and what a screen reader is told. A failing seed is kept as a row.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <cstdlib>
#include <sstream>

#include "platform/qt/qt_text_boxes.h"
#include "platform/qt/testing_hooks.h"
#include "tests/row_name.h"
#include "tests/window/qt_box_actions.h"
#include "tests/window/qt_box_observation.h"
#include "tests/window/qt_driver.h"

namespace ravelon::testing {
namespace {

// Actions the two boxes answer alike.
const std::vector<Action> kTyping =
    KeyPresses({Qt::Key_A, Qt::Key_Space, Qt::Key_Comma, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete}) +
    std::vector<Action>{Of(Action::kCommit, {}, QStringLiteral("\u00e9t\u00e9"))};
const std::vector<Action> kMoving =
    KeyPresses({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}) +
    KeyPresses({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}, Qt::ShiftModifier) +
    KeyPresses({Qt::Key_Home, Qt::Key_End}, Qt::ControlModifier) +
    KeyPresses({Qt::Key_Home, Qt::Key_End}, Qt::ControlModifier | Qt::ShiftModifier);
const std::vector<Action> kEditing = KeyPresses({Qt::Key_A, Qt::Key_C, Qt::Key_X, Qt::Key_V}, Qt::ControlModifier);
const std::vector<Action> kWords =
    KeyPresses({Qt::Key_Left, Qt::Key_Right, Qt::Key_Backspace, Qt::Key_Delete}, Qt::ControlModifier) +
    KeyPresses({Qt::Key_Left, Qt::Key_Right}, Qt::ControlModifier | Qt::ShiftModifier);
const std::vector<Action> kUndo = KeyPresses({Qt::Key_Z, Qt::Key_Y}, Qt::ControlModifier) +
                                  KeyPresses({Qt::Key_Z}, Qt::ControlModifier | Qt::ShiftModifier);
const std::vector<Action> kBreaks = KeyPresses({Qt::Key_Return}, Qt::ShiftModifier) +
                                    KeyPresses({Qt::Key_Return}, Qt::ControlModifier) + KeyPresses({Qt::Key_Tab});
const std::vector<Action> kMouse = {Of(Action::kClick), Of(Action::kClick, Qt::ShiftModifier),
                                    Of(Action::kDoubleClick)};
// Shift+click after a double or triple click extends the selection by words or
// paragraphs in the toolkit's box, which the big-text view does not: kept apart.
const std::vector<Action> kSelecting = kTyping + kMoving +
                                       std::vector<Action>{Of(Action::kClick),
                                                           Drag(2),
                                                           Drag(2),
                                                           Drag(3),
                                                           Of(Action::kDoubleClick),
                                                           Of(Action::kClick, Qt::ShiftModifier),
                                                           Of(Action::kClick, Qt::ShiftModifier)};
const std::vector<Action> kComposing = {
    Of(Action::kCompose, {}, QStringLiteral("n")), Of(Action::kCompose, {}, QStringLiteral("ni")),
    Of(Action::kCompose, {}, QString()), Of(Action::kCommit, {}, QStringLiteral("ni\u00f1o"))};
const std::vector<Action> kClicks = {Of(Action::kClick), Of(Action::kDoubleClick), Of(Action::kTripleClick)};
const std::vector<Action> kWheel = {Wheel(-120), Wheel(120)};
const std::vector<Action> kPages =
    KeyPresses({Qt::Key_PageUp, Qt::Key_PageDown}) + KeyPresses({Qt::Key_PageUp, Qt::Key_PageDown}, Qt::ShiftModifier) +
    std::vector<Action>{Wheel(-120, Qt::ControlModifier), Wheel(120, Qt::ShiftModifier), Wheel(-60, Qt::ShiftModifier)};

struct DifferentialRow {
    const char* name;
    const char* box;
    std::u16string text;
    unsigned seed;
    int actions;
    std::vector<Action> kinds;
    std::size_t lightFrom = 1;  // the big-text view's threshold in the run held to the toolkit's box
    friend void PrintTo(const DifferentialRow& row, std::ostream* os) { *os << row.name; }
};

std::vector<Observed> RunActions(const DifferentialRow& row, const std::vector<Action>& actions, std::size_t lightFrom)
{
    forms::qt::SetLightTextFrom(lightFrom);
    QtProgram program;
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted\r\ntext"));
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
    forms::TextBox& control = program.form().TextBoxNamed(row.box);
    control.SetText(row.text);
    QWidget* box = program.Widget(row.box);
    box->setFocus();
    QApplication::processEvents();
    std::vector<Observed> seen{Observe(box, control)};
    for (const Action& action : actions) {
        Apply(action, box);
        seen.push_back(Observe(box, control));
        box->setFocus();
    }
    forms::qt::SetLightTextFrom(32768);
    return seen;
}

class LightTextDifferential : public ::testing::TestWithParam<DifferentialRow> {
protected:
    void SetUp() override { QAccessible::setActive(true); }
    void TearDown() override { QAccessible::setActive(false); }
};

// RAVELON_SEED runs every row again from other seeds, RAVELON_ACTIONS longer.
unsigned SeedOf(const DifferentialRow& row)
{
    const char* seed = std::getenv("RAVELON_SEED");
    return seed ? row.seed + static_cast<unsigned>(std::strtoul(seed, nullptr, 10)) : row.seed;
}

int ActionsOf(const DifferentialRow& row)
{
    const char* actions = std::getenv("RAVELON_ACTIONS");
    return actions ? std::atoi(actions) : row.actions;
}

TEST_P(LightTextDifferential, AnswersEveryActionAsTheToolkitsBox)
{
    const DifferentialRow& row = GetParam();
    const unsigned seed = SeedOf(row);
    const std::vector<Action> actions = RandomActions(seed, ActionsOf(row), row.kinds);
    const std::vector<Observed> toolkit = RunActions(row, actions, std::size_t{1} << 30);  // never
    std::vector<Observed> light = RunActions(row, actions, row.lightFrom);
    for (std::size_t i = 0; i < toolkit.size(); ++i) {
        if (std::abs(light[i].inputMethodCaretTop - toolkit[i].inputMethodCaretTop) <= 1)
            light[i].inputMethodCaretTop = toolkit[i].inputMethodCaretTop;
        if (light[i] == toolkit[i]) continue;
        std::ostringstream steps;
        for (std::size_t j = i > 8 ? i - 8 : 0; j < i; ++j)
            steps << "  " << j + 1 << ": " << Describe(actions[j]) << '\n';
        FAIL() << "after action " << i << " of seed " << seed << ":\n"
               << steps.str() << "both before: " << (i > 0 ? Describe(toolkit[i - 1]) : "-")
               << "\ntoolkit: " << Describe(toolkit[i]) << "\nlight:   " << Describe(light[i]);
    }
}

std::u16string Paragraphs()
{
    return u"one, two! three. four five six seven eight nine ten eleven twelve\r\n"
           u"short\nlone lf\rlone cr\r\n\r\n"
           u"caf\u00e9 na\u0308ive \U0001F600 smile \U0001F468\u200D\U0001F469\u200D\U0001F467 family "
           u"\U0001F1EB\U0001F1F7 end\r\n"
           u"averyveryveryveryveryveryveryveryveryveryveryveryverylongwordthatmustwrap tail\r\n"
           u"last line";
}

// Paragraphs that wrap, so that the first line in view often continues one.
std::u16string WrappedParagraphs()
{
    std::u16string text;
    for (int i = 0; i < 8; ++i)
        text +=
            u"a paragraph long enough to wrap over two or three lines of the box, with words of every length "
            u"and some more words\r\nshort\r\n";
    return text;
}

const std::u16string kAddress = u"someone.else@example.com";

std::vector<Action> ReplacingSelections()
{
    return KeyPresses({Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End}, Qt::ShiftModifier) +
           KeyPresses({Qt::Key_Left, Qt::Key_Right, Qt::Key_A, Qt::Key_Delete, Qt::Key_Backspace}) +
           KeyPresses({Qt::Key_X, Qt::Key_V, Qt::Key_Z}, Qt::ControlModifier);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Rows, LightTextDifferential,
    ::testing::Values(
        DifferentialRow{"code_typing_and_moving", "txtDecrypt", Paragraphs(), 1, 600, kTyping + kMoving + kWords},
        DifferentialRow{"code_clipboard_and_undo", "txtDecrypt", Paragraphs(), 2, 600, kTyping + kMoving + kEditing + kUndo},
        DifferentialRow{"code_line_breaks_of_every_kind", "txtDecrypt", Paragraphs(), 3, 400, kTyping + kMoving + kBreaks},
        DifferentialRow{"code_mouse_and_wheel", "txtDecrypt", Paragraphs() + Paragraphs() + Paragraphs(), 4, 600,
                        kTyping + kMoving + kMouse + kWheel},
        DifferentialRow{"code_pages", "txtDecrypt", Paragraphs() + Paragraphs() + Paragraphs() + Paragraphs(), 11, 600,
                        kTyping + kMoving + kPages + kPages + std::vector<Action>{Of(Action::kDoubleClick)}},
        DifferentialRow{"code_context_menu", "txtDecrypt", Paragraphs(), 12, 300, kTyping + kMoving + kUndo + MenuItems(0, 6) + MenuItems(0, 6)},
        // The line edit's undo puts back the caret and selection by rules of
        // its own, followed only for a replaced selection: its menu's undo is left out.
        DifferentialRow{"address_context_menu", "txtEmail", kAddress, 13, 300, kTyping + kMoving + MenuItems(2, 6) + MenuItems(2, 6)},
        // The line edit also joins a deletion to a selection deleted before it, which
        // the big view does not: Backspace and Delete are left out.
        DifferentialRow{"address_undo_of_replaced_selections", "txtEmail", kAddress, 14, 300, ReplacingSelections()},
        // The line edit undoes Backspaces and Deletes at one place in steps apart (action 10).
        DifferentialRow{"address_backspace_then_delete_undone_apart", "txtEmail", kAddress, 114, 21, ReplacingSelections()},
        DifferentialRow{"code_scrolling_wrapped_paragraphs", "txtDecrypt", WrappedParagraphs(), 15, 400,
                        kPages + kWheel + KeyPresses({Qt::Key_Up, Qt::Key_Down, Qt::Key_A, Qt::Key_Return, Qt::Key_Backspace})},
        DifferentialRow{"address_typing_moving_and_clipboard", "txtEmail", kAddress, 5, 600,
                        kTyping + kMoving + kEditing + kWords},
        DifferentialRow{"code_double_and_triple_clicks", "txtDecrypt", Paragraphs() + Paragraphs(), 9, 400,
                        kTyping + kMoving + kClicks},
        DifferentialRow{"code_shift_click_after_a_triple_click", "txtDecrypt", Paragraphs() + Paragraphs(), 16, 400,
                        kTyping + kMoving + std::vector<Action>{Of(Action::kClick), Of(Action::kTripleClick),
                                                                Of(Action::kClick, Qt::ShiftModifier),
                                                                Of(Action::kClick, Qt::ShiftModifier)}},
        // Selecting with the button held after a double click goes by words, after a triple click by paragraphs.
        DifferentialRow{"code_selecting_by_words_and_paragraphs", "txtDecrypt", Paragraphs() + Paragraphs(), 17, 400, kSelecting},
        // A click near a double click soon after is a third click, whatever clicks came between.
        DifferentialRow{"code_third_click_after_shift_clicks", "txtDecrypt", Paragraphs() + Paragraphs(), 119, 190, kSelecting},
        // What an input method composes moves the caret's place it tells, not the text, until committed.
        DifferentialRow{"code_composing", "txtDecrypt", Paragraphs(), 18, 300, kTyping + kMoving + kClicks + kComposing},
        DifferentialRow{"address_composing", "txtEmail", kAddress, 19, 300, kTyping + kMoving + kComposing},
        // What an input method commits in the text edit does not join the typing before it (action 19);
        // the typing after it joins it (action 603).
        DifferentialRow{"code_commit_starts_an_undo_step_typing_joins", "txtDecrypt", Paragraphs(), 113, 610,
                        kTyping + kMoving + kUndo + MenuItems(0, 6) + MenuItems(0, 6)},
        // A redo with nothing to redo leaves Backspaces joined across it (action 80).
        DifferentialRow{"code_redo_of_nothing_keeps_deletions_joined", "txtDecrypt", Paragraphs(), 214, 81,
                        kTyping + kMoving + kUndo + MenuItems(0, 6) + MenuItems(0, 6)},
        DifferentialRow{"address_double_and_triple_clicks", "txtEmail", kAddress, 10, 300, kTyping + kMoving + kClicks},
        // The box crosses into the big-text view part way, by typing or pasting: nothing is lost.
        DifferentialRow{"code_crossing_into_the_big_view", "txtDecrypt", Paragraphs(), 7, 400,
                        kTyping + kMoving + kUndo + KeyPresses({Qt::Key_V, Qt::Key_V, Qt::Key_V}, Qt::ControlModifier),
                        Paragraphs().size() + 40},
        // The clipboard keeps its two lines: each paste keeps the first, as does a commit of two lines.
        DifferentialRow{"address_pasting_lines", "txtEmail", kAddress, 6, 200,
                        kMoving + KeyPresses({Qt::Key_V}, Qt::ControlModifier) + std::vector<Action>{Of(Action::kCommit, {}, QStringLiteral("x\ny"))}}),
    RowName{});
// clang-format on

}  // namespace
}  // namespace ravelon::testing
