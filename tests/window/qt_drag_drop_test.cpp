// Dragging text with the mouse and dropping it, as a user does: real pointer
// events through the X server's test extension, so that the toolkit runs its
// own drag loop. Needs the xcb platform on a display; skipped elsewhere.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>
// After GoogleTest and Qt: Xlib's macros (None, Bool) would break their headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "platform/qt/qt_text_boxes.h"
#include "platform/qt/testing_hooks.h"
#include "tests/row_name.h"
#include "tests/window/qt_driver.h"

namespace ravelon::testing {
namespace {

using namespace std::chrono_literals;

// Presses the first button at `from`, moves to `to` in small steps and
// releases it there, from a thread of its own: the drag loop runs in the
// program's, and answers the pointer as it would a hand.
void DragWithThePointer(QPoint from, QPoint to)
{
    ::Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    const auto moveTo = [&](QPoint p) {
        XTestFakeMotionEvent(display, -1, p.x(), p.y(), 0);
        XFlush(display);
        std::this_thread::sleep_for(30ms);
    };
    moveTo(from);
    XTestFakeButtonEvent(display, 1, 1, 0);
    XFlush(display);
    std::this_thread::sleep_for(100ms);
    constexpr int kSteps = 12;
    for (int i = 1; i <= kSteps; ++i) moveTo(from + (to - from) * i / kSteps);
    std::this_thread::sleep_for(150ms);
    XTestFakeButtonEvent(display, 1, 0, 0);
    XFlush(display);
    XCloseDisplay(display);
}

// Where a position of a box's (toolkit-shown) text is drawn, in the widget
// that takes its mouse: the text edit's viewport, or the line edit.
QPoint PointOf(QWidget* widget, int documentPosition)
{
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        QTextCursor cursor(edit->document());
        cursor.setPosition(documentPosition);
        const QRect caret = edit->cursorRect(cursor);
        return QPoint(caret.center().x() + 1, caret.center().y());
    }
    auto* line = qobject_cast<QLineEdit*>(widget);
    const int kept = line->cursorPosition();
    line->setCursorPosition(documentPosition);
    const QPoint at = line->inputMethodQuery(Qt::ImCursorRectangle).toRect().center() + QPoint(1, 0);
    line->setCursorPosition(kept);
    return at;
}

struct DropRow {
    const char* name;
    const char* box;
    std::u16string text;
    bool fromElsewhere;  // from another program's box; otherwise a word of the box's text moves within it
    std::size_t selStart, selLength;
    int dropAt;  // a position in the box's document
    std::u16string textAfter;
    friend void PrintTo(const DropRow& row, std::ostream* os) { *os << row.name; }
};

// What a drag and drop left in the box, and what undoing it left.
struct DropSeen {
    std::u16string text;
    std::size_t selStart = 0, selLength = 0;
    std::u16string undone;
};

// Drags as the row says into the box shown by the toolkit (`lightFrom` past
// its text) or by the big-text view. Where the pointer goes is found on the
// toolkit's box, then used for both.
DropSeen DragAndDropIn(const DropRow& row, std::size_t lightFrom, std::optional<std::pair<QPoint, QPoint>>& points)
{
    forms::qt::SetLightTextFrom(lightFrom);
    QtProgram program;
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");  // the code box is enabled with an address
    forms::TextBox& box = program.form().TextBoxNamed(row.box);
    box.SetText(row.text);
    QWidget* widget = program.Widget(row.box);
    auto* edit = qobject_cast<QPlainTextEdit*>(widget);
    QWidget* surface = edit ? edit->viewport() : widget;
    std::optional<QLineEdit> other;
    QWidget* source = surface;
    if (row.fromElsewhere) {
        QLineEdit& elsewhere = other.emplace(QStringLiteral("one two three"));
        elsewhere.setDragEnabled(true);
        elsewhere.move(program.window()->frameGeometry().bottomRight() + QPoint(20, 20));
        elsewhere.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&elsewhere));
        source = &elsewhere;
    }
    QApplication::processEvents();
    if (!points) {
        // Between two characters of the selection: no rounding decides which.
        const int middle = static_cast<int>(row.selStart + row.selLength / 2);
        QWidget* from = row.fromElsewhere ? source : widget;
        points.emplace((PointOf(from, middle) + PointOf(from, middle + 1)) / 2, PointOf(widget, row.dropAt));
    }
    if (row.fromElsewhere) {
        other->setSelection(static_cast<int>(row.selStart), static_cast<int>(row.selLength));
    } else {
        widget->setFocus();
        box.SetSelStart(row.selStart);
        box.SetSelLength(row.selLength);
    }
    QApplication::processEvents();

    std::atomic<bool> released = false;
    std::thread hand([&, from = source->mapToGlobal(points->first), to = surface->mapToGlobal(points->second)] {
        DragWithThePointer(from, to);
        released = true;
    });
    for (int waited = 0; waited < 5000 && !released; waited += 20) QTest::qWait(20);
    hand.join();
    QTest::qWait(100);

    DropSeen seen{box.Text(), box.SelStart(), box.SelLength(), {}};
    if (edit && lightFrom > row.text.size()) {
        EXPECT_EQ(edit->toPlainText(), forms::qt::ToQString(forms::AsInDocument(seen.text, u'\n')))
            << "what the box shows";
    }
    QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
    seen.undone = box.Text();
    forms::qt::SetLightTextFrom(32768);
    return seen;
}

class DragAndDrop : public ::testing::TestWithParam<DropRow> {
protected:
    void SetUp() override
    {
        if (qgetenv("QT_QPA_PLATFORM") != "xcb") GTEST_SKIP() << "drags need an X display";
    }
};

TEST_P(DragAndDrop, LeavesTheExactTextAsTheBoxShowsItAndIsUndoneWhole)
{
    const DropRow& row = GetParam();
    std::optional<std::pair<QPoint, QPoint>> points;
    const DropSeen toolkit = DragAndDropIn(row, std::size_t{1} << 30, points);
    EXPECT_TRUE(toolkit.text == row.textAfter)
        << "the exact text: " << forms::qt::ToQString(toolkit.text).toUtf8().toPercentEncoding().toStdString();
    EXPECT_TRUE(toolkit.undone == row.text) << "the exact text after undoing the drop";

    const DropSeen light = DragAndDropIn(row, 1, points);
    EXPECT_TRUE(light.text == row.textAfter)
        << "the big view's text: " << forms::qt::ToQString(light.text).toUtf8().toPercentEncoding().toStdString();
    EXPECT_EQ(light.selStart, toolkit.selStart) << "the big view's selection";
    EXPECT_EQ(light.selLength, toolkit.selLength) << "the big view's selection";
    EXPECT_TRUE(light.undone == row.text) << "the big view's text after undoing the drop";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DragAndDrop,
    ::testing::Values(
        DropRow{"word_to_the_end_of_its_line", "txtDecrypt", u"one>two>three", false, 4, 3, 13, u"one>>threetwo"},
        // The drop spans line breaks of both kinds, which stay as they were.
        DropRow{"word_past_a_crlf_and_a_lone_lf", "txtDecrypt", u"one two three\r\nfour\nfive", false, 4, 3, 23,
                u"one  three\r\nfour\nfivetwo"},
        DropRow{"word_to_the_start", "txtDecrypt", u"one two\r\nthree", false, 9, 5, 0, u"threeone two\r\n"},
        DropRow{"word_from_another_program", "txtDecrypt", u"ab\r\ncd\ref", true, 4, 3, 5, u"ab\r\ncdtwo\ref"},
        // The line edit drags nothing of its own: pressed in its selection, it selects anew.
        DropRow{"address_selects_anew_to_its_end", "txtEmail", u"someone@example.com", false, 8, 7, 19,
                u"someone@example.com"},
        DropRow{"address_selects_anew_to_its_start", "txtEmail", u"someone@example.com", false, 8, 7, 0,
                u"someone@example.com"},
        DropRow{"address_word_from_another_program", "txtEmail", u"someone@example.com", true, 4, 3, 7,
                u"someonetwo@example.com"}),
    RowName{});

// What the X primary selection holds after selecting in a box, and what a
// middle click then pastes: the big-text view as the toolkit's box.
struct PrimarySeen {
    QString primary;
    std::u16string text;
};

PrimarySeen SelectThenMiddleClick(const char* name, std::size_t lightFrom, bool byMouse, bool byDrag)
{
    forms::qt::SetLightTextFrom(lightFrom);
    QtProgram program;
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
    forms::TextBox& box = program.form().TextBoxNamed(name);
    box.SetText(u"alpha beta gamma");
    QWidget* widget = program.Widget(name);
    auto* edit = qobject_cast<QPlainTextEdit*>(widget);
    QWidget* surface = edit ? edit->viewport() : widget;
    widget->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"), QClipboard::Selection);
    QTest::keyClick(widget, Qt::Key_Home, edit ? Qt::ControlModifier : Qt::NoModifier);
    if (byMouse) {
        QTest::mouseDClick(surface, Qt::LeftButton, Qt::NoModifier, QPoint(12, surface->height() / 2));
    } else if (byDrag) {
        const QPoint from = edit ? edit->cursorRect().center() : QPoint(6, surface->height() / 2);
        QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(surface, from + QPoint(30, 0));
        QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, from + QPoint(30, 0));
    } else {
        for (int i = 0; i < 5; ++i) QTest::keyClick(widget, Qt::Key_Right, Qt::ShiftModifier);
    }
    QTest::qWait(50);
    PrimarySeen seen{QGuiApplication::clipboard()->text(QClipboard::Selection), {}};
    QTest::keyClick(widget, Qt::Key_End, edit ? Qt::ControlModifier : Qt::NoModifier);
    QTest::mouseClick(surface, Qt::MiddleButton, Qt::NoModifier, QPoint(surface->width() - 8, surface->height() / 2));
    QTest::qWait(50);
    seen.text = box.Text();
    forms::qt::SetLightTextFrom(32768);
    return seen;
}

TEST(PrimarySelection, IsSetAndPastedAsByTheToolkitsBox)
{
    if (qgetenv("QT_QPA_PLATFORM") != "xcb") GTEST_SKIP() << "the primary selection needs an X display";
    for (const char* name : {"txtDecrypt", "txtEmail"})
        for (int way = 0; way < 3; ++way) {
            const bool byMouse = way == 1, byDrag = way == 2;
            const PrimarySeen toolkit = SelectThenMiddleClick(name, std::size_t{1} << 30, byMouse, byDrag);
            const PrimarySeen light = SelectThenMiddleClick(name, 1, byMouse, byDrag);
            const std::string what = std::string(name) + (byMouse  ? ", double click"
                                                          : byDrag ? ", drag"
                                                                   : ", Shift+Right");
            EXPECT_EQ(light.primary, toolkit.primary) << what;
            EXPECT_TRUE(light.text == toolkit.text) << what << ": " << forms::qt::ToQString(light.text).toStdString()
                                                    << " against " << forms::qt::ToQString(toolkit.text).toStdString();
        }
}

}  // namespace
}  // namespace ravelon::testing
