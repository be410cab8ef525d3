#include "platform/qt/wrapped_lines.h"

#include <QWidget>
#include <algorithm>

#include "platform/line_breaks.h"
#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

namespace {

// How much text is laid out at a time to find where lines wrap; a line is
// kept only when this much text follows it, so that the window's end cannot
// have moved it.
constexpr std::size_t kWindow = 1024;
constexpr std::size_t kSettle = 64;
// Text that takes no room (zero-width spaces, joiners) would fill a line
// without end; a line holds this many units at most.
constexpr int kLongestLine = 900;

}  // namespace

QString Slice(const std::u16string& text, std::size_t from, std::size_t to)
{
    return ToQString(std::u16string_view(text).substr(from, to - from));
}

WrappedLines::WrappedLines(const std::u16string& text, const QWidget& widget, bool singleLine)
    : text_(text), widget_(widget), singleLine_(singleLine)
{
}

void WrappedLines::SetWidth(qreal width, qreal margin)
{
    if (width == width_ && margin == margin_) return;
    width_ = width;
    margin_ = margin;
    if (!singleLine_) ForgetAll();
}

void WrappedLines::SetWrapMode(QTextOption::WrapMode mode)
{
    if (mode == wrapMode_) return;
    wrapMode_ = mode;
    ForgetAll();
}

void WrappedLines::ForgetAll()
{
    layouts_.clear();
    directions_.clear();
    starts_.assign(1, 0);
    allLines_ = false;
    resync_.clear();
    resyncNext_ = 0;
}

// The lines before the one holding `at` stay; those after the edited units
// are kept aside, moved by the edit, for the new lines to meet again.
void WrappedLines::Edited(std::size_t at, std::size_t removed, std::size_t inserted)
{
    layouts_.clear();
    directions_.clear();
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

void WrappedLines::AddLineStart(std::size_t start)
{
    if (start <= starts_.back()) return;  // already met again, with the lines after it
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
void WrappedLines::LayOutMore()
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
        while (end < limit && !IsLineBreak(text_[end])) ++end;
        const bool wholeParagraph = end < limit || limit == text_.size();

        QTextLayout layout(Slice(text_, from, end), widget_.font());
        QTextOption option;
        option.setWrapMode(wrapMode_);
        option.setTextDirection(LineDirection(starts_.size() - 1));
        layout.setTextOption(option);
        std::vector<std::size_t> found;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width_);
            if (line.textLength() > kLongestLine) line.setNumColumns(kLongestLine, width_);
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
        while (settled > from && IsWrapSpace(text_[settled - 1])) --settled;
        settled = settled > from + kSettle ? settled - kSettle : from;
        std::size_t added = 0;
        for (std::size_t i = 1; i < found.size() && found[i] <= settled && !allLines_; ++i, ++added)
            AddLineStart(found[i]);
        if (added > 0) return;
    }
}

void WrappedLines::LayOutThrough(std::size_t position)
{
    while (!allLines_ && starts_.back() <= position) LayOutMore();
}

void WrappedLines::LayOutLines(std::size_t count)
{
    while (!allLines_ && starts_.size() <= count) LayOutMore();
}

std::size_t WrappedLines::LineOf(std::size_t position)
{
    LayOutThrough(position);
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin() - 1);
}

bool WrappedLines::Exists(std::size_t line)
{
    LayOutLines(line + 1);
    return line < starts_.size();
}

std::size_t WrappedLines::End(std::size_t line)
{
    LayOutLines(line + 1);
    if (line + 1 >= starts_.size()) return text_.size();
    const std::size_t next = starts_[line + 1];
    return next - BreakBefore(text_, next);
}

// Whether the line goes on in the next, without a line break between.
bool WrappedLines::Wrapped(std::size_t line)
{
    return Exists(line + 1) && !BreakBefore(text_, starts_[line + 1]);
}

bool WrappedLines::GoesOnInItsParagraph(std::size_t line)
{
    const std::size_t end = End(line);
    return Wrapped(line) || (!singleLine_ && end < text_.size() && text_[end] == 0x2028);
}

Qt::LayoutDirection WrappedLines::Direction(std::size_t position)
{
    return LineDirection(LineOf(position));
}

// Found from the paragraph's first line, through the lines before that are
// known, so that a line in a long paragraph does not look through all of it.
Qt::LayoutDirection WrappedLines::LineDirection(std::size_t line)
{
    std::size_t first = line;
    auto known = directions_.find(starts_[first]);
    while (known == directions_.end() && first > 0 && !IsParagraphBreak(text_[starts_[first] - 1]))
        known = directions_.find(starts_[--first]);
    const Qt::LayoutDirection direction =
        known != directions_.end() ? known->second : ParagraphDirection(text_, starts_[first]);
    directions_[starts_[first]] = direction;
    directions_[starts_[line]] = direction;
    return direction;
}

LineContext WrappedLines::Context(std::size_t start, std::size_t end)
{
    constexpr std::size_t kReach = 256;
    if (singleLine_) return {};
    std::size_t from = start, until = end;
    while (from > 0 && start - from < kReach && !IsLineBreak(text_[from - 1])) --from;
    while (until < text_.size() && until - end < kReach && !IsLineBreak(text_[until])) ++until;
    if (from == start && until == end) return {};
    if (Direction(start) == Qt::LeftToRight && !HasRightToLeft(std::u16string_view(text_).substr(from, until - from)))
        return {};
    return {Slice(text_, from, start), Slice(text_, end, until)};
}

ShownLine& WrappedLines::LayOut(std::size_t line)
{
    return LayOutUnits(starts_[line], End(line));
}

// Kept until the text changes: a blink of the caret lays nothing out again.
ShownLine& WrappedLines::LayOutUnits(std::size_t from, std::size_t to)
{
    auto& layout = layouts_[{from, to}];
    if (!layout)
        layout =
            std::make_unique<ShownLine>(Slice(text_, from, to), widget_.font(), Direction(from), Context(from, to),
                                        nullptr, 0, Room());
    return *layout;
}

std::u16string WrappedLines::ShownText()
{
    std::u16string shown;
    for (std::size_t line = 0; Exists(line); ++line) {
        if (line > 0 && BreakBefore(text_, starts_[line]))
            shown += text_[starts_[line] - 1] == 0x2028 ? u'\x2028' : u'\x2029';
        shown.append(text_, starts_[line], End(line) - starts_[line]);
    }
    return shown;
}

}  // namespace ravelon::forms::qt
