#pragma once

// Where a text's lines start as a box shows it, wrapped at the box's width:
// found a window of text at a time, as far as they are asked for, and kept
// over an edit up to the lines it changed; with the lines as last laid out.

#include <QString>
#include <QTextOption>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QFont;
class QWidget;

#include "platform/qt/shown_line.h"

namespace ravelon::forms::qt {

// A space a wrapped line may end with.
inline bool IsWrapSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == 0x3000 || c == 0xA0;
}

QString Slice(const std::u16string& text, std::size_t from, std::size_t to);

class WrappedLines {
public:
    // Lines of `text` in `widget`'s font; a single line never wraps.
    WrappedLines(const std::u16string& text, const QWidget& widget, bool singleLine);

    // The width lines wrap at, and the margin left of them.
    void SetWidth(qreal width, qreal margin);
    // What a line's caret is kept within; no width where lines do not wrap.
    LineRoom Room() const { return {singleLine_ || wrapMode_ == QTextOption::NoWrap ? 0 : width_, margin_}; }
    void SetWrapMode(QTextOption::WrapMode mode);
    QTextOption::WrapMode WrapMode() const { return wrapMode_; }
    // The text was replaced whole, or every line must be found again.
    void ForgetAll();
    // After [at, at + removed) of the text was replaced with `inserted` units.
    void Edited(std::size_t at, std::size_t removed, std::size_t inserted);

    std::size_t LineOf(std::size_t position);
    bool Exists(std::size_t line);
    std::size_t Start(std::size_t line) const { return starts_[line]; }
    std::size_t End(std::size_t line);  // before its line break, if any
    bool Wrapped(std::size_t line);     // goes on in the next line, without a break between
    // Wrapped, or ended by a line separator: the paragraph goes on, and the
    // spaces the line ends with are left out of its width and highlight.
    bool GoesOnInItsParagraph(std::size_t line);
    // The direction of the paragraph holding `position` (a single line is one paragraph).
    Qt::LayoutDirection Direction(std::size_t position);
    // What the line [start, end) needs of the text around it to be shown as
    // in its paragraph: nothing, unless the paragraph has right-to-left text.
    LineContext Context(std::size_t start, std::size_t end);

    ShownLine& LayOut(std::size_t line);
    // Kept until the text changes: a blink of the caret lays nothing out again.
    ShownLine& LayOutUnits(std::size_t from, std::size_t to);
    void ForgetLayouts() { layouts_.clear(); }
    std::size_t LayoutsKept() const { return layouts_.size(); }

    // What the lines show, one after another, each line break as U+2029 (or
    // U+2028 for a line separator): every line laid out, as painting would.
    std::u16string ShownText();
    // How many lines have been laid out to find where they wrap.
    std::size_t LinesLaidOut() const { return linesLaidOut_; }

private:
    void AddLineStart(std::size_t start);
    void LayOutMore();
    void LayOutThrough(std::size_t position);
    void LayOutLines(std::size_t count);
    Qt::LayoutDirection LineDirection(std::size_t line);

    const std::u16string& text_;
    const QWidget& widget_;
    const bool singleLine_;
    qreal width_ = 0;
    qreal margin_ = 0;
    QTextOption::WrapMode wrapMode_ = QTextOption::WrapAtWordBoundaryOrAnywhere;

    std::vector<std::size_t> starts_{0};  // the lines found so far, in order
    bool allLines_ = false;               // starts_ holds every line
    std::vector<std::size_t> resync_;     // lines after the last edit, as they were
    std::size_t resyncNext_ = 0;          // the first of them not yet passed
    bool resyncReachesEnd_ = false;
    std::size_t linesLaidOut_ = 0;
    std::map<std::pair<std::size_t, std::size_t>, std::unique_ptr<ShownLine>> layouts_;
    std::map<std::size_t, Qt::LayoutDirection> directions_;  // by line start, until the text changes
};

}  // namespace ravelon::forms::qt
