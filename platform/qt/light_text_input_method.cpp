// The big-text view and input methods: what they commit, and what they ask.

#include <QInputMethodEvent>
#include <QRect>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "platform/qt/light_text.h"
#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

void LightText::InputMethod(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        Replace(SelStart(), SelStart() + SelLength(), FromQString(event->commitString()), Joins::kAsTyping);
}

// A text edit tells the paragraph around the caret, and positions in it; a
// line edit its whole text; either, of a big text, the part near the caret.
QVariant LightText::InputMethodQuery(Qt::InputMethodQuery query, const QVariant& otherwise)
{
    // Of a paragraph (or a line edit's text) longer than this, the part
    // around the caret is told: a big text is not copied at every question.
    constexpr std::size_t kAround = 2048;
    const std::size_t least = caret_ > kAround ? caret_ - kAround : 0;
    const std::size_t most = std::min(text_.size(), caret_ + kAround);
    std::size_t from = caret_, to = caret_;
    while (from > least && (singleLine_ || !IsParagraphBreak(text_[from - 1]))) --from;
    while (to < most && (singleLine_ || !IsParagraphBreak(text_[to]))) ++to;
    // Counted as the document counts, from the paragraph's start: an anchor in
    // another paragraph is told below 0 or past its end.
    const auto inParagraph = [&](std::size_t position) { return Told(position) - Told(from); };
    switch (query) {
        case Qt::ImCursorPosition:
            return inParagraph(caret_);
        case Qt::ImAnchorPosition:
            return inParagraph(anchor_);
        case Qt::ImSurroundingText:
            return Slice(text_, from, to);
        case Qt::ImCurrentSelection: {
            const std::u16string_view selected = std::u16string_view(text_).substr(SelStart(), SelLength());
            return ToQString(singleLine_ ? std::u16string(selected) : AsInDocument(selected));
        }
        case Qt::ImCursorRectangle: {
            const std::optional<QRectF> caret = CaretPlace();  // for the text edit, in its viewport
            if (!caret) return otherwise;
            QRect rect = caret->toRect();
            if (singleLine_) {
                // The line edit's caret rectangle: five pixels either side, a pixel taller.
                rect = QRect(qRound(caret->x()) - 5, qRound(caret->y()), 10, qRound(caret->height()) + 1);
            } else {
                // The text edit rounds the caret's place in its paragraph, then
                // scrolls by the whole pixels of its offset into the first line.
                const qreal offset = placement_.area.top() - ViewTop();
                const bool continues = top_ > 0 && !IsParagraphBreak(text_[lines_.Start(top_) - 1]);
                rect.moveTop(static_cast<int>(std::round(caret->y() + offset) -
                                              (continues ? std::floor(offset) : std::trunc(offset))));
            }
            return rect;
        }
        default:
            return otherwise;
    }
}

}  // namespace ravelon::forms::qt
