#pragma once

// One line of a box as it is shown, laid out on its own. In a paragraph with
// right-to-left text, some of the paragraph's text before and after it is laid
// out with it (as lines of their own, far from it, never painted), so that
// what the line begins and ends with takes the direction the paragraph's own
// layout gives it. Positions count from the line's start.

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTextLayout>
#include <memory>
#include <string_view>

class QFont;
class QPainter;

namespace ravelon::forms::qt {

// What an input method is composing, shown at a place in the text before it is committed.
struct Preedit {
    QString text;
    std::size_t at = 0;                       // where in the box's text
    int cursor = 0;                           // the caret's place in it
    bool cursorShown = true;                  // an input method may hide the caret
    QList<QTextLayout::FormatRange> formats;  // from its start
};

// The text around a line that decides how it is shown.
struct LineContext {
    QString before, after;
};

// A line of a box that wraps: the width it wraps at, and the margin left of
// it. The text edit keeps the caret within the width, and never left of the
// margin's edge, over spaces that run on past them.
struct LineRoom {
    qreal width = 0;  // 0 where lines do not wrap
    qreal margin = 0;
};

class ShownLine {
public:
    // `text` laid out as one line that does not wrap, at (0, 0), in a
    // paragraph of `direction`, between `context`; with `preedit` shown
    // `preeditAt` units into it; in a box that wraps, within its `room`.
    ShownLine(const QString& text, const QFont& font, Qt::LayoutDirection direction, const LineContext& context = {},
              const Preedit* preedit = nullptr, int preeditAt = 0, LineRoom room = {});

    QTextLine Line() const { return layout_->lineAt(before_ > 0 ? 1 : 0); }
    qreal CursorToX(int position) const { return Line().cursorToX(position + before_) - margin_; }
    QRectF NaturalTextRect() const { return Line().naturalTextRect().translated(-margin_, 0); }
    int XToCursor(qreal x) const;
    // Whether the layout knows that the paragraph goes on after the line.
    bool GoesOn() const { return layout_->lineCount() > Line().lineNumber() + 1; }
    // Selections count from the line's start.
    void Draw(QPainter* painter, QPointF at, QList<QTextLayout::FormatRange> selections, const QRectF& clip) const;
    void DrawCursor(QPainter* painter, QPointF at, int position, int width) const;

private:
    std::unique_ptr<QTextLayout> layout_;
    int before_ = 0;
    qreal margin_ = 0;  // where the lines lie in the layout, as in the text edit's
};

// The direction of the paragraph that starts at `from`, as the toolkit finds
// it: that of its first letter with a strong one, outside isolated runs.
Qt::LayoutDirection ParagraphDirection(std::u16string_view text, std::size_t from);
// Whether `text` holds anything that runs right to left.
bool HasRightToLeft(std::u16string_view text);

}  // namespace ravelon::forms::qt
