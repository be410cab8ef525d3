// A box shows a big text through LightText, which must look and behave as the
// toolkit's own box does: the same text, in the same pixels, after the same
// keys. Each row is run twice, on the toolkit's box and on LightText (with
// the threshold lowered), and the painted boxes are compared pixel for pixel.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QImage>
#include <QInputMethodEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCharFormat>
#include <functional>

#include "platform/qt/qt_text_boxes.h"
#include "platform/qt/testing_hooks.h"
#include "tests/row_name.h"
#include "tests/window/qt_driver.h"

namespace ravelon::testing {
namespace {

std::u16string Prose(std::size_t length, std::u16string_view lineBreak)
{
    const std::u16string_view words[] = {u"licence ", u"seats ",     u"renews ", u"every ",
                                         u"year, ",   u"\u00A3240 ", u"(VAT) "};
    std::u16string text;
    for (std::size_t i = 0; text.size() < length; ++i) {
        text += words[i % std::size(words)];
        if (i % 23 == 22) text += lineBreak;
    }
    return text;
}

std::u16string ShortLines(int count)
{
    std::u16string text;
    for (int i = 0; i < count; ++i) text += u"line " + std::u16string(1, static_cast<char16_t>(u'a' + i)) + u"\r\n";
    return text;
}

struct LookRow {
    const char* name;
    const char* box;
    std::u16string text;
    std::vector<Keys> keys;
    bool disabled = false;
    // With the first line in view continuing a paragraph, the toolkit's box
    // keeps a sub-pixel remainder of its earlier scrolls, which can move a
    // selection's edge by a pixel: such rows compare the caret and selection only.
    bool pixels = true;
    QString composing{};  // what an input method then composes, underlined
    friend void PrintTo(const LookRow& row, std::ostream* os) { *os << row.name; }
};

struct Painted {
    QImage image;
    std::u16string text;
    std::size_t selStart, selLength;
    bool light;
};

Painted PaintAfterKeys(const LookRow& row, std::size_t lightFrom)
{
    forms::qt::SetLightTextFrom(lightFrom);
    QtProgram program;
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
    forms::TextBox& box = program.form().TextBoxNamed(row.box);
    box.SetText(row.text);
    QWidget* widget = program.Widget(row.box);
    widget->setFocus();
    QApplication::processEvents();
    Press(widget, row.keys);
    if (!row.composing.isEmpty()) {
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        const auto length = static_cast<int>(row.composing.size());
        QInputMethodEvent compose(row.composing, {{QInputMethodEvent::TextFormat, 0, length, underlined},
                                                  {QInputMethodEvent::Cursor, length - 1, 1, {}}});
        QApplication::sendEvent(widget, &compose);
    }
    if (row.disabled) widget->setEnabled(false);
    QApplication::processEvents();
    Painted painted{widget->grab().toImage(), box.Text(), box.SelStart(), box.SelLength(),
                    forms::qt::LightTextOf(widget) != nullptr};
    forms::qt::SetLightTextFrom(32768);
    return painted;
}

class LightTextLooks : public ::testing::TestWithParam<LookRow> {
protected:
    void SetUp() override { QApplication::setCursorFlashTime(0); }  // the caret stays, for both
    void TearDown() override { QApplication::setCursorFlashTime(1000); }
};

TEST_P(LightTextLooks, AsTheToolkitsBoxAfterTheSameKeys)
{
    const LookRow& row = GetParam();
    const Painted toolkit = PaintAfterKeys(row, std::size_t{1} << 30);  // never
    const Painted light = PaintAfterKeys(row, 1);
    ASSERT_FALSE(toolkit.light);
    ASSERT_TRUE(light.light);
    EXPECT_TRUE(light.text == toolkit.text) << "the text differs";
    EXPECT_EQ(light.selStart, toolkit.selStart);
    EXPECT_EQ(light.selLength, toolkit.selLength);
    ASSERT_EQ(light.image.size(), toolkit.image.size());
    if (!row.pixels) return;
    int differing = 0;
    for (int y = 0; y < light.image.height(); ++y)
        for (int x = 0; x < light.image.width(); ++x) differing += light.image.pixel(x, y) != toolkit.image.pixel(x, y);
    if (differing) {
        toolkit.image.save(QStringLiteral("/tmp/ravelon-toolkit-%1.png").arg(QString::fromUtf8(row.name)));
        light.image.save(QStringLiteral("/tmp/ravelon-light-%1.png").arg(QString::fromUtf8(row.name)));
    }
    EXPECT_EQ(differing, 0) << "pixels painted otherwise";
}

const std::u16string kProse = Prose(3000, u"\r\n");
const std::u16string kWrapping =
    u"a paragraph long enough to wrap over two or three lines of the box, with words of every length\r\n"
    u"averyveryveryveryveryveryveryveryveryveryveryveryverylongwordthatmustwrap tail\r\nend";

INSTANTIATE_TEST_SUITE_P(
    Rows, LightTextLooks,
    ::testing::Values(
        LookRow{"code_at_its_start", "txtDecrypt", kProse, {}},
        LookRow{"code_scrolled_to_its_end", "txtDecrypt", kProse, {{Qt::Key_End, Qt::ControlModifier}}},
        LookRow{"code_selection_over_a_line_break",
                "txtDecrypt",
                kProse,
                {{Qt::Key_Down},
                 {Qt::Key_Down},
                 {Qt::Key_End},
                 {Qt::Key_Left},
                 {Qt::Key_Down, Qt::ShiftModifier},
                 {Qt::Key_Right, Qt::ShiftModifier}}},
        // A line separator selected shows nothing, where a paragraph's break shows a space.
        LookRow{"code_selection_over_line_separators",
                "txtDecrypt",
                u"one\u2028\u2028two\r\n\r\nthree" + kProse,
                {{Qt::Key_Right},
                 {Qt::Key_Down, Qt::ShiftModifier},
                 {Qt::Key_Down, Qt::ShiftModifier},
                 {Qt::Key_Down, Qt::ShiftModifier},
                 {Qt::Key_Down, Qt::ShiftModifier}}},
        // Lines wrapped at a space and inside a word, selected whole or from
        // their start: highlighted to their text, without the space.
        LookRow{"code_wrapped_lines_selected", "txtDecrypt", kWrapping, {{Qt::Key_A, Qt::ControlModifier}}},
        LookRow{"code_wrapped_lines_selected_from_a_line_start",
                "txtDecrypt",
                kWrapping,
                {{Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier}}},
        // Spaces before a line separator are not highlighted, as a wrapped line's are not.
        LookRow{"code_spaces_before_line_separators_selected",
                "txtDecrypt",
                u"one \u2028two  \u2028three\r\nfour",
                {{Qt::Key_Right}, {Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}}},
        LookRow{"code_spaces_before_line_separators_selected_whole",
                "txtDecrypt",
                u"one \u2028two  \u2028three\r\nfour",
                {{Qt::Key_A, Qt::ControlModifier}}},
        LookRow{"code_typed_and_deleted",
                "txtDecrypt",
                kProse,
                {{Qt::Key_Down},
                 {Qt::Key_Right},
                 {Qt::Key_X},
                 {Qt::Key_Return},
                 {Qt::Key_Y},
                 {Qt::Key_Backspace},
                 {Qt::Key_Delete},
                 {Qt::Key_Delete}}},
        // One line to a paragraph: how far the toolkit's box scrolls a wrapped
        // paragraph back up depends on its scrolling before, to a pixel.
        LookRow{"code_down_to_its_end_and_back_up",
                "txtDecrypt",
                ShortLines(20),
                {{Qt::Key_Down},
                 {Qt::Key_Down},
                 {Qt::Key_Down},
                 {Qt::Key_Down},
                 {Qt::Key_Down},
                 {Qt::Key_Down},
                 {Qt::Key_Down},
                 {Qt::Key_Down},
                 {Qt::Key_Down},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_Up}}},
        // An edit lays out again only until its lines meet the old ones.
        LookRow{"code_edited_at_its_start_then_seen_at_its_end",
                "txtDecrypt",
                Prose(20000, u""),
                {{Qt::Key_End, Qt::ControlModifier},
                 {Qt::Key_Home, Qt::ControlModifier},
                 {Qt::Key_W},
                 {Qt::Key_W},
                 {Qt::Key_Delete},
                 {Qt::Key_End, Qt::ControlModifier}}},
        LookRow{"code_typed_on_the_top_line_in_view",
                "txtDecrypt",
                ShortLines(30),
                {{Qt::Key_End, Qt::ControlModifier},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_W},
                 {Qt::Key_Backspace},
                 {Qt::Key_Backspace}}},
        LookRow{"code_up_from_its_end_over_wrapped_lines",
                "txtDecrypt",
                kProse,
                {{Qt::Key_End, Qt::ControlModifier},
                 {Qt::Key_Up},
                 {Qt::Key_Up},
                 {Qt::Key_End},
                 {Qt::Key_Up},
                 {Qt::Key_Down},
                 {Qt::Key_Home, Qt::ShiftModifier}},
                false,
                false},
        LookRow{"code_with_lone_breaks",
                "txtDecrypt",
                Prose(2000, u"\n") + u"\r\u2029end\r\n",
                {{Qt::Key_End, Qt::ControlModifier}}},
        LookRow{"code_disabled", "txtDecrypt", kProse, {}, true},
        // What an input method composes is shown at the caret, underlined, before it is text.
        LookRow{"code_composing_mid_line",
                "txtDecrypt",
                ShortLines(30) + kProse,
                {{Qt::Key_Down}, {Qt::Key_Right}, {Qt::Key_Right}},
                false,
                true,
                QStringLiteral("\u00f1i\u00f1o")},
        LookRow{"email_composing",
                "txtEmail",
                u"someone.else@example.com",
                {{Qt::Key_Home}, {Qt::Key_Right}},
                false,
                true,
                QStringLiteral("n\u00ef")},
        LookRow{"email_short", "txtEmail", u"someone.else@example.com", {}},
        LookRow{"email_long_at_its_end", "txtEmail", Prose(500, u""), {{Qt::Key_End}}},
        LookRow{
            "email_long_back_home_and_selected",
            "txtEmail",
            Prose(500, u""),
            {{Qt::Key_End}, {Qt::Key_Home}, {Qt::Key_Right, Qt::ControlModifier}, {Qt::Key_Right, Qt::ShiftModifier}}}),
    RowName{});

TEST(LightText, AnEditLaysOutOnlyTheLinesItChanged)
{
    forms::qt::SetLightTextFrom(1);
    QtProgram program;
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
    program.form().TextBoxNamed("txtDecrypt").SetText(Prose(200000, u""));
    QWidget* box = program.Widget("txtDecrypt");
    box->setFocus();
    forms::qt::LightText* light = forms::qt::LightTextOf(box);
    ASSERT_NE(light, nullptr);
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    const std::size_t whole = light->Lines().LinesLaidOut();
    QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_W);
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    EXPECT_GT(whole, 2000u);
    EXPECT_LT(light->Lines().LinesLaidOut() - whole, 100u) << "lines laid out again after typing at the start";
    forms::qt::SetLightTextFrom(32768);
}

// The toolkit's line edit holds at most 32,767 units: from 32,768 on, a box
// shows its text through LightText, whichever way the text comes.
TEST(LightText, TakesOverFrom32768Units)
{
    QtProgram program;
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
    for (const char* name : {"txtDecrypt", "txtEmail"}) {
        forms::TextBox& box = program.form().TextBoxNamed(name);
        box.SetText(std::u16string(32767, u'a'));
        EXPECT_EQ(forms::qt::LightTextOf(program.Widget(name)), nullptr) << name;
        box.SetText(std::u16string(32768, u'a'));
        EXPECT_NE(forms::qt::LightTextOf(program.Widget(name)), nullptr) << name;
        box.SetText(u"");
        QGuiApplication::clipboard()->setText(QString(32768, u'b'));
        box.SetFocus();
        QTest::keyClick(program.Widget(name), Qt::Key_V, Qt::ControlModifier);
        EXPECT_NE(forms::qt::LightTextOf(program.Widget(name)), nullptr) << name << ", pasted";
        EXPECT_EQ(box.Text().size(), 32768u) << name;
    }
}

// A paste that takes the text over the threshold is undone like any other,
// and so is the typing before it; the first line in view stays.
TEST(LightText, CrossingTheThresholdKeepsTheUndoHistoryAndTheView)
{
    const std::u16string text = ShortLines(30);
    forms::qt::SetLightTextFrom(text.size() + 4);
    QtProgram program;
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
    forms::TextBox& box = program.form().TextBoxNamed("txtDecrypt");
    box.SetText(text);
    auto* edit = qobject_cast<QPlainTextEdit*>(program.Widget("txtDecrypt"));
    edit->setFocus();
    for (int i = 0; i < 20; ++i) QTest::keyClick(edit, Qt::Key_Down);
    for (int i = 0; i < 3; ++i) QTest::keyClick(edit, Qt::Key_Up);  // the caret above the view's bottom
    QTest::keyClick(edit, Qt::Key_X);
    QTextCursor top = edit->cursorForPosition(QPoint(0, 0));
    top.movePosition(QTextCursor::StartOfLine);
    const std::size_t firstInView = forms::ExactPosition(box.Text(), static_cast<std::size_t>(top.position()));
    ASSERT_GT(firstInView, 0u) << "the box scrolled";
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    forms::qt::LightText* light = forms::qt::LightTextOf(edit);
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->FirstInView(), firstInView) << "the view moved";
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box.Text().size(), text.size() + 1) << "the paste undone";
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(box.Text() == text) << "the typing before it undone";
    forms::qt::SetLightTextFrom(32768);
}

// Zero-width text takes no room: laid out as the toolkit lays it out, a
// million units of it would be one line, laid out and painted whole at every
// blink of the caret. The view keeps such lines to a size a paint can afford.
TEST(LightText, InvisibleTextIsShownInLinesOfBoundedSize)
{
    QtProgram program;
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
    program.form().TextBoxNamed("txtDecrypt").SetText(std::u16string(200000, u'\u200B'));
    QWidget* box = program.Widget("txtDecrypt");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    forms::qt::WrappedLines& lines = forms::qt::LightTextOf(box)->Lines();
    std::size_t longest = 0, count = 0;
    for (std::size_t line = 0; lines.Exists(line); ++line, ++count)
        longest = std::max(longest, lines.End(line) - lines.Start(line));
    EXPECT_GT(count, 100u);
    EXPECT_LE(longest, 2000u);
}

// Where a selection made with the button held below the box ended, and
// the first line then in view, in the box's exact positions.
struct HeldBelow {
    std::size_t anchor, caret, firstInView;
};

std::size_t FirstInView(QPlainTextEdit* edit, const std::u16string& exact)
{
    if (forms::qt::LightText* light = forms::qt::LightTextOf(edit)) {
        return light->FirstInView();
    }
    QTextCursor top = edit->cursorForPosition(QPoint(0, 0));
    top.movePosition(QTextCursor::StartOfLine);
    return forms::ExactPosition(exact, static_cast<std::size_t>(top.position()));
}

// Holds the button until the box has scrolled `lines` lines (or five seconds
// pass): the timer's pace is the machine's, and an emulated CPU is slow.
HeldBelow HoldTheButtonBelowTheBox(const std::u16string& text, std::size_t lightFrom, std::size_t lines)
{
    forms::qt::SetLightTextFrom(lightFrom);
    QtProgram program;
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
    forms::TextBox& box = program.form().TextBoxNamed("txtDecrypt");
    box.SetText(text);
    auto* edit = qobject_cast<QPlainTextEdit*>(program.Widget("txtDecrypt"));
    QWidget* surface = edit->viewport();
    const QPoint press(20, 8), below(20, surface->height() + 30);
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, surface->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(surface, &event);
    };
    send(QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    QCursor::setPos(surface->mapToGlobal(below));
    send(QEvent::MouseMove, below, Qt::NoButton, Qt::LeftButton);
    const std::size_t line = text.find(u'\n') + 1;
    static_cast<void>(QTest::qWaitFor([&] { return FirstInView(edit, box.Text()) >= lines * line; }, 5000));
    send(QEvent::MouseButtonRelease, below, Qt::LeftButton, Qt::NoButton);
    const auto selStart = box.SelStart(), selEnd = selStart + box.SelLength();
    const std::size_t firstInView = FirstInView(edit, box.Text());
    forms::qt::SetLightTextFrom(32768);
    return {selStart, selEnd, firstInView};
}

// Held below the box's bottom edge, the button scrolls the box a line at a
// time as the toolkit's does, and the selection follows into what comes in
// view.
TEST(LightText, AButtonHeldBelowTheBoxScrollsItAndSelectsWhatComesInView)
{
    const std::u16string text = ShortLines(26) + ShortLines(26) + ShortLines(26);
    const std::size_t line = ShortLines(1).size();
    for (const std::size_t lightFrom : {std::size_t{1} << 30, std::size_t{1}}) {
        const HeldBelow held = HoldTheButtonBelowTheBox(text, lightFrom, 3);
        const char* view = lightFrom == 1 ? "big view" : "toolkit's box";
        EXPECT_LT(held.anchor, line) << view << ": pressed on the first line";
        EXPECT_GE(held.firstInView, 3 * line) << view << ": scrolled three lines or more";
        EXPECT_GT(held.caret, held.firstInView + 3 * line) << view << ": selected into the lines in view";
    }
}

}  // namespace
}  // namespace ravelon::testing
