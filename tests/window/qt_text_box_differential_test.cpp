// The big-text view against the toolkit's own box as its oracle: the same
// seeded run of user actions is applied to a box shown by the toolkit and to
// one shown by LightText (the threshold lowered), and after every action both
// must agree on the exact text, the caret and anchor, the first line in view,
// the focus, and what a screen reader is told. A failing seed is kept as a row.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <random>
#include <sstream>
#include <utility>

#include "platform/qt/qt_text_boxes.h"
#include "platform/qt/testing_hooks.h"
#include "tests/row_name.h"
#include "tests/window/qt_driver.h"

namespace ravelon::testing {
namespace {

using forms::qt::ExactPosition;
using forms::qt::FromQString;
using forms::qt::LightTextOf;
using forms::qt::ToQString;

struct Action {
    enum Kind { kKey, kClick, kDoubleClick, kTripleClick, kWheel, kCommit, kMenu } kind = kKey;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QPointF at;     // a click's place, as a share of the box's width and height
    int delta = 0;  // the wheel's turn; the menu's action chosen
    QString text;
};

std::string Describe(const Action& action)
{
    std::ostringstream out;
    switch (action.kind) {
        case Action::kKey:
            out << QKeySequence(QKeyCombination(action.modifiers, action.key)).toString().toStdString();
            break;
        case Action::kClick:
            out << "click" << (action.modifiers ? "+shift" : "") << " at " << action.at.x() << ',' << action.at.y();
            break;
        case Action::kDoubleClick:
            out << "double click at " << action.at.x() << ',' << action.at.y();
            break;
        case Action::kTripleClick:
            out << "triple click at " << action.at.x() << ',' << action.at.y();
            break;
        case Action::kWheel:
            out << "wheel " << action.delta << (action.modifiers ? " with a modifier" : "");
            break;
        case Action::kCommit:
            out << "commit '" << action.text.toStdString() << "'";
            break;
        case Action::kMenu:
            out << "context menu, its action " << action.delta;
            break;
    }
    return out.str();
}

// What the user and a screen reader can tell of a box.
struct Observed {
    std::u16string text;
    std::size_t anchor = 0, caret = 0;
    std::size_t firstInView = 0;
    bool focused = false;
    QString told;
    int toldCaret = 0, toldSelectionStart = 0, toldSelectionEnd = 0;
    QString toldLine, toldLineBefore, toldLineAfter;
    QString toldCharacter;
    QString menu;                 // the context menu's actions, as shown, when it was opened
    QString inputMethod;          // what an input method is told: positions, text, the caret's place
    int inputMethodCaretTop = 0;  // the caret's top in view; a pixel either way is the same place

    bool operator==(const Observed&) const = default;
};

std::string Describe(const Observed& o)
{
    std::ostringstream out;
    out << "text '" << QString::fromUtf16(o.text.data(), static_cast<qsizetype>(o.text.size())).toStdString()
        << "' anchor " << o.anchor << " caret " << o.caret << " first in view " << o.firstInView << " focused "
        << o.focused << " | told caret " << o.toldCaret << " selection " << o.toldSelectionStart << '-'
        << o.toldSelectionEnd << " line '" << o.toldLine.toStdString() << "' before '" << o.toldLineBefore.toStdString()
        << "' after '" << o.toldLineAfter.toStdString() << "' character '" << o.toldCharacter.toStdString() << "' menu "
        << o.menu.toStdString() << " input method " << o.inputMethod.toStdString() << " caret top "
        << o.inputMethodCaretTop;
    return out.str();
}

constexpr QPointF kTopLeftInView(6, 4);

QString g_menuShown;

Observed Observe(QWidget* box, forms::TextBox& control)
{
    Observed o;
    o.menu = std::exchange(g_menuShown, QString());
    for (const auto query : {Qt::ImCursorPosition, Qt::ImAnchorPosition, Qt::ImSurroundingText, Qt::ImCurrentSelection,
                             Qt::ImCursorRectangle}) {
        const QVariant value = box->inputMethodQuery(query);
        const QRect rect = value.toRect();
        // Where a caret out of view is placed, to the pixel, no input method minds.
        QWidget* view = qobject_cast<QPlainTextEdit*>(box) ? qobject_cast<QPlainTextEdit*>(box)->viewport() : box;
        const bool inView = rect.y() >= 0 && rect.y() < view->height();
        if (query != Qt::ImCursorRectangle)
            o.inputMethod += value.toString();
        else if (!inView)
            o.inputMethod += rect.y() < 0 ? QStringLiteral("above the view") : QStringLiteral("below the view");
        else
            o.inputMethod += QStringLiteral("x %1, %2x%3").arg(rect.x()).arg(rect.width()).arg(rect.height());
        if (query == Qt::ImCursorRectangle && inView) o.inputMethodCaretTop = rect.y();
        o.inputMethod += u'|';
    }
    o.text = control.Text();
    o.focused = box->hasFocus();
    if (forms::qt::LightText* light = LightTextOf(box)) {
        o.caret = light->Caret();
        o.anchor = light->SelStart() == o.caret ? light->SelStart() + light->SelLength() : light->SelStart();
        if (auto* edit = qobject_cast<QPlainTextEdit*>(box))
            o.firstInView =
                light->LineAround(light->PositionAt(kTopLeftInView + QPointF(edit->viewport()->rect().topLeft())))
                    .first;
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
        const QTextCursor cursor = edit->textCursor();
        o.caret = ExactPosition(o.text, static_cast<std::size_t>(cursor.position()));
        o.anchor = ExactPosition(o.text, static_cast<std::size_t>(cursor.anchor()));
        QTextCursor top = edit->cursorForPosition(kTopLeftInView.toPoint());
        top.movePosition(QTextCursor::StartOfLine);
        o.firstInView = ExactPosition(o.text, static_cast<std::size_t>(top.position()));
    } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
        o.caret = static_cast<std::size_t>(line->cursorPosition());
        const auto start = static_cast<std::size_t>(line->selectionStart());
        const auto length = static_cast<std::size_t>(line->selectionLength());
        o.anchor = !line->hasSelectedText() ? o.caret : o.caret == start ? start + length : start;
    }
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
    QAccessibleTextInterface* text = accessible ? accessible->textInterface() : nullptr;
    if (text) {
        o.told = text->text(0, text->characterCount());
        o.toldCaret = text->cursorPosition();
        if (text->selectionCount() > 0) text->selection(0, &o.toldSelectionStart, &o.toldSelectionEnd);
        int start = 0, end = 0;
        o.toldLine = text->textAtOffset(o.toldCaret, QAccessible::LineBoundary, &start, &end);
        // The line edit's own account hangs when asked for words at the text's end.
        if (!qobject_cast<QPlainTextEdit*>(box)) return o;
        // The toolkit's box tells its line again for the lines before and after
        // the first: its account of the line next to this one stands for them.
        int lineStart = 0, lineEnd = 0;
        text->textAtOffset(o.toldCaret, QAccessible::LineBoundary, &lineStart, &lineEnd);
        if (LightTextOf(box)) {
            o.toldLineBefore = text->textBeforeOffset(o.toldCaret, QAccessible::LineBoundary, &start, &end);
            o.toldLineAfter = text->textAfterOffset(o.toldCaret, QAccessible::LineBoundary, &start, &end);
        } else {
            if (lineStart > 0)
                o.toldLineBefore = text->textAtOffset(lineStart - 1, QAccessible::LineBoundary, &start, &end);
            if (lineEnd < text->characterCount())
                o.toldLineAfter = text->textAtOffset(lineEnd + 1, QAccessible::LineBoundary, &start, &end);
        }
        o.toldCharacter = text->textAtOffset(o.toldCaret, QAccessible::CharBoundary, &start, &end);
        if (!LightTextOf(box)) return o;
        // The toolkit's box finds words and sentences through its own cursor, where it may stop
        // otherwise: of a big box's answers, only that they come is checked.
        for (auto kind : {QAccessible::WordBoundary, QAccessible::SentenceBoundary}) {
            text->textAtOffset(o.toldCaret, kind, &start, &end);
            text->textBeforeOffset(o.toldCaret, kind, &start, &end);
            text->textAfterOffset(o.toldCaret, kind, &start, &end);
        }
    }
    return o;
}

void Apply(const Action& action, QWidget* box)
{
    QWidget* surface = box;
    if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) surface = edit->viewport();
    const QPoint at(static_cast<int>(action.at.x() * surface->width()),
                    static_cast<int>(action.at.y() * surface->height()));
    switch (action.kind) {
        case Action::kKey:
            QTest::keyClick(box, action.key, action.modifiers);
            break;
        case Action::kClick:
            QTest::mouseClick(surface, Qt::LeftButton, action.modifiers, at);
            break;
        case Action::kDoubleClick:
            QTest::mouseDClick(surface, Qt::LeftButton, Qt::NoModifier, at);
            break;
        case Action::kTripleClick:
            QTest::mouseDClick(surface, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, at);
            break;
        case Action::kWheel: {
            QWheelEvent wheel(at, surface->mapToGlobal(at), QPoint(), QPoint(0, action.delta), Qt::NoButton,
                              action.modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(surface, &wheel);
            break;
        }
        case Action::kMenu: {
            // The menu runs its own loop: read it and choose from inside.
            QTimer::singleShot(0, [index = action.delta] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!menu) return;
                int n = 0;
                for (QAction* item : menu->actions()) {
                    if (item->isSeparator()) continue;
                    g_menuShown += item->text() + (item->isEnabled() ? QString() : QStringLiteral(" (off)")) + u';';
                    if (n++ == index && item->isEnabled()) item->trigger();
                }
                menu->close();
            });
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, surface->mapToGlobal(at));
            QApplication::sendEvent(surface, &menu);
            break;
        }
        case Action::kCommit: {
            QInputMethodEvent commit;
            commit.setCommitString(action.text);
            QApplication::sendEvent(box, &commit);
            break;
        }
    }
    QApplication::processEvents();
}

std::vector<Action> RandomActions(unsigned seed, int count, const std::vector<Action>& kinds)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> share(0.02, 0.98);
    std::vector<Action> actions;
    for (int i = 0; i < count; ++i) {
        Action action = kinds[std::uniform_int_distribution<std::size_t>(0, kinds.size() - 1)(random)];
        action.at = QPointF(share(random), share(random));
        actions.push_back(action);
    }
    return actions;
}

std::vector<Action> Keys(std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    std::vector<Action> actions;
    for (Qt::Key key : keys) {
        Action action;
        action.key = key;
        action.modifiers = modifiers;
        actions.push_back(action);
    }
    return actions;
}

Action Of(Action::Kind kind, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QString text = {})
{
    Action action;
    action.kind = kind;
    action.modifiers = modifiers;
    action.text = std::move(text);
    return action;
}

std::vector<Action> operator+(std::vector<Action> a, const std::vector<Action>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Actions the two boxes answer alike.
const std::vector<Action> kTyping =
    Keys({Qt::Key_A, Qt::Key_Space, Qt::Key_Comma, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete}) +
    std::vector<Action>{Of(Action::kCommit, {}, QStringLiteral("\u00e9t\u00e9"))};
const std::vector<Action> kMoving =
    Keys({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}) +
    Keys({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}, Qt::ShiftModifier) +
    Keys({Qt::Key_Home, Qt::Key_End}, Qt::ControlModifier) +
    Keys({Qt::Key_Home, Qt::Key_End}, Qt::ControlModifier | Qt::ShiftModifier);
const std::vector<Action> kEditing = Keys({Qt::Key_A, Qt::Key_C, Qt::Key_X, Qt::Key_V}, Qt::ControlModifier);
const std::vector<Action> kWords =
    Keys({Qt::Key_Left, Qt::Key_Right, Qt::Key_Backspace, Qt::Key_Delete}, Qt::ControlModifier) +
    Keys({Qt::Key_Left, Qt::Key_Right}, Qt::ControlModifier | Qt::ShiftModifier);
const std::vector<Action> kUndo =
    Keys({Qt::Key_Z, Qt::Key_Y}, Qt::ControlModifier) + Keys({Qt::Key_Z}, Qt::ControlModifier | Qt::ShiftModifier);
const std::vector<Action> kBreaks =
    Keys({Qt::Key_Return}, Qt::ShiftModifier) + Keys({Qt::Key_Return}, Qt::ControlModifier) + Keys({Qt::Key_Tab});
const std::vector<Action> kMouse = {Of(Action::kClick), Of(Action::kClick, Qt::ShiftModifier),
                                    Of(Action::kDoubleClick)};
// Shift+click after a double or triple click extends the selection by words or
// paragraphs in the toolkit's box, which the big-text view does not: kept apart.
const std::vector<Action> kClicks = {Of(Action::kClick), Of(Action::kDoubleClick), Of(Action::kTripleClick)};
Action Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    Action action = Of(Action::kWheel, modifiers);
    action.delta = delta;
    return action;
}
// The context menu's items, from Undo (0) to Select All (6).
std::vector<Action> MenuItems(int first, int last)
{
    std::vector<Action> actions;
    for (int item = first; item <= last; ++item) {
        Action action = Of(Action::kMenu);
        action.delta = item;
        actions.push_back(action);
    }
    return actions;
}
const std::vector<Action> kWheel = {Wheel(-120), Wheel(120)};
const std::vector<Action> kPages =
    Keys({Qt::Key_PageUp, Qt::Key_PageDown}) + Keys({Qt::Key_PageUp, Qt::Key_PageDown}, Qt::ShiftModifier) +
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
        DifferentialRow{"address_undo_of_replaced_selections", "txtEmail", kAddress, 14, 300,
                        Keys({Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End}, Qt::ShiftModifier) +
                            Keys({Qt::Key_Left, Qt::Key_Right, Qt::Key_A, Qt::Key_Delete, Qt::Key_Backspace}) +
                            Keys({Qt::Key_X, Qt::Key_V, Qt::Key_Z}, Qt::ControlModifier)},
        DifferentialRow{"code_scrolling_wrapped_paragraphs", "txtDecrypt", WrappedParagraphs(), 15, 400,
                        kPages + kWheel + Keys({Qt::Key_Up, Qt::Key_Down, Qt::Key_A, Qt::Key_Return, Qt::Key_Backspace})},
        DifferentialRow{"address_typing_moving_and_clipboard", "txtEmail", kAddress, 5, 600,
                        kTyping + kMoving + kEditing + kWords},
        DifferentialRow{"code_double_and_triple_clicks", "txtDecrypt", Paragraphs() + Paragraphs(), 9, 400,
                        kTyping + kMoving + kClicks},
        DifferentialRow{"address_double_and_triple_clicks", "txtEmail", kAddress, 10, 300, kTyping + kMoving + kClicks},
        // The box crosses into the big-text view part way, by typing or pasting: nothing is lost.
        DifferentialRow{"code_crossing_into_the_big_view", "txtDecrypt", Paragraphs(), 7, 400,
                        kTyping + kMoving + kUndo + Keys({Qt::Key_V, Qt::Key_V, Qt::Key_V}, Qt::ControlModifier),
                        Paragraphs().size() + 40},
        // The clipboard keeps its two lines: each paste keeps the first, as does a commit of two lines.
        DifferentialRow{"address_pasting_lines", "txtEmail", kAddress, 6, 200,
                        kMoving + Keys({Qt::Key_V}, Qt::ControlModifier) + std::vector<Action>{Of(Action::kCommit, {}, QStringLiteral("x\ny"))}}),
    RowName{});
// clang-format on

}  // namespace
}  // namespace ravelon::testing
