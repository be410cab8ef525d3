#pragma once

// What a text box shows and edits when its text is too big for the toolkit's
// own boxes, which lay the whole text out again at every blink of the cursor
// and every keystroke. Here only the lines in view are laid out; an edit lays
// out again only the lines it changed, and the wrapped lines are found a
// window of text at a time, so memory stays near the text's own size.

#include <QPointF>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <QTextOption>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QContextMenuEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QWheelEvent;
class QWidget;

namespace ravelon::forms::qt {

class LightText {
public:
    // Where the box's own text would be, in the coordinates of `widget`.
    struct Placement {
        QRect area;        // what may be painted
        QPointF origin;    // the top left of the first line
        qreal width = 0;   // the width lines wrap at; a single line's width in view
        qreal ascent = 0;  // a single line: its baseline lies this far below origin
    };

    // Shows and edits `text`, which the box owns, in `widget`; screen readers
    // know the box as `box`, which holds `widget` or is it.
    LightText(QWidget& widget, QWidget& box, std::u16string& text, bool singleLine);

    std::function<void()> edited;  // after each change the user makes

    void Place(const Placement& placement);
    void SetWrapMode(QTextOption::WrapMode mode);

    // The box's text was replaced whole: the caret goes to its start.
    void Reset();
    // Whether an edit may join the undo step before it, as the toolkit's box
    // joins typing: characters typed or pasted one after another, and
    // characters deleted one after another, are undone together.
    enum class Joins { kNever, kAsTyping };
    // Replaces [from, to) with `text`, as the user would; the caret follows it.
    void Replace(std::size_t from, std::size_t to, std::u16string_view text, Joins joins = Joins::kNever);

    const std::u16string& Text() const { return text_; }
    std::size_t Caret() const { return caret_; }
    std::size_t SelStart() const { return std::min(anchor_, caret_); }
    std::size_t SelLength() const { return std::max(anchor_, caret_) - SelStart(); }
    void Select(std::size_t anchor, std::size_t caret);

    void CopySelection() const;
    void PasteClipboard();

    void Paint(QPainter& painter, const QRect& dirty);
    bool Key(QKeyEvent* event);
    void MousePress(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseDoubleClick(QMouseEvent* event);
    void Wheel(QWheelEvent* event);
    void InputMethod(QInputMethodEvent* event);
    void ContextMenu(QContextMenuEvent* event);
    void FocusChanged();

    // The unit at `position` on the screen; empty when it is out of view.
    QRect CharacterRect(std::size_t position);
    // The unit at `point` in the widget, or the caret position nearest it.
    std::size_t PositionAt(QPointF point);
    // The line that shows `position`, up to where End would go on it.
    std::pair<std::size_t, std::size_t> LineAround(std::size_t position);

    // Positions and text as the toolkit's box would tell them to a screen
    // reader: a multi-line box tells each line break as one '\n'.
    int Told(std::size_t position) const;
    QString Told(std::u16string_view text) const;
    std::size_t Exact(int told) const;  // the position told, in the text

    // What the lines show, one after another, each line break as U+2029:
    // every line laid out, as painting would.
    std::u16string ShownText();
    // How many lines have been laid out to find where they wrap.
    std::size_t LinesLaidOut() const { return linesLaidOut_; }

private:
    // Replaces `replaces` units at `at` with `text`.
    struct Change {
        std::size_t at;
        std::u16string text;
        std::size_t replaces;
        // How the undo step ends, for the next edit to join it.
        enum class Tail { kOther, kInserted, kRemovedOne } tail = Tail::kOther;
    };
    bool JoinLastStep(const Change& undo);

    // ---- lines ----
    void ForgetAllLines();
    void ForgetLinesFrom(std::size_t at, std::size_t removed, std::size_t inserted);
    void AddLineStart(std::size_t start);
    void LayOutMore();
    void LayOutThrough(std::size_t position);
    void LayOutLines(std::size_t count);
    std::size_t LineOf(std::size_t position);
    bool LineExists(std::size_t line);
    std::size_t LineEnd(std::size_t line);  // before its line break, if any
    bool Wrapped(std::size_t line);
    std::size_t LastCaretPosition(std::size_t line);
    std::size_t EndOfLine(std::size_t line);
    QTextLayout& LayOutLine(std::size_t line);
    QTextLayout& LayOutUnits(std::size_t from, std::size_t to);

    // ---- the single line ----
    qreal Advance(std::size_t from, std::size_t to) const;
    void ScrollSingleLine();

    // ---- caret and view ----
    std::size_t Step(std::size_t position, bool forward) const;
    std::size_t CursorStep(std::size_t position, bool forward,
                           QTextLayout::CursorMode mode = QTextLayout::SkipCharacters) const;
    std::optional<std::size_t> VerticalMove(std::size_t position, int lines, bool select);
    void MoveCaret(std::size_t to, bool select);
    void EnsureCaretVisible();
    std::size_t TopWithLineAtBottom(std::size_t line, std::size_t floor);
    void KeepViewFilled();
    qreal TopOfLines(std::size_t top);
    qreal RoomBelow(std::size_t top);
    int VisibleLines();
    void ScrollBy(int lines);
    void RestartBlink();
    // Returns the change that undoes it.
    Change Apply(std::size_t at, std::size_t replaces, std::u16string_view text);
    void Undo();
    void Redo();

    QWidget& widget_;
    QWidget& box_;
    std::u16string& text_;
    const bool singleLine_;
    Placement placement_;
    QTextOption::WrapMode wrapMode_ = QTextOption::WrapAtWordBoundaryOrAnywhere;

    std::vector<std::size_t> starts_{0};  // the lines found so far, in order
    bool allLines_ = false;               // starts_ holds every line
    std::vector<std::size_t> resync_;     // lines after the last edit, as they were
    std::size_t resyncNext_ = 0;          // the first of them not yet passed
    bool resyncReachesEnd_ = false;
    std::size_t linesLaidOut_ = 0;

    std::size_t top_ = 0;         // the first line in view
    std::size_t scrollFrom_ = 0;  // single line: the first unit in view
    qreal scrollPixels_ = 0;      // and how much of it is hidden
    std::size_t anchor_ = 0, caret_ = 0;
    qreal caretX_ = -1;  // kept over vertical moves
    bool caretShown_ = true;
    QRect caretRect_;
    QTimer blink_;
    std::vector<Change> undo_, redo_;
    bool joinable_ = false;  // the last undo step may take the next edit
    std::map<std::pair<std::size_t, std::size_t>, std::unique_ptr<QTextLayout>> layouts_;  // lines as last laid out
};

}  // namespace ravelon::forms::qt
