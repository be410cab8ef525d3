// The big-text view and the mouse: clicks, double and triple clicks, the
// primary selection's middle click, and the wheel.

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>

#include "platform/qt/light_text.h"
#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

void LightText::MousePress(QMouseEvent* event)
{
    const CaretMoveEndsTyping ends{*this};
    if (event->button() != Qt::LeftButton) return;
    CommitPreedit();
    // The caret's place across is found anew wherever the press moves the
    // caret; a Shift+click that leaves the selection leaves it too.
    const bool tripleClick =
        sinceDoubleClick_.isValid() && sinceDoubleClick_.elapsed() < QApplication::doubleClickInterval() &&
        (InDocument(event->position()) - doubleClickAt_).toPoint().manhattanLength() < QApplication::startDragDistance();
    // Other clicks between leave a third click possible; after it, the text
    // edit takes no more, the line edit selects all again until the time is up.
    if (tripleClick && !singleLine_) sinceDoubleClick_.invalidate();
    if (!tripleClick) {
        const std::size_t at = PositionAt(event->position());
        if (event->modifiers() & Qt::ShiftModifier) {
            ExtendSelection(at, event->position().x(), true);
            return RevealCaret();  // as the text edit's press, even when the selection stays
        }
        // The text edit may drag its selection away; the line edit drags nothing.
        if (!singleLine_ && SelLength() > 0 && at >= SelStart() && at <= SelStart() + SelLength())
            return MightDrag(event->position());
        wordClicked_.reset();
        paragraphsClicked_.reset();
        caretX_ = -1;
        return MoveCaret(at, false);
    }
    caretX_ = -1;
    // A third click selects the line edit's whole text, or the text edit's
    // paragraph with the break that ends it: the caret's paragraph, which
    // keys may have moved since the double click.
    if (singleLine_) {
        EndTypingOnSelectingAll();
        return Select(0, text_.size());
    }
    const auto [from, to] = ParagraphAround(text_, caret_);
    Select(from, to + BreakAt(text_, to));
    // What the text edit keeps of it, empty at the text's empty last paragraph, replaces what it kept.
    paragraphsClicked_.reset();
    if (to + BreakAt(text_, to) > from) paragraphsClicked_ = std::make_pair(from, to + BreakAt(text_, to));
    // The text edit's cursor remembers where it was across, for Up and Down:
    // at the next paragraph's start, or at the text's end.
    const std::size_t line = lines_.LineOf(caret_);
    paragraphsClickedX_ = lines_.LayOut(line).CursorToX(static_cast<int>(caret_ - lines_.Start(line)));
}

// Where a point of the box lies for the text edit's document, as it measures
// how near a third click is to the second: lifted by the lines of the first
// paragraph in view scrolled past above it (and the fraction of a pixel),
// not by the paragraphs above that; at the text's top, lowered by the margin.
QPointF LightText::InDocument(QPointF at)
{
    if (singleLine_ || !lines_.Exists(top_)) return at;
    const std::size_t first = lines_.LineOf(ParagraphAround(text_, lines_.Start(top_)).first);
    qreal lift = fracture_;
    for (std::size_t line = first; line < top_; ++line) lift += lines_.LayOut(line).Line().height();
    if (top_ == 0) lift -= placement_.origin.y() - placement_.area.top();
    return at + QPointF(0, lift);
}

// A Shift+click, or the mouse moved with its button held: as the text edit,
// by whole paragraphs after a triple click and by whole words after a double
// click, otherwise to the place itself.
void LightText::ExtendSelection(std::size_t at, qreal x, bool reveal)
{
    if (paragraphsClicked_) return ExtendByParagraphs(at, reveal);
    if (wordClicked_) return ExtendByWords(at, x, reveal);
    caretX_ = -1;
    MoveCaret(at, true, reveal);
}

// As the text edit after a triple click: Shift+click selects whole
// paragraphs, from the one clicked three times to the one clicked now.
void LightText::ExtendByParagraphs(std::size_t at, bool reveal)
{
    const auto [start, end] = *paragraphsClicked_;
    if (at >= start && at <= end) {  // as the text edit puts its cursor back: shown, and where it was across
        Select(start, end);
        caretX_ = paragraphsClickedX_;
        return;
    }
    caretX_ = -1;  // found again where the caret goes
    const auto [from, to] = ParagraphAround(text_, at);
    if (at < start) return Select(end, from, reveal);
    Select(start, to + BreakAt(text_, to), reveal);
}

// As the text edit after a double click: the word clicked stays selected,
// and the selection takes in the word under the pointer up to whichever of
// its edges the pointer is nearer; outside that word's extent on its line
// the selection stays as it is.
void LightText::ExtendByWords(std::size_t at, qreal x, bool reveal)
{
    const auto [wordFrom, wordTo] = *wordClicked_;
    if (at >= wordFrom && at <= wordTo) {  // shown, as above, and where its end was across when clicked
        Select(wordFrom, wordTo);
        caretX_ = wordClickedX_;
        return;
    }
    const std::optional<std::size_t> start = StartOfWord(at);
    const std::optional<std::size_t> end = start ? EndOfWord(*start) : std::nullopt;
    if (!end) return;
    const std::size_t line = lines_.LineOf(*start);
    if (lines_.LineOf(*end) != line) return;
    const ShownLine& shown = lines_.LayOut(line);
    const qreal startX = placement_.origin.x() + shown.CursorToX(static_cast<int>(*start - lines_.Start(line)));
    const qreal endX = placement_.origin.x() + shown.CursorToX(static_cast<int>(*end - lines_.Start(line)));
    if (x < startX || x > endX) return;
    caretX_ = -1;  // found again where the caret goes
    Select(at < wordTo ? wordTo : wordFrom, x - startX < endX - x ? *start : *end, reveal);
}

// As the toolkit's boxes: releasing the first button offers what it selected;
// the middle button pastes the primary selection, where it was clicked in a
// text edit, at the caret in a line edit.
void LightText::MouseRelease(QMouseEvent* event)
{
    autoScroll_.stop();
    if (dragFrom_ && event->button() == Qt::LeftButton) return ReleaseWithoutDrag(event->position());
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection()) return;
    if (event->button() == Qt::LeftButton) return OfferSelection();
    if (event->button() != Qt::MiddleButton || !widget_.isEnabled()) return;
    const QString pasted = clipboard->text(QClipboard::Selection);
    if (pasted.isEmpty()) return;
    const std::size_t at = singleLine_ ? caret_ : PositionAt(event->position());
    Replace(at, at, FromQString(pasted), Joins::kAsTyping);
}

// The text edit leaves the view where it is while the pointer selects, and
// scrolls it only while the pointer is held beyond its edge.
void LightText::MouseMove(QMouseEvent* event)
{
    const CaretMoveEndsTyping ends{*this};
    if (!(event->buttons() & Qt::LeftButton)) return;
    if (dragFrom_) return StartDragFarEnough(event->position());
    ExtendSelection(PositionAt(event->position()), event->position().x(), singleLine_);
    if (singleLine_ || widget_.rect().contains(event->position().toPoint()))
        autoScroll_.stop();
    else if (!autoScroll_.isActive())
        autoScroll_.start(100);
}

// As the text edit: a line further each time, sooner the further the pointer
// is beyond the edge.
void LightText::AutoScroll()
{
    const CaretMoveEndsTyping ends{*this};
    const QPoint at = widget_.mapFromGlobal(QCursor::pos());
    ExtendSelection(PositionAt(at), at.x(), false);
    const QRect visible = widget_.rect();
    const int deltaY = std::max(at.y() - visible.top(), visible.bottom() - at.y()) - visible.height();
    const int deltaX = std::max(at.x() - visible.left(), visible.right() - at.x()) - visible.width();
    const int delta = std::max({deltaX, deltaY, 7});
    if (std::max(deltaX, deltaY) < 0) return;
    autoScroll_.start(4900 / (delta * delta));
    if (deltaY > 0) ScrollBy(at.y() < visible.center().y() ? -1 : 1);
}

namespace {

// Where the text edit's word selection stops besides spaces.
bool IsWordSeparator(char16_t c)
{
    return std::u16string_view(u".,?!@#$:;-<>[](){}=/+%&^*'\"`~|\\").find(c) != std::u16string_view::npos;
}

bool IsSeparatorOrSpace(char16_t c)
{
    return QChar(c).isSpace() || IsWordSeparator(c);
}

}  // namespace

// The text edit's moves to the start of the word at `at` and to the end of
// the word from `at`, within the paragraph; none where its cursor would not move.
std::optional<std::size_t> LightText::StartOfWord(std::size_t at) const
{
    if (at == 0 || IsParagraphBreak(text_[at - 1])) return std::nullopt;
    const bool atParagraphEnd = at == text_.size() || IsParagraphBreak(text_[at]);
    if (atParagraphEnd && IsSeparatorOrSpace(text_[at - 1])) return std::nullopt;
    const std::size_t start = CursorStep(atParagraphEnd ? at : at + 1, false, QTextLayout::SkipWords);
    // Within the paragraph the move starts a unit on, so coming back counts as a move.
    return atParagraphEnd && start == at ? std::nullopt : std::optional(start);
}

std::optional<std::size_t> LightText::EndOfWord(std::size_t at) const
{
    const auto inParagraph = [&](std::size_t i) { return i < text_.size() && !IsParagraphBreak(text_[i]); };
    std::size_t to = at;
    if (inParagraph(to) && IsWordSeparator(text_[to])) {
        for (++to; inParagraph(to) && IsWordSeparator(text_[to]); ++to) {
        }
    } else {
        while (inParagraph(to) && !IsSeparatorOrSpace(text_[to])) ++to;
    }
    return to == at ? std::nullopt : std::optional(to);
}

// The word at the click, as the toolkit's boxes find it, without scrolling
// to it: the line edit from the word boundary before the unit clicked to the
// next, less the spaces that end it; the text edit from the start of the
// word (or run of separators) there to its end, on a line that shows text.
void LightText::MouseDoubleClick(QMouseEvent* event)
{
    const CaretMoveEndsTyping ends{*this};
    if (event->button() != Qt::LeftButton) return;
    CommitPreedit();
    caretX_ = -1;
    sinceDoubleClick_.start();
    doubleClickAt_ = InDocument(event->position());
    const std::size_t at = PositionAt(event->position());
    if (singleLine_) {
        const std::size_t from = CursorStep(std::min(at + 1, text_.size()), false, QTextLayout::SkipWords);
        std::size_t to = CursorStep(from, true, QTextLayout::SkipWords);
        while (to > at && to > from && QChar(text_[to - 1]).isSpace()) --to;
        if (from != caret_ || to > from) history_.StopJoining();  // its caret goes to the word's start, then on
        anchor_ = from;
        return MoveCaret(std::max(from, to), true, false);
    }
    const auto [lineStart, lineEnd] = LineAround(at);
    wordClicked_.reset();
    if (lineEnd == lineStart) return MoveCaret(at, false, false);
    const std::size_t from = StartOfWord(at).value_or(at);
    const std::size_t to = EndOfWord(from).value_or(from);
    if (to > from) wordClicked_ = std::make_pair(from, to);
    anchor_ = from;
    MoveCaret(to, true, false);
    // The text edit keeps the word as a cursor, which edits move but which
    // keeps the x its end had; a click in the word later puts that back.
    const std::size_t line = lines_.LineOf(to);
    wordClickedX_ = lines_.LayOut(line).CursorToX(static_cast<int>(to - lines_.Start(line)));
    OfferSelection();  // the text edit offers a word selected so at once
}

// Three lines a notch, as the toolkit's scroll bar turns, or with Ctrl or
// Shift held a page at most.
void LightText::Wheel(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))) return ScrollBy(-delta / 40);
    const int page = PageStep();
    ScrollBy(-std::clamp(static_cast<int>(delta / 120.0 * page), -page, page));
}

}  // namespace ravelon::forms::qt
