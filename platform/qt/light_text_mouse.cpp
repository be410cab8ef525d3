// The big-text view and the mouse: clicks, double and triple clicks, the
// primary selection's middle click, and the wheel.

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>

#include "platform/qt/light_text.h"
#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

void LightText::MousePress(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    caretX_ = -1;
    const bool tripleClick = sinceDoubleClick_.isValid() &&
                             sinceDoubleClick_.elapsed() < QApplication::doubleClickInterval() &&
                             (event->position() - doubleClickAt_).manhattanLength() < QApplication::startDragDistance();
    sinceDoubleClick_.invalidate();
    if (!tripleClick) {
        const std::size_t at = PositionAt(event->position());
        const bool extend = event->modifiers() & Qt::ShiftModifier;
        if (extend && paragraphsClicked_) return ExtendByParagraphs(at);
        // A click in the selection may start a drag, and forgets no triple click.
        const bool inSelection = SelLength() > 0 && at >= SelStart() && at <= SelStart() + SelLength();
        if (!extend && !inSelection) paragraphsClicked_.reset();
        return MoveCaret(at, extend);
    }
    // A third click selects the line edit's whole text, or the text edit's
    // paragraph with the break that ends it.
    if (singleLine_) return Select(0, text_.size());
    const std::size_t at = PositionAt(event->position());
    std::size_t from = at, to = at;
    while (from > 0 && !IsParagraphBreak(text_[from - 1])) --from;
    while (to < text_.size() && !IsParagraphBreak(text_[to])) ++to;
    Select(from, to + BreakAt(text_, to));
    if (to + BreakAt(text_, to) > from) paragraphsClicked_ = std::make_pair(from, to + BreakAt(text_, to));
}

// As the text edit after a triple click: Shift+click selects whole
// paragraphs, from the one clicked three times to the one clicked now.
void LightText::ExtendByParagraphs(std::size_t at)
{
    const auto [start, end] = *paragraphsClicked_;
    if (at >= start && at <= end) return Select(start, end);
    std::size_t from = at, to = at;
    while (from > 0 && !IsParagraphBreak(text_[from - 1])) --from;
    while (to < text_.size() && !IsParagraphBreak(text_[to])) ++to;
    if (at < start) return Select(end, from);
    Select(start, to + BreakAt(text_, to));
}

// As the toolkit's boxes: releasing the first button offers what it selected;
// the middle button pastes the primary selection, where it was clicked in a
// text edit, at the caret in a line edit.
void LightText::MouseRelease(QMouseEvent* event)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection()) return;
    if (event->button() == Qt::LeftButton) return OfferSelection();
    if (event->button() != Qt::MiddleButton || !widget_.isEnabled()) return;
    const QString pasted = clipboard->text(QClipboard::Selection);
    if (pasted.isEmpty()) return;
    const std::size_t at = singleLine_ ? caret_ : PositionAt(event->position());
    Replace(at, at, FromQString(pasted), Joins::kAsTyping);
}

void LightText::MouseMove(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) return;
    MoveCaret(PositionAt(event->position()), true);
}

namespace {

// Where the text edit's word selection stops besides spaces.
bool IsWordSeparator(char16_t c)
{
    return std::u16string_view(u".,?!@#$:;-<>[](){}=/+%&^*'\"`~|\\").find(c) != std::u16string_view::npos;
}

}  // namespace

// The word at the click, as the toolkit's boxes find it, without scrolling
// to it: the line edit from the word boundary before the unit clicked to the
// next, less the spaces that end it; the text edit from the start of the
// word (or run of separators) there to its end, on a line that shows text.
void LightText::MouseDoubleClick(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    caretX_ = -1;
    sinceDoubleClick_.start();
    doubleClickAt_ = event->position();
    const std::size_t at = PositionAt(event->position());
    if (singleLine_) {
        const std::size_t from = CursorStep(std::min(at + 1, text_.size()), false, QTextLayout::SkipWords);
        std::size_t to = CursorStep(from, true, QTextLayout::SkipWords);
        while (to > at && to > from && QChar(text_[to - 1]).isSpace()) --to;
        anchor_ = from;
        return MoveCaret(std::max(from, to), true, false);
    }
    const auto [lineStart, lineEnd] = LineAround(at);
    if (lineEnd == lineStart) return MoveCaret(at, false, false);
    const auto separatorOrSpace = [&](std::size_t i) { return QChar(text_[i]).isSpace() || IsWordSeparator(text_[i]); };
    const bool atParagraphStart = at == 0 || IsParagraphBreak(text_[at - 1]);
    const bool atParagraphEnd = at == text_.size() || IsParagraphBreak(text_[at]);
    std::size_t from = at;
    if (!atParagraphStart && !(atParagraphEnd && separatorOrSpace(at - 1)))
        from = CursorStep(atParagraphEnd ? at : at + 1, false, QTextLayout::SkipWords);
    std::size_t to = from;
    const auto inParagraph = [&](std::size_t i) { return i < text_.size() && !IsParagraphBreak(text_[i]); };
    if (inParagraph(to) && IsWordSeparator(text_[to])) {
        for (++to; inParagraph(to) && IsWordSeparator(text_[to]); ++to) {
        }
    } else {
        while (inParagraph(to) && !separatorOrSpace(to)) ++to;
    }
    anchor_ = from;
    MoveCaret(to, true, false);
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
