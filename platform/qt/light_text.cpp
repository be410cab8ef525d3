#include "platform/qt/light_text.h"

#include <QAccessible>
#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>

#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

namespace {

// A single line is laid out kSingleLineReach beyond what is in view, and no
// further than this, however little room its text takes.
constexpr std::size_t kSingleLineMost = 16384;

EditHistory::AfterUndo AfterUndoIn(bool singleLine)
{
    return singleLine ? EditHistory::AfterUndo::kJoinsTopUnlessMoved : EditHistory::AfterUndo::kJoinsTop;
}

}  // namespace

LightText::LightText(QWidget& widget, QWidget& box, std::u16string& text, bool singleLine)
    : widget_(widget),
      box_(box),
      text_(text),
      singleLine_(singleLine),
      lines_(text, widget, singleLine),
      positions_(text)
{
    store_.Reset(text_.size());
    QObject::connect(&blink_, &QTimer::timeout, &widget_, [this] {
        caretShown_ = !caretShown_;
        widget_.update(caretRect_);
    });
    QObject::connect(&autoScroll_, &QTimer::timeout, &widget_, [this] { AutoScroll(); });
    history_.SetAfterUndo(AfterUndoIn(singleLine_));
}

void LightText::TakeHistory(EditHistory history)
{
    history_ = std::move(history);
    history_.SetAfterUndo(AfterUndoIn(singleLine_));
}

void LightText::Place(const Placement& placement)
{
    const bool rewrap = !singleLine_ && placement.width != placement_.width;
    placement_ = placement;
    lines_.SetWidth(placement.width, placement.origin.x() - placement.area.left());
    if (rewrap) ScrollToStart();
}

void LightText::SetWrapMode(QTextOption::WrapMode mode)
{
    if (mode == lines_.WrapMode()) return;
    lines_.SetWrapMode(mode);
    ScrollToStart();
}

void LightText::ScrollToStart()
{
    top_ = 0;
    topCountedPastParagraph_ = false;
    fracture_ = 0;
}

void LightText::ForgetAllLines()
{
    lines_.ForgetAll();
    ScrollToStart();
}

void LightText::Reset()
{
    ForgetAllLines();
    positions_.Reset();
    store_.Reset(text_.size());
    scrollFrom_ = 0;
    scrollPixels_ = 0;
    anchorFraction_ = 0;
    // As the toolkit's boxes: a new single line puts the caret at its end.
    anchor_ = caret_ = singleLine_ ? text_.size() : 0;
    caretX_ = -1;
    preedit_.reset();
    history_.Clear();
    EnsureCaretVisible();
    widget_.update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(&box_, 0, QString(), Told(text_));
        QAccessible::updateAccessibility(&event);
    }
}

// ---- Lines ----

// As the text edit places a caret past a line's end: on a wrapped line,
// before the character (a whole cluster) the next line starts after.
std::size_t LightText::LastCaretPosition(std::size_t line)
{
    const std::size_t end = lines_.End(line);
    return lines_.Wrapped(line) && end > lines_.Start(line) ? CursorStep(end, false) : end;
}

// Where End goes: before a wrapped line's last unit if that is a space.
std::size_t LightText::EndOfLine(std::size_t line)
{
    const std::size_t end = lines_.End(line);
    return lines_.Wrapped(line) && end > lines_.Start(line) && IsWrapSpace(text_[end - 1]) ? end - 1 : end;
}

// ---- Painting ----

void LightText::Paint(QPainter& painter, const QRect& dirty)
{
    const bool focused = widget_.hasFocus();
    const QPalette palette = widget_.palette();
    const QPalette::ColorGroup group = !widget_.isEnabled()                  ? QPalette::Disabled
                                       : focused || widget_.isActiveWindow() ? QPalette::Active
                                                                             : QPalette::Inactive;
    const QPalette::ColorGroup selectionGroup = focused ? QPalette::Active : QPalette::Inactive;
    QTextLayout::FormatRange selected;
    selected.format.setBackground(palette.brush(selectionGroup, QPalette::Highlight));
    selected.format.setForeground(palette.brush(selectionGroup, QPalette::HighlightedText));
    const std::size_t selFrom = SelStart(), selTo = SelStart() + SelLength();

    if (lines_.LayoutsKept() > 256) lines_.ForgetLayouts();
    painter.save();
    painter.setClipRect(placement_.area & dirty);
    painter.setPen(palette.color(group, QPalette::Text));
    caretRect_ = QRect();

    // A caret at a wrapped line's end is shown at the start of the next line.
    const auto drawLine = [&](const ShownLine& laidOut, std::size_t start, std::size_t end, QPointF at,
                              bool caretAtEnd) {
        const std::unique_ptr<ShownLine> composing = WithPreedit(start, end, caretAtEnd);
        const ShownLine& layout = composing ? *composing : laidOut;
        QList<QTextLayout::FormatRange> selections;
        // A line within a paragraph (wrapped, or ended by a line separator)
        // selected whole, from before its start, is highlighted as the
        // toolkit's paragraph layout highlights it: its natural width,
        // without the spaces it ends with.
        const bool separated = !singleLine_ && end < text_.size() && text_[end] == 0x2028;
        const bool wrapped = !singleLine_ && end < text_.size() && !BreakAt(text_, end);
        const bool toItsEnd = (wrapped && selTo >= end) || (separated && selTo > end);
        const bool wholeWrapped = toItsEnd && selFrom < start;
        // Nor are the spaces such a line ends with highlighted, however far
        // the selection goes.
        std::size_t shownEnd = end;
        while ((wrapped || separated) && shownEnd > start && IsWrapSpace(text_[shownEnd - 1])) --shownEnd;
        if (selFrom < selTo && selFrom <= shownEnd && selTo > start) {
            selected.start = static_cast<int>(std::max(selFrom, start) - start);
            selected.length = static_cast<int>(std::min(selTo, shownEnd) - start) - selected.start;
            // A paragraph's break is highlighted too, as a space; a line separator is not.
            if (selTo > end && BreakAt(text_, end) && IsParagraphBreak(text_[end])) ++selected.length;
            // The toolkit's box tells its layout a selection from an earlier line
            // as starting before the line, which decides how it is highlighted.
            if (selFrom < start) {
                --selected.start;
                ++selected.length;
            }
            selections.append(selected);
            if (wholeWrapped) selections.back().format.clearBackground();
        }
        const qreal height = layout.Line().height();
        if (at.y() < dirty.bottom() + 1 && at.y() + height > dirty.top()) {  // a blink repaints the caret's line alone
            if (wholeWrapped) {
                QPainterPath highlight;
                QRectF natural = layout.NaturalTextRect().translated(at);
                natural.setHeight(height);
                const auto x = [&](std::size_t p) { return layout.CursorToX(static_cast<int>(p - start)); };
                // A line laid out in its paragraph leaves out its wrap spaces; the
                // highlight reaches over them on the right.
                const qreal spaces = std::abs(x(end) - x(shownEnd));
                natural.setWidth(natural.width() + (layout.GoesOn() ? spaces : -spaces));
                highlight.addRect(natural & QRectF(placement_.area & dirty));
                painter.save();
                painter.setPen(Qt::NoPen);
                painter.setBrush(selected.format.background());
                painter.drawPath(highlight);
                painter.restore();
            }
            layout.Draw(&painter, at, selections, placement_.area & dirty);
        }
        if (focused && caret_ >= start && (caret_ < end || (caret_ == end && caretAtEnd)) && caretRect_.isNull()) {
            const int index = static_cast<int>(caret_ - start) + (composing ? preedit_->cursor : 0);
            const qreal x = at.x() + layout.CursorToX(index);
            caretRect_ = QRectF(x - 1, at.y(), 3, height).toAlignedRect();
            if (caretShown_ && (!composing || preedit_->cursorShown)) layout.DrawCursor(&painter, at, index, 1);
        }
        // Where a drag would drop its text.
        if (dropCaret_ && *dropCaret_ >= start && (*dropCaret_ < end || (*dropCaret_ == end && caretAtEnd)))
            layout.DrawCursor(&painter, at, static_cast<int>(*dropCaret_ - start), 1);
    };

    if (singleLine_) {
        ScrollSingleLine();
        // From a few units before the first in view: the margin left of the
        // line shows part of the one before it.
        const std::size_t from = scrollFrom_ - std::min<std::size_t>(scrollFrom_, 16);
        // A right-to-left line is placed by its left end, its last unit: it
        // is laid out as far as scrolling lays it out.
        const std::size_t reach = lines_.Direction(0) == Qt::RightToLeft ? SingleLineReach() : kSingleLineReach;
        std::size_t end = std::min(text_.size(), scrollFrom_ + reach);
        ShownLine* layout = &lines_.LayOutUnits(from, end);
        const qreal before = from == scrollFrom_ ? 0 : layout->CursorToX(static_cast<int>(scrollFrom_ - from));
        while (end < text_.size() && end - scrollFrom_ < kSingleLineMost &&
               layout->Line().naturalTextWidth() < before + placement_.area.width() + scrollPixels_) {
            end = std::min(text_.size(), end + (end - scrollFrom_));
            layout = &lines_.LayOutUnits(from, end);
        }
        // The line edit moves its line by the ascents' difference in whole pixels.
        const int lift = static_cast<int>(layout->Line().ascent() - placement_.ascent);
        drawLine(*layout, from, end, placement_.origin - QPointF(scrollPixels_ + before, lift), true);
    } else {
        // The document's top margin shows only above its first line. The text
        // edit paints the whole paragraph its view starts in: the space above
        // the first line in view shows the end of the line before.
        qreal y = ViewTop();
        std::size_t line = top_;
        if (lines_.Exists(top_) && (topCountedPastParagraph_ || !StartsParagraph(top_)))
            y -= lines_.LayOut(--line).Line().height();
        for (; y < placement_.area.bottom() + 1 && lines_.Exists(line); ++line) {
            const ShownLine& layout = lines_.LayOut(line);
            drawLine(layout, lines_.Start(line), lines_.End(line), QPointF(placement_.origin.x(), y),
                     !lines_.Wrapped(line));
            y += layout.Line().height();
        }
    }
    painter.restore();
}

// ---- Caret and view ----

std::size_t LightText::PositionAt(QPointF point)
{
    if (singleLine_) {
        const int offset = ScrolledLine().XToCursor(point.x() - placement_.origin.x() + scrollPixels_);
        return std::min(scrolledTo_, scrollFrom_ + static_cast<std::size_t>(std::max(0, offset)));
    }
    qreal y = ViewTop();
    if (point.y() < y) return lines_.Start(top_);  // above the first line, as the text edit finds it: its start
    std::size_t line = top_;
    const ShownLine* layout = &lines_.LayOut(line);
    while (point.y() >= y + layout->Line().height() && lines_.Exists(line + 1)) {
        y += layout->Line().height();
        layout = &lines_.LayOut(++line);
    }
    if (point.y() >= y + layout->Line().height()) return text_.size();  // below the last line
    return PositionOnLine(line, point.x() - placement_.origin.x());
}

// Where the toolkit's paragraph layout puts the caret for `x` on the line:
// the nearest place within its text, a wrap space included; right of the
// text, whose width leaves out the spaces a line ends with where it wraps
// or where they run on past the box's edge, the line's end, or before the
// last character of a line that goes on in the next.
std::size_t LightText::PositionOnLine(std::size_t line, qreal x)
{
    const ShownLine& layout = lines_.LayOut(line);
    const std::size_t start = lines_.Start(line);
    const std::size_t at = start + static_cast<std::size_t>(layout.XToCursor(x));
    if (layout.GoesOn()) return at;
    const qreal width = lines_.Room().width;
    const bool spacesLeftOut =
        lines_.GoesOnInItsParagraph(line) || (width > 0 && layout.Line().naturalTextWidth() > width);
    std::size_t textEnd = lines_.End(line);
    while (spacesLeftOut && textEnd > start && IsWrapSpace(text_[textEnd - 1])) --textEnd;
    const qreal textWidth = textEnd == lines_.End(line) ? layout.Line().naturalTextWidth()
                                                        : layout.CursorToX(static_cast<int>(textEnd - start));
    if (x <= 0 || x < textWidth) return at;  // at or left of the line's start, its first place
    // Right of the text, the layout takes the end of the run shown last.
    const bool leftToRight = lines_.Direction(start) == Qt::LeftToRight &&
                             !HasRightToLeft(std::u16string_view(text_).substr(start, lines_.End(line) - start));
    return leftToRight ? LastCaretPosition(line) : std::min(LastCaretPosition(line), at);
}

void LightText::MoveCaret(std::size_t to, bool select, bool reveal)
{
    const bool selected = anchor_ != caret_;
    to = std::min(to, text_.size());
    if (to != caret_) pageCaretY_.reset();  // the text edit's page moves keep their height until the caret moves
    caret_ = to;
    if (!select) anchor_ = caret_;
    if (reveal) EnsureCaretVisible();
    RestartBlink();
    widget_.update();
    if (!QAccessible::isActive()) return;
    if (selected || anchor_ != caret_) {
        QAccessibleTextSelectionEvent event(&box_, Told(SelStart()), Told(SelStart() + SelLength()));
        event.setCursorPosition(Told(caret_));
        QAccessible::updateAccessibility(&event);
    }
    QAccessibleTextCursorEvent event(&box_, Told(caret_));
    QAccessible::updateAccessibility(&event);
}

int LightText::Told(std::size_t position) const
{
    return static_cast<int>(singleLine_ ? std::min(position, text_.size()) : positions_.ToDocument(position));
}

std::size_t LightText::Exact(int told) const
{
    const std::size_t position = static_cast<std::size_t>(std::max(0, told));
    return std::min(text_.size(), singleLine_ ? position : positions_.ToExact(position));
}

QString LightText::Told(std::u16string_view text) const
{
    return ToQString(singleLine_ ? std::u16string(text) : AsInDocument(text, u'\n'));
}

QRect LightText::CharacterRect(std::size_t position)
{
    position = std::min(position, text_.size());
    const std::size_t next = Step(position, true);
    QRectF rect;
    if (singleLine_) {
        const ShownLine& line = ScrolledLine();
        if (position < scrollFrom_ || next > scrolledTo_) return {};
        const qreal x = placement_.origin.x() - scrollPixels_;
        const qreal left = x + line.CursorToX(static_cast<int>(position - scrollFrom_));
        rect = QRectF(left, placement_.origin.y(), 0, line.Line().height());
        rect.setRight(x + line.CursorToX(static_cast<int>(next - scrollFrom_)));
    } else {
        const std::size_t line = lines_.LineOf(position);
        if (line < top_) return {};
        qreal y = ViewTop();
        for (std::size_t l = top_; l < line; ++l) {
            y += lines_.LayOut(l).Line().height();
            if (y > placement_.area.bottom()) return {};
        }
        const ShownLine& shown = lines_.LayOut(line);
        const qreal x = placement_.origin.x();
        rect =
            QRectF(x + shown.CursorToX(static_cast<int>(position - lines_.Start(line))), y, 0, shown.Line().height());
        rect.setRight(x + shown.CursorToX(static_cast<int>(std::min(next, lines_.End(line)) - lines_.Start(line))));
    }
    const QRect onWidget = rect.toAlignedRect() & placement_.area;
    return onWidget.isEmpty() ? QRect() : QRect(widget_.mapToGlobal(onWidget.topLeft()), onWidget.size());
}

std::optional<QRectF> LightText::CaretPlace()
{
    if (singleLine_) {
        const ShownLine& scrolled = ScrolledLine();
        const std::unique_ptr<ShownLine> composing = WithPreedit(scrollFrom_, scrolledTo_, true);
        const ShownLine& layout = composing ? *composing : scrolled;
        const int index = static_cast<int>(caret_ - scrollFrom_) + (composing ? preedit_->cursor : 0);
        const qreal x = placement_.origin.x() - scrollPixels_ + layout.CursorToX(index);
        return QRectF(x, placement_.origin.y(), 1, layout.Line().height());
    }
    const std::size_t line = lines_.LineOf(caret_);
    const std::optional<qreal> y = LineTopInView(line, 4 * placement_.area.height());
    if (!y) return std::nullopt;
    const auto composing = WithPreedit(lines_.Start(line), lines_.End(line), !lines_.Wrapped(line));
    const ShownLine& shown = composing ? *composing : lines_.LayOut(line);
    const int index = static_cast<int>(caret_ - lines_.Start(line)) + (composing ? preedit_->cursor : 0);
    const qreal x = placement_.origin.x() + shown.CursorToX(index);
    return QRectF(x, *y, 1, shown.Line().height());
}

std::pair<std::size_t, std::size_t> LightText::LineAround(std::size_t position)
{
    if (singleLine_) return {0, text_.size()};
    const std::size_t line = lines_.LineOf(std::min(position, text_.size()));
    return {lines_.Start(line), EndOfLine(line)};
}

std::optional<std::size_t> LightText::LineStartAway(std::size_t position, int step)
{
    if (singleLine_) return std::nullopt;
    const std::size_t line = lines_.LineOf(std::min(position, text_.size()));
    if (step < 0 && line < static_cast<std::size_t>(-step)) return std::nullopt;
    const std::size_t away = step < 0 ? line - static_cast<std::size_t>(-step) : line + static_cast<std::size_t>(step);
    if (!lines_.Exists(away)) return std::nullopt;
    return lines_.Start(away);
}

void LightText::Select(std::size_t anchor, std::size_t caret, bool reveal)
{
    anchor_ = std::min(anchor, text_.size());
    MoveCaret(caret, true, reveal);
}

std::unique_ptr<ShownLine> LightText::WithPreedit(std::size_t start, std::size_t end, bool caretAtEnd)
{
    if (!preedit_ || preedit_->at < start || preedit_->at > end || (preedit_->at == end && !caretAtEnd)) return nullptr;
    return std::make_unique<ShownLine>(Slice(text_, start, end), widget_.font(), lines_.Direction(start),
                                       lines_.Context(start, end), &*preedit_, static_cast<int>(preedit_->at - start),
                                       lines_.Room());
}

void LightText::RestartBlink()
{
    caretShown_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (widget_.hasFocus() && flash > 0)
        blink_.start(flash / 2);
    else
        blink_.stop();
}

void LightText::FocusChanged()
{
    RestartBlink();
    widget_.update();
}

}  // namespace ravelon::forms::qt
