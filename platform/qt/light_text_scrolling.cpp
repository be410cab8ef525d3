// Where the big-text view scrolls to, as the toolkit's text edit (and, for a
// single line, its line edit) would.

#include <QTextLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/line_breaks.h"
#include "platform/qt/light_text.h"
#include "platform/qt/wrapped_lines.h"

namespace ravelon::forms::qt {

// Where the first line in view goes, as the text edit scrolls: the document's
// top margin shows only above its first line, and a line that continues a
// paragraph sits below the previous line's text, whose height is not rounded up.
qreal LightText::TopOfLines(std::size_t top, bool continuing)
{
    if (top == 0 || !lines_.Exists(top)) return placement_.origin.y();
    if (!continuing && BreakBefore(text_, lines_.Start(top))) return placement_.area.top();
    const QTextLine line = lines_.LayOut(top - 1).Line();
    return placement_.area.top() + line.height() - (line.ascent() + line.descent());
}

// Where the first line in view is: where it would go, less what is left over
// from scrolling by whole pixels.
qreal LightText::ViewTop()
{
    return TopOfLines(top_, topCountedPastParagraph_) - fracture_;
}

// The text edit scrolls its view by whole pixels: a new first line comes to
// its place less the fraction of a pixel the move leaves over, which stays
// until a move of a whole pixel or more.
void LightText::SetTop(std::size_t top)
{
    if (top == top_ && !topCountedPastParagraph_) return;
    if (!lines_.Exists(top_)) {  // an edit took the first line in view away
        top_ = top;
        fracture_ = 0;
        topCountedPastParagraph_ = false;
        return;
    }
    const qreal near = 2 * placement_.area.height() + lines_.LayOut(top_).Line().height();
    const std::optional<qreal> at = LineTopInView(top, near);
    // Farther, lines are taken to be as high as the new one: the lines between
    // are not laid out for a fraction of a pixel.
    const qreal lines = top > top_ ? static_cast<qreal>(top - top_) : -static_cast<qreal>(top_ - top);
    const qreal realDy = TopOfLines(top) - at.value_or(ViewTop() + lines * lines_.LayOut(top).Line().height());
    const int dy = static_cast<int>(realDy);
    fracture_ = dy == 0 || !widget_.isVisible() ? 0 : realDy - dy;
    topCountedPastParagraph_ = false;
    top_ = top;
}

qreal LightText::RoomBelow(std::size_t top)
{
    return placement_.area.bottom() + 1 - TopOfLines(top);
}

// As the text edit: the view moves up to a caret above it, and down once the
// caret's text (its line's leading aside) reaches the bottom.
void LightText::EnsureCaretVisible()
{
    if (singleLine_) return;  // as the line edit: when it paints
    const std::size_t line = lines_.LineOf(caret_);
    if (line <= top_) return SetTop(line);
    const QTextLine shown = lines_.LayOut(line).Line();
    const std::optional<qreal> y = LineTopInView(line, 2 * placement_.area.height());
    if (y && *y + shown.ascent() + shown.descent() < placement_.area.bottom() + 1) return;
    SetTop(std::max(top_, TopWithLineAtBottom(line, top_)));
}

void LightText::RevealCaret()
{
    EnsureCaretVisible();
    widget_.update();
}

// The first line in view that shows the text of `line` at the bottom, leading
// aside, as the text edit finds it, counting back no further than `floor`.
std::size_t LightText::TopWithLineAtBottom(std::size_t line, std::size_t floor)
{
    const QTextLine last = lines_.LayOut(line).Line();
    qreal height = last.ascent() + last.descent();
    std::size_t first = line;
    while (first > floor) {
        const qreal h = lines_.LayOut(first - 1).Line().height();
        if (height + h > RoomBelow(first - 1)) break;
        height += h;
        --first;
    }
    return first;
}

// As the text edit scrolls no further than the last line at the bottom: when
// the lines from the top in view end before the view does, earlier lines come in.
void LightText::KeepViewFilled()
{
    if (!singleLine_) SetTop(Filled(top_));
}

std::size_t LightText::Filled(std::size_t top)
{
    // As the text edit's scroll bar: the first line in view is at most the
    // one that shows a page of the text's last lines.
    const auto page = static_cast<std::size_t>(std::max(1, PageStep()));
    if (lines_.Exists(top + page)) return top;
    std::size_t last = top;
    while (lines_.Exists(last + 1)) ++last;
    return std::min(top, last + 1 >= page ? last + 1 - page : 0);
}

// The top of `line` in the view, which may be above or below it; none when it
// is farther than `within` from the first line in view.
std::optional<qreal> LightText::LineTopInView(std::size_t line, qreal within)
{
    if (!lines_.Exists(top_)) return std::nullopt;  // an edit took the first line in view away
    qreal y = ViewTop();
    for (std::size_t l = top_; l < line && y - ViewTop() <= within; ++l) y += lines_.LayOut(l).Line().height();
    for (std::size_t l = line; l < top_ && ViewTop() - y <= within; ++l) y -= lines_.LayOut(l).Line().height();
    if (std::abs(y - ViewTop()) > within) return std::nullopt;
    return y;
}

// As the text edit pages: Page Down brings the first line not shown whole to
// the top, Page Up the first line at most a view's height above it; then the
// caret goes line by line until it is back at the height it was shown at (the
// first page move's height, over a run of them), or as far as it can.
void LightText::PageMove(int direction, bool select)
{
    EnsureCaretVisible();
    const auto lineTop = [&](std::size_t line) { return *LineTopInView(line); };
    const qreal caretY = pageCaretY_.value_or(lineTop(lines_.LineOf(caret_)));
    qreal keepAt = caretY;
    const qreal bottom = placement_.area.bottom() + 1;
    const auto height = [&](std::size_t line) { return lines_.LayOut(line).Line().height(); };
    if (direction > 0) {
        std::size_t line = top_;
        qreal y = ViewTop();
        // A line that goes on in its paragraph is shown whole when its text
        // is, its leading aside; a paragraph's last line, with its leading.
        const auto shownHeight = [&](std::size_t l) {
            if (!lines_.Exists(l + 1) || StartsParagraph(l + 1)) return height(l);
            const QTextLine shown = lines_.LayOut(l).Line();
            return shown.ascent() + shown.descent();
        };
        for (; lines_.Exists(line + 1) && y + shownHeight(line) <= bottom; ++line) y += height(line);
        const qreal margin = placement_.origin.y() - placement_.area.top();
        if (!lines_.Exists(line + 1) && y + height(line) + margin <= bottom)
            keepAt = std::numeric_limits<qreal>::max();  // the text ends in view: to its last line
        else
            SetTop(Filled(line));
    } else {
        const qreal target = placement_.area.top() - placement_.area.height();
        if (top_ == 0) keepAt = std::numeric_limits<qreal>::lowest();  // already at the top: to the first line
        std::size_t line = top_;
        qreal y = ViewTop();
        for (; line > 0 && y - height(line - 1) >= target; --line) y -= height(line - 1);
        // A paragraph that starts in view is passed whole only when the line
        // before it starts at most a page above it.
        const bool startsTopParagraph =
            line > 0 && IsParagraphBreak(text_[lines_.Start(line) - 1]) &&
            std::none_of(text_.begin() + static_cast<std::ptrdiff_t>(lines_.Start(line)),
                         text_.begin() + static_cast<std::ptrdiff_t>(lines_.Start(top_)), IsParagraphBreak);
        if (startsTopParagraph) --line;
        SetTop(line);
    }
    std::size_t to = caret_;
    bool moved = false;
    while (const std::optional<std::size_t> next = VerticalMove(to, direction, false)) {
        to = *next;
        moved = true;
        const qreal y = lineTop(lines_.LineOf(to));
        if (direction > 0 ? y >= keepAt : y <= keepAt) break;
    }
    MoveCaret(to, select || !moved);  // a caret that cannot move keeps its selection
    pageCaretY_ = caretY;
}

// What the text edit's scroll bar pages by: the lines of the text's end that
// its view shows whole, found paragraph by paragraph from the last; of a
// paragraph too long to lay out whole, its last units stand for it.
int LightText::PageStep()
{
    constexpr std::size_t kTail = 4096;
    const qreal margin = placement_.origin.y() - placement_.area.top();
    const qreal visible = placement_.area.height() - margin - 1;
    qreal y = margin;
    int lines = 0;
    for (std::size_t end = text_.size();;) {
        std::size_t start = end;
        while (start > 0 && !IsParagraphBreak(text_[start - 1]) && end - start < kTail) --start;
        QTextLayout layout(Slice(text_, start, end), widget_.font());
        QTextOption option;
        option.setWrapMode(lines_.WrapMode());
        layout.setTextOption(option);
        std::vector<qreal> tops;
        qreal height = 0;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(placement_.width);
            line.setPosition(QPointF(0, height));
            tops.push_back(height);
            height += line.height();
        }
        layout.endLayout();
        y += layout.boundingRect().bottom();
        if (y > visible) {
            lines += static_cast<int>(tops.end() - std::lower_bound(tops.begin(), tops.end(), y - visible));
            break;
        }
        lines += static_cast<int>(tops.size());
        if (start == 0 || !IsParagraphBreak(text_[start - 1])) break;
        end = start - BreakBefore(text_, start);
    }
    return lines;
}

void LightText::ShowFrom(std::size_t position)
{
    if (singleLine_) return;
    SetTop(Filled(lines_.LineOf(std::min(position, text_.size()))));
    widget_.update();
}

void LightText::ScrollBy(int lines)
{
    if (singleLine_) return;
    std::size_t top = top_;
    if (lines < 0) top -= std::min(top, static_cast<std::size_t>(-lines));
    for (int i = 0; i < lines && lines_.Exists(top + 1); ++i) ++top;
    SetTop(Filled(top));
    widget_.update();
}

// ---- The single line ----

// How far either side of the caret a single line is laid out to scroll it: a
// right-to-left line, placed by its left end, its last unit, whole where it
// is not too long to lay out at every key.
std::size_t LightText::SingleLineReach()
{
    const std::size_t reach = 4 * kSingleLineReach;
    if (text_.size() <= kSingleLineWhole && lines_.Direction(0) == Qt::RightToLeft)
        return std::max(reach, text_.size());
    return reach;
}

// As the line edit scrolls, in whole pixels: a caret beyond the right edge
// comes to the right edge, one beyond the left edge to the left edge, a text
// that ends short of the right edge is aligned to it, and a text that fits to
// the side it starts from. Positions count from a unit not far before the
// caret: from the text's start, unless it is long.
void LightText::ScrollSingleLine()
{
    const std::size_t reach = SingleLineReach();
    const bool leftToRight = lines_.Direction(0) == Qt::LeftToRight;
    const std::size_t from = caret_ - std::min(caret_, reach);
    const std::size_t anchor = leftToRight ? CutAfterLeftToRight(from) : from;
    const std::size_t end = std::min(text_.size(), caret_ + reach);
    // What an input method composes at the caret takes room there, and the
    // caret is kept in view where it stands in it.
    const std::unique_ptr<ShownLine> composing = WithPreedit(anchor, end, true);
    const ShownLine& shown = composing ? *composing : lines_.LayOutUnits(anchor, end);
    const QTextLine line = shown.Line();
    const qreal width = placement_.width;
    // Positions count from `anchor`, which lies a fraction of a pixel past a
    // whole one in the whole line (the line edit rounds in the whole line):
    // carried over from where they counted from before, or else measured from
    // the text's start where that is not far.
    qreal hscroll, fraction = -1;
    if (scrollFrom_ <= end && (scrollFrom_ >= anchor || (leftToRight && scrollFrom_ + reach >= anchor))) {
        const qreal moved = scrollFrom_ == anchor  ? 0
                            : scrollFrom_ > anchor ? shown.CursorToX(static_cast<int>(scrollFrom_ - anchor))
                                                   : -XOf(scrollFrom_, anchor);
        hscroll = moved + scrollPixels_;
        fraction = anchorFraction_ - moved - std::floor(anchorFraction_ - moved);
    } else {
        hscroll = scrollFrom_ < anchor ? -1e9 : 1e9;  // the caret beyond the right or the left edge
    }
    if (anchor == 0 || !leftToRight || anchor > kSingleLineWhole)
        fraction = 0;
    else if (fraction < 0) {
        const qreal x = XOf(0, anchor);
        fraction = x - std::floor(x);
    }
    const auto rounded = [fraction](qreal x) { return qRound(x + fraction) - fraction; };
    const qreal cix = rounded(shown.CursorToX(static_cast<int>(caret_ - anchor) + (composing ? preedit_->cursor : 0)));
    const bool endInReach = end == text_.size();
    const qreal widthUsed = rounded(line.naturalTextWidth()) + 1;

    if (anchor == 0 && endInReach && widthUsed <= width)  // aligned to the side the text starts from
        hscroll = lines_.Direction(0) == Qt::RightToLeft ? widthUsed - width + 1 : 0;
    else if (cix - hscroll >= width)
        hscroll = cix - width + 1;
    else if (cix - hscroll < 0 && (!endInReach || hscroll < widthUsed))
        hscroll = cix;
    else if (endInReach && widthUsed - hscroll < width)
        hscroll = widthUsed - width + 1;
    else if (anchor == 0)
        hscroll = std::max<qreal>(0, hscroll);
    anchorFraction_ = fraction;
    scrollFrom_ = anchor;
    scrolledTo_ = end;
    scrollPixels_ = hscroll;
}

// Where a part of a left-to-right single line laid out on its own starts,
// not far before `from`: after a left-to-right letter, so that it places what
// follows as the whole line does (a right-to-left run cut in two, and the
// digits and signs beside it, would be ordered otherwise).
std::size_t LightText::CutAfterLeftToRight(std::size_t from) const
{
    for (std::size_t at = from; at > 0 && from - at < kSingleLineReach; --at)
        if (QChar(text_[at - 1]).direction() == QChar::DirL) return at;
    return from;
}

// How far right of `from` a left-to-right single line places `to`.
qreal LightText::XOf(std::size_t from, std::size_t to)
{
    const ShownLine line(Slice(text_, from, std::min(text_.size(), to + 16)), widget_.font(), Qt::LeftToRight);
    return line.CursorToX(static_cast<int>(to - from));
}

// The single line scrolled, laid out as scrolling lays it out: from where its
// positions count to well past the caret, so that a place right of the caret
// is found in the text after it, with the kerning there.
const ShownLine& LightText::ScrolledLine()
{
    ScrollSingleLine();
    return lines_.LayOutUnits(scrollFrom_, scrolledTo_);
}

}  // namespace ravelon::forms::qt
