#pragma once

// What a text box shows and edits when its text is too big for the toolkit's
// own boxes, which lay the whole text out again at every blink of the cursor
// and every keystroke. Here only the lines in view are laid out; an edit lays
// out again only the lines it changed, and the wrapped lines are found a
// window of text at a time, so memory stays near the text's own size.
// The view (placing, painting, scrolling, the caret's place) is light_text.cpp;
// editing and input are light_text_editing.cpp.

#include <QElapsedTimer>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QTextLayout>
#include <QTextOption>
#include <QTimer>
#include <QVariant>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/edit_history.h"
#include "platform/line_breaks.h"
#include "platform/qt/wrapped_lines.h"
#include "platform/store_runs.h"

class QContextMenuEvent;
class QDropEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMenu;
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
    using Joins = EditHistory::Joins;

    // Shows and edits `text`, which the box owns, in `widget`; screen readers
    // know the box as `box`, which holds `widget` or is it.
    LightText(QWidget& widget, QWidget& box, std::u16string& text, bool singleLine);

    std::function<void()> edited;  // after each change the user makes

    void Place(const Placement& placement);
    void SetWrapMode(QTextOption::WrapMode mode);

    // The box's text was replaced whole: the caret goes to its start (a
    // single line's to its end) and the undo history starts again.
    void Reset();
    // Replaces [from, to) with `text`, as the user would; the caret follows it.
    void Replace(std::size_t from, std::size_t to, std::u16string_view text, Joins joins = Joins::kNever);
    // The undo history the box had before this view took its text over.
    void TakeHistory(EditHistory history);
    EditHistory& History() { return history_; }

    const std::u16string& Text() const { return text_; }
    std::size_t Caret() const { return caret_; }
    std::size_t Anchor() const { return anchor_; }
    std::size_t SelStart() const { return std::min(anchor_, caret_); }
    std::size_t SelLength() const { return std::max(anchor_, caret_) - SelStart(); }
    void Select(std::size_t anchor, std::size_t caret, bool reveal = true);
    void SelectAll();

    void CopySelection() const;
    void PasteClipboard();
    // Puts the selection on the X primary selection, where there is one.
    void OfferSelection() const;

    void Paint(QPainter& painter, const QRect& dirty);
    bool Key(QKeyEvent* event);
    void MousePress(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseRelease(QMouseEvent* event);
    void MouseDoubleClick(QMouseEvent* event);
    void Wheel(QWheelEvent* event);
    // Text dragged over the box, and dropped on it; false where it may not be.
    bool DragMove(QDropEvent* event);
    void DragLeave();
    void Drop(QDropEvent* event);
    void InputMethod(QInputMethodEvent* event);
    // Asks the input method to commit what it composes, and stops showing it.
    void CommitPreedit();
    // What an input method asks of the box, as the toolkit's box answers it;
    // `otherwise` is the toolkit's own answer, for what the text does not decide.
    QVariant InputMethodQuery(Qt::InputMethodQuery query, const QVariant& otherwise);
    // Shows `menu`, the toolkit's own for the box, with its actions taken over.
    void ContextMenu(QContextMenuEvent* event, QMenu& menu);
    void FocusChanged();

    // The unit at `position` on the screen; empty when it is out of view.
    QRect CharacterRect(std::size_t position);
    // Where the caret is drawn in the widget, a pixel wide; none far out of view.
    std::optional<QRectF> CaretPlace();
    // The unit at `point` in the widget, or the caret position nearest it.
    std::size_t PositionAt(QPointF point);
    // The line that shows `position`, up to where End would go on it.
    std::pair<std::size_t, std::size_t> LineAround(std::size_t position);
    // Where the line `step` lines from the one showing `position` starts, if there is one.
    std::optional<std::size_t> LineStartAway(std::size_t position, int step);
    // The first line in view, and scrolling to put the line holding `position` there.
    std::size_t FirstInView() const { return lines_.Start(top_); }
    void ShowFrom(std::size_t position);

    // Positions and text as the toolkit's box would tell them to a screen
    // reader: a multi-line box tells each line break as one '\n'.
    int Told(std::size_t position) const;
    QString Told(std::u16string_view text) const;
    std::size_t Exact(int told) const;  // the position told, in the text

    WrappedLines& Lines() { return lines_; }

private:
    static constexpr std::size_t kSingleLineReach = 256;    // a single line is laid out this far beyond the view
    static constexpr std::size_t kSingleLineWhole = 16384;  // or whole, if right to left and no longer
    // ---- lines (light_text.cpp) ----
    void ForgetAllLines();
    void ScrollToStart();
    std::size_t LastCaretPosition(std::size_t line);
    std::size_t PositionOnLine(std::size_t line, qreal x);
    std::size_t EndOfLine(std::size_t line);
    void ScrollSingleLine();
    const ShownLine& ScrolledLine();
    qreal XOf(std::size_t from, std::size_t to);
    std::size_t SingleLineReach();
    std::size_t CutAfterLeftToRight(std::size_t from) const;

    // ---- caret and view (light_text.cpp) ----
    std::size_t Step(std::size_t position, bool forward) const;
    std::size_t CursorStep(std::size_t position, bool forward,
                           QTextLayout::CursorMode mode = QTextLayout::SkipCharacters) const;
    std::optional<std::size_t> VerticalMove(std::size_t position, int lines, bool toEnds);
    void MoveCaret(std::size_t to, bool select, bool reveal = true);
    void EnsureCaretVisible();
    void RevealCaret();
    std::size_t TopWithLineAtBottom(std::size_t line, std::size_t floor);
    void KeepViewFilled();
    qreal TopOfLines(std::size_t top, bool continuing = false);
    qreal RoomBelow(std::size_t top);
    qreal ViewTop();
    void SetTop(std::size_t top);
    std::size_t Filled(std::size_t top);
    std::optional<qreal> LineTopInView(std::size_t line, qreal within = std::numeric_limits<qreal>::max());
    void PageMove(int direction, bool select);
    int PageStep();
    void ScrollBy(int lines);
    void RestartBlink();
    // The line [start, end) laid out with the input method's composition, if it is there.
    std::unique_ptr<ShownLine> WithPreedit(std::size_t start, std::size_t end, bool caretAtEnd);
    // ---- the view over edits (light_text_kept_top.cpp) ----
    // The text edit keeps its first line in view as a paragraph's number and
    // a line's number in it, over edits too.
    struct KeptTop {
        std::size_t line = 0;                            // in its paragraph
        std::optional<std::size_t> firstLine;            // of the paragraph, where the edit is in it or after it
        std::optional<std::size_t> paragraphsAfterEdit;  // where it comes after: those that start after the edit
        bool fromTopLine = false;                        // the edit starts in the first line in view or after it
        bool topGoesOn = false;                          // and that line went on from the line before
    };
    KeptTop KeepTop(std::size_t editAt);
    void PutBackTop(KeptTop kept, std::size_t editAt);
    std::size_t InScrollRange(std::size_t line);
    bool StartsParagraph(std::size_t line) const;

    // ---- editing (light_text_editing.cpp) ----
    // Replaces `replaces` units at `at` with `text`; returns the change that undoes it.
    EditHistory::Selection LineEditMark(std::size_t from, std::size_t to, bool removes, bool replacesSelection) const;
    void KeyMovesCaret(std::size_t to, bool select);
    void EndTypingOnSelectingAll();
    EditHistory::Change Apply(std::size_t at, std::size_t replaces, std::u16string_view text,
                              const std::vector<StoreRun>& stored = {});
    void Undo();
    void Redo();

    // ---- the mouse (light_text_mouse.cpp, light_text_drag.cpp) ----
    std::optional<std::size_t> StartOfWord(std::size_t at) const;
    std::optional<std::size_t> EndOfWord(std::size_t at) const;
    void ExtendSelection(std::size_t at, qreal x, bool reveal);
    void ExtendByParagraphs(std::size_t at, bool reveal);
    void ExtendByWords(std::size_t at, qreal x, bool reveal);
    void AutoScroll();
    QPointF InDocument(QPointF at);
    void MightDrag(QPointF at);
    void StartDragFarEnough(QPointF at);
    void ReleaseWithoutDrag(QPointF at);

    // The line edit ends its typing where the user moves its caret (an
    // edit moves it and ends nothing): held over what the mouse does.
    struct CaretMoveEndsTyping {
        LightText& text;
        const std::size_t before = text.caret_;
        ~CaretMoveEndsTyping()
        {
            if (text.singleLine_ && text.caret_ != before) text.history_.StopJoining();
        }
    };

    QWidget& widget_;
    QWidget& box_;
    std::u16string& text_;
    const bool singleLine_;
    Placement placement_;
    WrappedLines lines_;
    DocumentPositions positions_;
    StoreRuns store_;  // the text edit's: where its document keeps each unit
    EditHistory history_;

    std::size_t top_ = 0;  // the first line in view
    qreal fracture_ = 0;   // and how far above its place it is, less than a pixel
    // The text edit's numbers for the first line in view count one line past
    // the end of a paragraph an edit shortened: the line is placed as if it
    // went on from that paragraph's last line, until the view next moves.
    bool topCountedPastParagraph_ = false;
    std::size_t scrollFrom_ = 0;  // single line: where positions count from, not far before the caret
    qreal scrollPixels_ = 0;      // the view's left edge from there
    std::size_t scrolledTo_ = 0;  // and how far on it is laid out
    qreal anchorFraction_ = 0;    // where scrollFrom_ lies in the whole line, past a whole pixel
    std::size_t anchor_ = 0, caret_ = 0;
    qreal caretX_ = -1;                // kept over vertical moves
    std::optional<qreal> pageCaretY_;  // kept over a run of page moves
    bool caretShown_ = true;
    QElapsedTimer sinceDoubleClick_;  // a press soon after, where it was, is a third click
    QPointF doubleClickAt_;           // as the text edit's document places it
    std::optional<std::pair<std::size_t, std::size_t>> wordClicked_;        // by the last double click
    qreal wordClickedX_ = -1;                                               // and its end's x then
    std::optional<std::pair<std::size_t, std::size_t>> paragraphsClicked_;  // by the last triple click
    qreal paragraphsClickedX_ = -1;                                         // and the caret's x it left
    std::optional<Preedit> preedit_;                                        // what an input method composes
    std::optional<QPointF> dragFrom_;                                       // a press in the selection
    std::optional<std::size_t> dropCaret_;                                  // where a drag over the box would drop
    QTimer autoScroll_;                                                     // while selecting beyond the edge
    std::shared_ptr<bool> alive_ = std::make_shared<bool>();                // for what outlives a drag's loop
    QRect caretRect_;
    QTimer blink_;
};

}  // namespace ravelon::forms::qt
