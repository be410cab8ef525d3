// The big-text view and input methods: what they commit, and what they ask.

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QRect>
#include <QTextCharFormat>
#include <QWidget>
#include <algorithm>

#include "platform/qt/light_text.h"
#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

// As the toolkit's boxes: text coming in replaces the selection; what is
// committed goes in at the caret (or over the units the input method names
// around it); what is still composed is shown at the caret, not yet text.
void LightText::InputMethod(QInputMethodEvent* event)
{
    // The text edit makes each input-method event one edit block: a step of
    // its own, which the typing after it joins; the line edit joins what is
    // committed to the typing around it.
    const Joins joins = singleLine_ ? Joins::kAsTyping : Joins::kStartsTyping;
    caretX_ = -1;  // and takes the caret's place across anew after each
    const QString composed = event->preeditString();
    const bool comingIn = !event->commitString().isEmpty() || composed != (preedit_ ? preedit_->text : QString()) ||
                          event->replacementLength() > 0;
    if (comingIn && SelLength() > 0)
        Replace(SelStart(), SelStart() + SelLength(), FromQString(event->commitString()), joins);
    else if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        const auto around = static_cast<std::ptrdiff_t>(caret_) + event->replacementStart();
        const std::size_t from =
            static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(around, 0, static_cast<std::ptrdiff_t>(text_.size())));
        const std::size_t to =
            std::min(text_.size(), from + static_cast<std::size_t>(std::max(0, event->replacementLength())));
        Replace(from, to, FromQString(event->commitString()), joins);
    }
    const std::size_t paragraph = singleLine_ ? 0 : LineAround(caret_).first;
    for (const QInputMethodEvent::Attribute& attribute : event->attributes())
        if (attribute.type == QInputMethodEvent::Selection)
            Select(paragraph + static_cast<std::size_t>(std::max(0, attribute.start)),
                   paragraph + static_cast<std::size_t>(std::max(0, attribute.start + attribute.length)));
    if (comingIn) {
        if (composed.isEmpty())
            preedit_.reset();
        else
            preedit_ = Preedit{composed, caret_, 0, true, {}};
    }
    if (preedit_) {
        preedit_->cursor = static_cast<int>(composed.size());
        preedit_->cursorShown = true;
        preedit_->formats.clear();
        for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
            if (attribute.type == QInputMethodEvent::Cursor) {
                preedit_->cursor = attribute.start;
                preedit_->cursorShown = attribute.length != 0;
            } else if (attribute.type == QInputMethodEvent::TextFormat) {
                const QTextCharFormat format = qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
                if (format.isValid()) preedit_->formats.append({attribute.start, attribute.length, format});
            }
        }
    }
    widget_.update();
}

void LightText::CommitPreedit()
{
    if (!preedit_) return;
    QGuiApplication::inputMethod()->commit();
    preedit_.reset();
    widget_.update();
}

// A text edit tells the paragraph around the caret, and positions in it; a
// line edit its whole text; either, of a big text, the part near the caret.
QVariant LightText::InputMethodQuery(Qt::InputMethodQuery query, const QVariant& otherwise)
{
    // Of a paragraph (or a line edit's text) longer than kWhole, the part
    // around the caret is told: a big text is not copied at every question.
    constexpr std::size_t kWhole = 4096, kAround = kWhole / 2;
    const std::size_t least = caret_ - std::min(caret_, kWhole + 1);
    const std::size_t most = std::min(text_.size(), caret_ + kWhole + 1);
    std::size_t from = caret_, to = caret_;
    while (from > least && (singleLine_ || !IsParagraphBreak(text_[from - 1]))) --from;
    while (to < most && (singleLine_ || !IsParagraphBreak(text_[to]))) ++to;
    if (to - from > kWhole) {
        from = std::max(from, caret_ - std::min(caret_, kAround));
        to = std::min(to, caret_ + kAround);
    }
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
            if (!caret && singleLine_) return otherwise;
            if (!caret) {  // far out of view: somewhere above or below it, as far
                const int away = 4 * placement_.area.height();
                const bool below = lines_.LineOf(caret_) >= top_;
                return QRect(qRound(placement_.origin.x()),
                             below ? placement_.area.bottom() + away : placement_.area.top() - away, 1,
                             qRound(lines_.LayOut(lines_.LineOf(caret_)).Line().height()));
            }
            if (singleLine_)  // the line edit's caret rectangle: five pixels either side, a pixel taller
                return QRect(qRound(caret->x()) - 5, qRound(caret->y()), 10, qRound(caret->height()) + 1);
            return *caret;  // as the text edit tells it: where the caret is, to the fraction of a pixel
        }
        default:
            return otherwise;
    }
}

}  // namespace ravelon::forms::qt
