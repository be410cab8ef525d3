#include "platform/qt/light_text.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QTextLayout>
#include <QWidget>
#include <algorithm>

#include "platform/qt/qt_text_boxes.h"

namespace ravelon::forms::qt {

namespace {

// How much text is laid out at a time to find where lines wrap; a line is
// kept only when this much text follows it, so that the window's end cannot
// have moved it.
constexpr std::size_t kWindow = 1024;
constexpr std::size_t kSettle = 64;
// A single line is laid out this far beyond what is in view.
constexpr std::size_t kSingleLineReach = 256;

bool IsBreak(char16_t c)
{
    return c == u'\r' || c == u'\n' || c == 0x2029 || c == 0x2028 || c == 0xFDD0 || c == 0xFDD1;
}
bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == 0x3000 || c == 0xA0;
}
bool IsWordUnit(char16_t c)
{
    return QChar(c).isLetterOrNumber() || c == u'_' || QChar::isSurrogate(c);
}

// The units a line break at `at` takes: CR LF is one break.
std::size_t BreakAt(const std::u16string& text, std::size_t at)
{
    if (at >= text.size() || !IsBreak(text[at])) return 0;
    return text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
}

std::size_t BreakBefore(const std::u16string& text, std::size_t at)
{
    if (at == 0 || !IsBreak(text[at - 1])) return 0;
    return at >= 2 && text[at - 2] == u'\r' && text[at - 1] == u'\n' ? 2 : 1;
}

QString Slice(const std::u16string& text, std::size_t from, std::size_t to)
{
    return ToQString(std::u16string_view(text).substr(from, to - from));
}

std::unique_ptr<QTextLayout> OneLine(const QString& text, const QFont& font)
{
    auto layout = std::make_unique<QTextLayout>(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::ManualWrap);
    layout->setTextOption(option);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) line.setPosition(QPointF(0, 0));
    layout->endLayout();
    return layout;
}

}  // namespace

LightText::LightText(QWidget& widget, QWidget& box, std::u16string& text, bool singleLine)
    : widget_(widget), box_(box), text_(text), singleLine_(singleLine)
{
    QObject::connect(&blink_, &QTimer::timeout, &widget_, [this] {
        caretShown_ = !caretShown_;
        widget_.update(caretRect_);
    });
}

void LightText::Place(const Placement& placement)
{
    const bool rewrap = !singleLine_ && placement.width != placement_.width;
    placement_ = placement;
    if (rewrap) ForgetAllLines();
}

void LightText::SetWrapMode(QTextOption::WrapMode mode)
{
    if (mode == wrapMode_) return;
    wrapMode_ = mode;
    ForgetAllLines();
}

void LightText::ForgetAllLines()
{
    layouts_.clear();
    starts_.assign(1, 0);
    allLines_ = false;
    resync_.clear();
    resyncNext_ = 0;
    top_ = 0;
}

void LightText::Reset()
{
    ForgetAllLines();
    scrollFrom_ = 0;
    scrollPixels_ = 0;
    // As the toolkit's boxes: a new single line puts the caret at its end.
    anchor_ = caret_ = singleLine_ ? text_.size() : 0;
    caretX_ = -1;
    undo_.clear();
    redo_.clear();
    joinable_ = false;
    EnsureCaretVisible();
    widget_.update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(&box_, 0, QString(), Told(text_));
        QAccessible::updateAccessibility(&event);
    }
}

// ---- Lines ----

// The lines before the one holding `at` stay; those after the edited units
// are kept aside, moved by the edit, for the new lines to meet again.
void LightText::ForgetLinesFrom(std::size_t at, std::size_t removed, std::size_t inserted)
{
    if (singleLine_) return;
    const auto holding = std::upper_bound(starts_.begin(), starts_.end(), at) - starts_.begin() - 1;
    const auto keep =
        static_cast<std::size_t>(std::max<std::ptrdiff_t>(1, holding));  // word wrap can pull text back a line
    std::vector<std::size_t> after;
    for (std::size_t i = keep; i < starts_.size(); ++i)
        if (starts_[i] > at + removed) after.push_back(starts_[i] - removed + inserted);
    const bool pending = resyncNext_ < resync_.size();
    for (std::size_t i = resyncNext_; i < resync_.size(); ++i)
        if (resync_[i] > at + removed && (after.empty() || resync_[i] - removed + inserted > after.back()))
            after.push_back(resync_[i] - removed + inserted);
    resyncReachesEnd_ = pending ? resyncReachesEnd_ : allLines_;
    resync_ = std::move(after);
    resyncNext_ = 0;
    starts_.resize(keep);
    allLines_ = false;
}

void LightText::AddLineStart(std::size_t start)
{
    starts_.push_back(start);
    while (resyncNext_ < resync_.size() && resync_[resyncNext_] < start) ++resyncNext_;
    if (resyncNext_ < resync_.size() && resync_[resyncNext_] == start) {
        // From a line start both agree on, the rest wraps as it did.
        starts_.insert(starts_.end(), resync_.begin() + static_cast<std::ptrdiff_t>(resyncNext_) + 1, resync_.end());
        allLines_ = resyncReachesEnd_;
        resync_.clear();
        resyncNext_ = 0;
    }
}

// Finds the lines after the last one known, a window of text at a time.
void LightText::LayOutMore()
{
    if (allLines_) return;
    const std::size_t from = starts_.back();
    if (singleLine_) {
        allLines_ = true;
        return;
    }
    for (std::size_t window = kWindow;; window *= 2) {
        const std::size_t limit = std::min(text_.size(), from + window);
        std::size_t end = from;
        while (end < limit && !IsBreak(text_[end])) ++end;
        const bool wholeParagraph = end < limit || limit == text_.size();

        QTextLayout layout(Slice(text_, from, end), widget_.font());
        QTextOption option;
        option.setWrapMode(wrapMode_);
        layout.setTextOption(option);
        std::vector<std::size_t> found;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(placement_.width);
            found.push_back(from + static_cast<std::size_t>(line.textStart()));
        }
        layout.endLayout();
        linesLaidOut_ += found.size();

        if (wholeParagraph) {
            for (std::size_t i = 1; i < found.size() && !allLines_; ++i) AddLineStart(found[i]);
            if (allLines_) return;
            if (end == text_.size()) {
                allLines_ = true;
                resync_.clear();
                resyncNext_ = 0;
            } else {
                AddLineStart(end + BreakAt(text_, end));  // after a final break, an empty last line
            }
            return;
        }
        // The window cut the paragraph: only lines well before the cut are sure.
        std::size_t settled = end;
        while (settled > from && IsSpace(text_[settled - 1])) --settled;
        settled = settled > from + kSettle ? settled - kSettle : from;
        std::size_t added = 0;
        for (std::size_t i = 1; i < found.size() && found[i] <= settled && !allLines_; ++i, ++added)
            AddLineStart(found[i]);
        if (added > 0) return;
    }
}

void LightText::LayOutThrough(std::size_t position)
{
    while (!allLines_ && starts_.back() <= position) LayOutMore();
}

void LightText::LayOutLines(std::size_t count)
{
    while (!allLines_ && starts_.size() <= count) LayOutMore();
}

std::size_t LightText::LineOf(std::size_t position)
{
    LayOutThrough(position);
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin() - 1);
}

bool LightText::LineExists(std::size_t line)
{
    LayOutLines(line + 1);
    return line < starts_.size();
}

std::size_t LightText::LineEnd(std::size_t line)
{
    LayOutLines(line + 1);
    if (line + 1 >= starts_.size()) return text_.size();
    const std::size_t next = starts_[line + 1];
    return next - BreakBefore(text_, next);
}

// Whether the line goes on in the next, without a line break between.
bool LightText::Wrapped(std::size_t line)
{
    return LineExists(line + 1) && !BreakBefore(text_, starts_[line + 1]);
}

// As the text edit places a caret past a line's end: on a wrapped line,
// before the unit the next line starts after.
std::size_t LightText::LastCaretPosition(std::size_t line)
{
    const std::size_t end = LineEnd(line);
    return Wrapped(line) && end > starts_[line] ? Step(end, false) : end;
}

// Where End goes: before a wrapped line's last unit if that is a space.
std::size_t LightText::EndOfLine(std::size_t line)
{
    const std::size_t end = LineEnd(line);
    return Wrapped(line) && end > starts_[line] && IsSpace(text_[end - 1]) ? end - 1 : end;
}

QTextLayout& LightText::LayOutLine(std::size_t line)
{
    return LayOutUnits(starts_[line], LineEnd(line));
}

// Kept until the text changes: a blink of the caret lays nothing out again.
QTextLayout& LightText::LayOutUnits(std::size_t from, std::size_t to)
{
    auto& layout = layouts_[{from, to}];
    if (!layout) layout = OneLine(Slice(text_, from, to), widget_.font());
    return *layout;
}

std::u16string LightText::ShownText()
{
    std::u16string shown;
    for (std::size_t line = 0; LineExists(line); ++line) {
        if (line > 0 && BreakBefore(text_, starts_[line]))
            shown += text_[starts_[line] - 1] == 0x2028 ? u'\x2028' : u'\x2029';
        shown.append(text_, starts_[line], LineEnd(line) - starts_[line]);
    }
    return shown;
}

// ---- The single line ----

qreal LightText::Advance(std::size_t from, std::size_t to) const
{
    const auto layout = OneLine(Slice(text_, from, std::min(text_.size(), to + 1)), widget_.font());
    return layout->lineAt(0).cursorToX(static_cast<int>(to - from));
}

// As the line edit scrolls, in whole pixels: a caret beyond the right edge
// comes to the right edge, one beyond the left edge to the left edge, and a
// text that ends short of the right edge is aligned to it. Positions count
// from a unit not far before the caret: from the text's start, unless it is long.
void LightText::ScrollSingleLine()
{
    const std::size_t reach = 4 * kSingleLineReach;
    const std::size_t anchor = caret_ - std::min(caret_, reach);
    const std::size_t end = std::min(text_.size(), caret_ + reach);
    const QTextLine line = LayOutUnits(anchor, end).lineAt(0);
    const QFontMetrics metrics(widget_.font());
    const qreal width = placement_.width;
    const qreal cix = qRound(line.cursorToX(static_cast<int>(caret_ - anchor)));
    const bool endInReach = end == text_.size();
    const qreal widthUsed = qRound(line.naturalTextWidth()) + 1 + std::max(0, -metrics.minRightBearing());

    qreal hscroll;
    if (scrollFrom_ < anchor)
        hscroll = -1e9;  // far left of the caret: it is beyond the right edge
    else if (scrollFrom_ > end)
        hscroll = 1e9;  // far right of it
    else
        hscroll = line.cursorToX(static_cast<int>(scrollFrom_ - anchor)) + scrollPixels_;

    if (anchor == 0 && endInReach && std::max(0, -metrics.minLeftBearing()) + widthUsed <= width)
        hscroll = 0;
    else if (cix - hscroll >= width)
        hscroll = cix - width + 1;
    else if (cix - hscroll < 0)
        hscroll = cix;
    else if (endInReach && widthUsed - hscroll < width)
        hscroll = widthUsed - width + 1;
    scrollFrom_ = anchor;
    scrollPixels_ = hscroll;
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

    if (layouts_.size() > 256) layouts_.clear();
    painter.save();
    painter.setClipRect(placement_.area & dirty);
    painter.setPen(palette.color(group, QPalette::Text));
    caretRect_ = QRect();

    // A caret at a wrapped line's end is shown at the start of the next line.
    const auto drawLine = [&](QTextLayout& layout, std::size_t start, std::size_t end, QPointF at, bool caretAtEnd) {
        QList<QTextLayout::FormatRange> selections;
        if (selFrom < selTo && selFrom <= end && selTo > start) {
            selected.start = static_cast<int>(std::max(selFrom, start) - start);
            selected.length = static_cast<int>(std::min(selTo, end) - start) - selected.start;
            if (selTo > end && BreakAt(text_, end)) ++selected.length;  // the line break is highlighted too
            selections.append(selected);
        }
        layout.draw(&painter, at, selections, placement_.area & dirty);
        if (focused && caret_ >= start && (caret_ < end || (caret_ == end && caretAtEnd)) && caretRect_.isNull()) {
            const QTextLine line = layout.lineAt(0);
            const qreal x = at.x() + line.cursorToX(static_cast<int>(caret_ - start));
            caretRect_ = QRectF(x - 1, at.y(), 3, line.height()).toAlignedRect();
            if (caretShown_) layout.drawCursor(&painter, at, static_cast<int>(caret_ - start), 1);
        }
    };

    if (singleLine_) {
        ScrollSingleLine();
        // From a few units before the first in view: the margin left of the
        // line shows part of the one before it.
        const std::size_t from = scrollFrom_ - std::min<std::size_t>(scrollFrom_, 16);
        std::size_t end = std::min(text_.size(), scrollFrom_ + kSingleLineReach);
        QTextLayout* layout = &LayOutUnits(from, end);
        const qreal before = layout->lineAt(0).cursorToX(static_cast<int>(scrollFrom_ - from));
        while (end < text_.size() &&
               layout->lineAt(0).naturalTextWidth() < before + placement_.area.width() + scrollPixels_) {
            end = std::min(text_.size(), end + (end - scrollFrom_));
            layout = &LayOutUnits(from, end);
        }
        // The line edit moves its line by the ascents' difference in whole pixels.
        const int lift = static_cast<int>(layout->lineAt(0).ascent() - placement_.ascent);
        drawLine(*layout, from, end, placement_.origin - QPointF(scrollPixels_ + before, lift), true);
    } else {
        // The document's top margin shows only above its first line.
        qreal y = TopOfLines(top_);
        for (std::size_t line = top_; y < placement_.area.bottom() + 1 && LineExists(line); ++line) {
            QTextLayout& layout = LayOutLine(line);
            drawLine(layout, starts_[line], LineEnd(line), QPointF(placement_.origin.x(), y), !Wrapped(line));
            y += layout.lineAt(0).height();
        }
    }
    painter.restore();
}

// ---- Caret and view ----

std::size_t LightText::Step(std::size_t position, bool forward) const
{
    if (forward) {
        if (position >= text_.size()) return text_.size();
        if (const std::size_t lineBreak = BreakAt(text_, position)) return position + lineBreak;
        return position + (QChar::isHighSurrogate(text_[position]) && position + 1 < text_.size() &&
                                   QChar::isLowSurrogate(text_[position + 1])
                               ? 2
                               : 1);
    }
    if (position == 0) return 0;
    if (const std::size_t lineBreak = BreakBefore(text_, position)) return position - lineBreak;
    return position -
           (position >= 2 && QChar::isLowSurrogate(text_[position - 1]) && QChar::isHighSurrogate(text_[position - 2])
                ? 2
                : 1);
}

// Where the toolkit's cursor goes from `position` by a character (a whole
// grapheme cluster) or a word: its paragraph's layout finds the boundary, and
// from a paragraph's end or start the cursor goes over the line break.
std::size_t LightText::CursorStep(std::size_t position, bool forward, QTextLayout::CursorMode mode) const
{
    if (forward) {
        if (position >= text_.size()) return text_.size();
        if (const std::size_t lineBreak = BreakAt(text_, position)) return position + lineBreak;
    } else {
        if (position == 0) return 0;
        if (const std::size_t lineBreak = BreakBefore(text_, position)) return position - lineBreak;
    }
    // Boundaries are found within a reach of the position, inside its paragraph.
    constexpr std::size_t kReach = 512;
    std::size_t from = position - std::min(position, kReach), to = std::min(text_.size(), position + kReach);
    for (std::size_t i = position; i > from; --i)
        if (IsBreak(text_[i - 1])) from = i;
    for (std::size_t i = position; i < to; ++i)
        if (IsBreak(text_[i])) to = i;
    QTextLayout layout(Slice(text_, from, to), widget_.font());
    const int at = static_cast<int>(position - from);
    const int next = forward ? layout.nextCursorPosition(at, mode) : layout.previousCursorPosition(at, mode);
    return from + static_cast<std::size_t>(next);
}

// The place `lines` lines away, or none when there is no such line. As the
// toolkit's box: a selection is taken to the text's start or end instead.
std::optional<std::size_t> LightText::VerticalMove(std::size_t position, int lines, bool select)
{
    const std::size_t from = LineOf(position);
    if (caretX_ < 0) caretX_ = LayOutLine(from).lineAt(0).cursorToX(static_cast<int>(position - starts_[from]));
    std::size_t to = from;
    if (lines < 0) to = from - std::min(from, static_cast<std::size_t>(-lines));
    for (int i = 0; i < lines && LineExists(to + 1); ++i) ++to;
    if (to == from) {
        if (!select) return std::nullopt;
        caretX_ = -1;
        return lines < 0 ? 0 : text_.size();
    }
    const int offset = LayOutLine(to).lineAt(0).xToCursor(caretX_);
    return std::min(LastCaretPosition(to), starts_[to] + static_cast<std::size_t>(offset));
}

std::size_t LightText::PositionAt(QPointF point)
{
    if (singleLine_) {
        ScrollSingleLine();
        const std::size_t end = std::min(text_.size(), scrollFrom_ + 4 * kSingleLineReach);
        const auto layout = OneLine(Slice(text_, scrollFrom_, end), widget_.font());
        const int offset = layout->lineAt(0).xToCursor(point.x() - placement_.origin.x() + scrollPixels_);
        return std::min(end, scrollFrom_ + static_cast<std::size_t>(std::max(0, offset)));
    }
    qreal y = TopOfLines(top_);
    if (point.y() < y) return starts_[top_];  // above the first line, as the text edit finds it: its start
    std::size_t line = top_;
    QTextLayout* layout = &LayOutLine(line);
    while (point.y() >= y + layout->lineAt(0).height() && LineExists(line + 1)) {
        y += layout->lineAt(0).height();
        layout = &LayOutLine(++line);
    }
    if (point.y() >= y + layout->lineAt(0).height()) return text_.size();  // below the last line
    const int offset = std::max(0, layout->lineAt(0).xToCursor(point.x() - placement_.origin.x()));
    return std::min(LastCaretPosition(line), starts_[line] + static_cast<std::size_t>(offset));
}

void LightText::MoveCaret(std::size_t to, bool select)
{
    const bool selected = anchor_ != caret_;
    caret_ = std::min(to, text_.size());
    if (!select) anchor_ = caret_;
    EnsureCaretVisible();
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
    return static_cast<int>(singleLine_ ? position : DocumentPosition(text_, position));
}

std::size_t LightText::Exact(int told) const
{
    const std::size_t position = static_cast<std::size_t>(std::max(0, told));
    return std::min(text_.size(), singleLine_ ? position : ExactPosition(text_, position));
}

QString LightText::Told(std::u16string_view text) const
{
    return singleLine_ ? ToQString(text) : AsDocumentText(text, 0, text.size());
}

QRect LightText::CharacterRect(std::size_t position)
{
    position = std::min(position, text_.size());
    const std::size_t next = Step(position, true);
    QRectF rect;
    if (singleLine_) {
        ScrollSingleLine();
        if (position < scrollFrom_) return {};
        const std::size_t end = std::min(text_.size(), std::max(next, scrollFrom_ + 4 * kSingleLineReach));
        const auto layout = OneLine(Slice(text_, scrollFrom_, end), widget_.font());
        const QTextLine line = layout->lineAt(0);
        const qreal x = placement_.origin.x() - scrollPixels_;
        const qreal left = x + line.cursorToX(static_cast<int>(position - scrollFrom_));
        rect = QRectF(left, placement_.origin.y(), 0, line.height());
        rect.setRight(x + line.cursorToX(static_cast<int>(next - scrollFrom_)));
    } else {
        const std::size_t line = LineOf(position);
        if (line < top_) return {};
        qreal y = TopOfLines(top_);
        for (std::size_t l = top_; l < line; ++l) {
            y += LayOutLine(l).lineAt(0).height();
            if (y > placement_.area.bottom()) return {};
        }
        const QTextLine shown = LayOutLine(line).lineAt(0);
        const qreal x = placement_.origin.x();
        rect = QRectF(x + shown.cursorToX(static_cast<int>(position - starts_[line])), y, 0, shown.height());
        rect.setRight(x + shown.cursorToX(static_cast<int>(std::min(next, LineEnd(line)) - starts_[line])));
    }
    const QRect onWidget = rect.toAlignedRect() & placement_.area;
    return onWidget.isEmpty() ? QRect() : QRect(widget_.mapToGlobal(onWidget.topLeft()), onWidget.size());
}

std::pair<std::size_t, std::size_t> LightText::LineAround(std::size_t position)
{
    if (singleLine_) return {0, text_.size()};
    const std::size_t line = LineOf(std::min(position, text_.size()));
    return {starts_[line], EndOfLine(line)};
}

void LightText::Select(std::size_t anchor, std::size_t caret)
{
    anchor_ = std::min(anchor, text_.size());
    MoveCaret(caret, true);
}

// Where the first line in view goes, as the text edit scrolls: the document's
// top margin shows only above its first line, and a line that continues a
// paragraph sits below the previous line's text, whose height is not rounded up.
qreal LightText::TopOfLines(std::size_t top)
{
    if (top == 0 || !LineExists(top)) return placement_.origin.y();
    if (BreakBefore(text_, starts_[top])) return placement_.area.top();
    const QTextLine line = LayOutLine(top - 1).lineAt(0);
    return placement_.area.top() + line.height() - (line.ascent() + line.descent());
}

qreal LightText::RoomBelow(std::size_t top)
{
    return placement_.area.bottom() + 1 - TopOfLines(top);
}

void LightText::EnsureCaretVisible()
{
    if (singleLine_) return;  // as the line edit: when it paints
    const std::size_t line = LineOf(caret_);
    if (line <= top_) {
        top_ = line;
        return;
    }
    top_ = std::max(top_, TopWithLineAtBottom(line, top_));
}

// The first line in view with `line` the last one shown whole, counting back
// no further than `floor`.
std::size_t LightText::TopWithLineAtBottom(std::size_t line, std::size_t floor)
{
    qreal height = 0;
    std::size_t first = line + 1;
    while (first > floor) {
        const qreal h = LayOutLine(first - 1).lineAt(0).height();
        if (height + h > RoomBelow(first - 1) && first <= line) break;
        height += h;
        --first;
    }
    return first;
}

// As the text edit scrolls no further than the last line at the bottom: when
// the lines from the top in view end before the view does, earlier lines come in.
void LightText::KeepViewFilled()
{
    if (singleLine_) return;
    qreal height = 0;
    std::size_t line = top_;
    for (; LineExists(line); ++line) {
        height += LayOutLine(line).lineAt(0).height();
        if (height > RoomBelow(top_)) return;
    }
    top_ = std::min(top_, TopWithLineAtBottom(line - 1, 0));
}

int LightText::VisibleLines()
{
    const qreal lineHeight = QFontMetricsF(widget_.font()).height();
    return std::max(1, static_cast<int>(RoomBelow(top_) / lineHeight));
}

void LightText::ScrollBy(int lines)
{
    if (singleLine_) return;
    if (lines < 0) top_ -= std::min(top_, static_cast<std::size_t>(-lines));
    for (int i = 0; i < lines && LineExists(top_ + 1); ++i) ++top_;
    KeepViewFilled();
    widget_.update();
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

// ---- Editing ----

void LightText::Replace(std::size_t from, std::size_t to, std::u16string_view text, Joins joins)
{
    if (singleLine_)  // as the line edit: what is inserted keeps its first line
        text = text.substr(0, static_cast<std::size_t>(std::find_if(text.begin(), text.end(), IsBreak) - text.begin()));
    from = std::min(from, text_.size());
    to = std::clamp(to, from, text_.size());
    if (from == to && text.empty()) return EnsureCaretVisible();  // as the text edit after any edit key
    Change undo = Apply(from, to - from, text);
    const bool blockBreak = std::any_of(undo.text.begin(), undo.text.end(), IsBlockBreak) ||
                            std::any_of(text.begin(), text.end(), IsBlockBreak);
    if (!text.empty())
        undo.tail = IsBlockBreak(text.back()) ? Change::Tail::kOther : Change::Tail::kInserted;
    else if (joins == Joins::kAsTyping && !blockBreak)
        undo.tail = Change::Tail::kRemovedOne;
    const bool alone = text.empty() ? undo.tail != Change::Tail::kRemovedOne : from != to || blockBreak;
    if (joins == Joins::kNever || alone || !JoinLastStep(undo)) undo_.push_back(std::move(undo));
    redo_.clear();
    joinable_ = true;
}

// The toolkit's document joins an insertion to the insertion it follows, and
// a deletion to the one it continues, forwards (Delete) or backwards (Backspace).
bool LightText::JoinLastStep(const Change& undo)
{
    if (!joinable_ || undo_.empty()) return false;
    Change& last = undo_.back();
    if (undo.tail == Change::Tail::kInserted && last.tail == Change::Tail::kInserted &&
        last.at + last.replaces == undo.at) {
        last.replaces += undo.replaces;
        return true;
    }
    if (undo.tail != Change::Tail::kRemovedOne || last.tail != Change::Tail::kRemovedOne) return false;
    if (undo.at == last.at) {
        last.text += undo.text;
        return true;
    }
    if (undo.at + undo.text.size() == last.at) {
        last.text.insert(0, undo.text);
        last.at = undo.at;
        return true;
    }
    return false;
}

// What undoes an edit holds the units it removed, and only the count of
// those it inserted: a big paste costs the undo history nothing.
LightText::Change LightText::Apply(std::size_t at, std::size_t replaces, std::u16string_view text)
{
    Change undo{at, text_.substr(at, replaces), text.size()};
    text_.replace(at, replaces, text.data(), text.size());
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(&box_, Told(at), Told(undo.text), Told(text));
        QAccessible::updateAccessibility(&event);
    }
    layouts_.clear();
    ForgetLinesFrom(at, replaces, text.size());
    caretX_ = -1;
    MoveCaret(at + text.size(), false);
    KeepViewFilled();
    if (edited) edited();
    return undo;
}

void LightText::Undo()
{
    joinable_ = false;
    if (undo_.empty()) return;
    const Change change = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(Apply(change.at, change.replaces, change.text));
}

void LightText::Redo()
{
    joinable_ = false;
    if (redo_.empty()) return;
    const Change change = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(Apply(change.at, change.replaces, change.text));
}

void LightText::CopySelection() const
{
    if (SelLength() == 0) return;  // the clipboard keeps what it had
    QGuiApplication::clipboard()->setText(Slice(text_, SelStart(), SelStart() + SelLength()));
}

void LightText::PasteClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return;
    const QString text = data->text();
    std::u16string_view pasted(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    if (pasted.empty()) return;
    Replace(SelStart(), SelStart() + SelLength(), pasted, Joins::kAsTyping);
}

bool LightText::Key(QKeyEvent* event)
{
    const std::size_t end = text_.size();
    // Left and Right end a selection at its edge in the text edit; the line
    // edit moves on from the caret.
    const auto collapses = [&] { return SelLength() && !event->modifiers() && !singleLine_; };
    struct Move {
        QKeySequence::StandardKey move, select;
        std::function<std::optional<std::size_t>(bool select)> to;
        bool vertical = false;
    };
    const Move moves[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar,
         [&](bool) { return collapses() ? SelStart() + SelLength() : CursorStep(caret_, true); }},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar,
         [&](bool) { return collapses() ? SelStart() : CursorStep(caret_, false); }},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, [&](bool) { return CursorStep(caret_, true, QTextLayout::SkipWords); }},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord,
         [&](bool) { return CursorStep(caret_, false, QTextLayout::SkipWords); }},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine,
         [&](bool select) { return VerticalMove(caret_, 1, select); }, true},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine,
         [&](bool select) { return VerticalMove(caret_, -1, select); }, true},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage,
         [&](bool) { return VerticalMove(caret_, VisibleLines(), true); }, true},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage,
         [&](bool) { return VerticalMove(caret_, -VisibleLines(), true); }, true},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine,
         [&](bool) { return singleLine_ ? 0 : starts_[LineOf(caret_)]; }},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine,
         [&](bool) { return singleLine_ ? end : EndOfLine(LineOf(caret_)); }},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument,
         [](bool) { return std::size_t{0}; }},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, [&](bool) { return end; }},
    };
    for (const Move& move : moves) {
        const bool select = event->matches(move.select);
        if (!select && !event->matches(move.move)) continue;
        const bool document = move.move == QKeySequence::MoveToStartOfDocument || move.move == QKeySequence::MoveToEndOfDocument;
        if ((move.vertical || document) && singleLine_) return false;  // as the line edit: a single line has no lines
        const std::optional<std::size_t> to = move.to(select);
        if (!move.vertical) caretX_ = -1;
        if (to) MoveCaret(*to, select);
        return true;
    }
    // A line edit deletes its selection and the word beyond it; a text edit
    // only the selection, if there is one.
    const auto deleteTo = [&](std::size_t to, Joins joins, bool word = false) {
        if (SelLength() == 0 || (word && singleLine_)) caret_ = to;
        else joins = Joins::kNever;
        Replace(SelStart(), SelStart() + SelLength(), u"", joins);
    };
    if (event->matches(QKeySequence::SelectAll)) {
        anchor_ = 0;  // as the toolkit's box: selecting all scrolls nothing
        caret_ = end;
        caretX_ = -1;
        widget_.update();
    } else if (event->matches(QKeySequence::Copy)) {
        CopySelection();
    } else if (event->matches(QKeySequence::Cut)) {
        CopySelection();
        Replace(SelStart(), SelStart() + SelLength(), u"");
    } else if (event->matches(QKeySequence::Paste)) {
        PasteClipboard();
    } else if (event->matches(QKeySequence::Undo)) {
        Undo();
    } else if (event->matches(QKeySequence::Redo)) {
        Redo();
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        deleteTo(CursorStep(caret_, false, QTextLayout::SkipWords), Joins::kNever, true);
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        deleteTo(CursorStep(caret_, true, QTextLayout::SkipWords), Joins::kNever, true);
    } else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & Qt::ControlModifier)) {
        deleteTo(Step(caret_, false), Joins::kAsTyping);  // one character, not the whole cluster
    } else if (event->matches(QKeySequence::Delete)) {
        deleteTo(CursorStep(caret_, true), Joins::kAsTyping);
    } else if (event->matches(QKeySequence::InsertParagraphSeparator)) {
        if (singleLine_) return false;
        Replace(SelStart(), SelStart() + SelLength(), u"\r\n");  // a typed line break, as on Windows
    } else if (event->matches(QKeySequence::InsertLineSeparator)) {
        if (singleLine_) return false;
        Replace(SelStart(), SelStart() + SelLength(), u"\u2028", Joins::kAsTyping);
    } else {
        const QString typed = event->text();
        const bool printable = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(),
                                                               [](QChar c) { return c.isPrint() || c.isSurrogate(); });
        if (!printable || event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
        Replace(SelStart(), SelStart() + SelLength(), FromQString(typed), Joins::kAsTyping);
    }
    return true;
}

void LightText::MousePress(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    caretX_ = -1;
    MoveCaret(PositionAt(event->position()), event->modifiers() & Qt::ShiftModifier);
}

void LightText::MouseMove(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) return;
    MoveCaret(PositionAt(event->position()), true);
}

void LightText::MouseDoubleClick(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const std::size_t at = PositionAt(event->position());
    std::size_t from = at, to = at;
    while (from > 0 && IsWordUnit(text_[from - 1])) --from;
    while (to < text_.size() && IsWordUnit(text_[to])) ++to;
    Select(from, to);
}

void LightText::Wheel(QWheelEvent* event)
{
    ScrollBy(-event->angleDelta().y() / 40);
}

void LightText::InputMethod(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        Replace(SelStart(), SelStart() + SelLength(), FromQString(event->commitString()), Joins::kAsTyping);
}

void LightText::ContextMenu(QContextMenuEvent* event)
{
    QMenu menu(&widget_);
    const bool selection = SelLength() > 0;
    const bool clipboard =
        QGuiApplication::clipboard()->mimeData() && QGuiApplication::clipboard()->mimeData()->hasText();
    menu.addAction(QObject::tr("&Undo"), [this] { Undo(); })->setEnabled(!undo_.empty());
    menu.addAction(QObject::tr("&Redo"), [this] { Redo(); })->setEnabled(!redo_.empty());
    menu.addSeparator();
    menu.addAction(QObject::tr("Cu&t"),
                   [this] {
                       CopySelection();
                       Replace(SelStart(), SelStart() + SelLength(), u"");
                   })
        ->setEnabled(selection);
    menu.addAction(QObject::tr("&Copy"), [this] { CopySelection(); })->setEnabled(selection);
    menu.addAction(QObject::tr("&Paste"), [this] { PasteClipboard(); })->setEnabled(clipboard);
    menu.addAction(QObject::tr("Delete"), [this] { Replace(SelStart(), SelStart() + SelLength(), u""); })
        ->setEnabled(selection);
    menu.addSeparator();
    menu.addAction(QObject::tr("Select All"), [this] { Select(0, text_.size()); })->setEnabled(!text_.empty());
    menu.exec(event->globalPos());
}

}  // namespace ravelon::forms::qt
