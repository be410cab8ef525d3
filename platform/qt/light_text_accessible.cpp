#include "platform/qt/light_text_accessible.h"

#include <algorithm>

#include "platform/qt/light_text.h"
#include "platform/qt/qt_text_boxes.h"

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QTextBoundaryFinder>

namespace ravelon::forms::qt {

namespace {

QAccessibleInterface* ForLightBoxes(const QString&, QObject* object)
{
    auto* box = qobject_cast<QWidget*>(object);
    return box && LightTextOf(box) ? new LightTextAccessible(box) : nullptr;
}

// Characters, words and sentences are found with the toolkit's boundary
// finder, as its default account of a text finds them, but in the paragraph
// around the offset, this far either side at most, rather than in the whole text.
constexpr std::size_t kBoundaryReach = 4096;

// The item of `text` around `offset`. The toolkit's default would look on
// for an item's end forever where none follows, as after a text's last word.
QString ItemAround(const QString& text, int offset, QAccessible::TextBoundaryType kind, int* startOffset,
                   int* endOffset)
{
    *startOffset = *endOffset = -1;
    const int length = static_cast<int>(text.size());
    if (text.isEmpty() || offset < 0 || offset > length || (offset == length && kind == QAccessible::CharBoundary))
        return {};
    const auto type = kind == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                      : kind == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                          : QTextBoundaryFinder::Sentence;
    const auto item = QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem;
    QTextBoundaryFinder boundary(type, text);
    boundary.setPosition(offset);
    while (!(boundary.boundaryReasons() & item) && boundary.toPreviousBoundary() > 0) {
    }
    *startOffset = std::max<int>(0, static_cast<int>(boundary.position()));
    qsizetype next = 0;
    while ((next = boundary.toNextBoundary()) >= 0 && next < length && !(boundary.boundaryReasons() & item)) {
    }
    *endOffset = next < 0 ? length : static_cast<int>(next);
    return text.mid(*startOffset, *endOffset - *startOffset);
}

// The item around `offset` in the told text, looked for in its paragraph;
// `step` -1 or 1 asks for the item before or after it instead.
QString ItemNear(const LightText& light, int offset, QAccessible::TextBoundaryType kind, int step, int* startOffset,
                 int* endOffset)
{
    const std::u16string& text = light.Text();
    const std::size_t at = light.Exact(offset);
    std::size_t from = at - std::min(at, kBoundaryReach), to = std::min(text.size(), at + kBoundaryReach);
    for (std::size_t i = at; i > from; --i)
        if (IsParagraphBreak(text[i - 1])) from = i;
    for (std::size_t i = at; i < to; ++i)
        if (IsParagraphBreak(text[i])) to = i + BreakAt(text, i);
    const int shift = light.Told(from);
    const QString window = light.Told(std::u16string_view(text).substr(from, to - from));
    const int size = static_cast<int>(window.size());
    QString answer = ItemAround(window, offset - shift, kind, startOffset, endOffset);
    if (step != 0) {
        // The item before the one there, or after it, within the paragraph.
        const int next = step < 0 ? *startOffset - 1 : *endOffset;
        if (next >= 0 && next < size) {
            answer = ItemAround(window, next, kind, startOffset, endOffset);
        } else {
            answer.clear();
            *startOffset = *endOffset = step < 0 ? 0 : size;
        }
    }
    *startOffset += shift;
    *endOffset += shift;
    return answer;
}

}  // namespace

LightTextAccessible::LightTextAccessible(QWidget* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

void LightTextAccessible::Install()
{
    static const bool installed = (QAccessible::installFactory(ForLightBoxes), true);
    (void)installed;
}

// The account the box had is dropped; the next one asked for fits what shows
// its text now. A screen reader on the box is sent to the new one.
void LightTextAccessible::Renew(QWidget* box)
{
    if (QAccessibleInterface* account = QAccessible::queryAccessibleInterface(box))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(account));
    if (box->hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent focus(box, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

LightText* LightTextAccessible::Light() const
{
    return LightTextOf(widget());
}

void* LightTextAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State LightTextAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.selectableText = true;
    state.multiLine = qobject_cast<const QLineEdit*>(object()) == nullptr;
    return state;
}

QString LightTextAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value) return text(0, characterCount());
    return QAccessibleWidget::text(kind);
}

void LightTextAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    LightText* light = Light();
    if (!light || selectionIndex != 0 || light->SelLength() == 0) return;
    *startOffset = light->Told(light->SelStart());
    *endOffset = light->Told(light->SelStart() + light->SelLength());
}

int LightTextAccessible::selectionCount() const
{
    LightText* light = Light();
    return light && light->SelLength() > 0 ? 1 : 0;
}

void LightTextAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void LightTextAccessible::removeSelection(int selectionIndex)
{
    if (LightText* light = Light(); light && selectionIndex == 0) light->Select(light->Caret(), light->Caret());
}

void LightTextAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (LightText* light = Light(); light && selectionIndex == 0)
        light->Select(light->Exact(startOffset), light->Exact(endOffset));
}

int LightTextAccessible::cursorPosition() const
{
    LightText* light = Light();
    return light ? light->Told(light->Caret()) : 0;
}

void LightTextAccessible::setCursorPosition(int position)
{
    if (LightText* light = Light()) light->Select(light->Exact(position), light->Exact(position));
}

QString LightTextAccessible::text(int startOffset, int endOffset) const
{
    LightText* light = Light();
    if (!light) return {};
    const std::size_t from = light->Exact(startOffset);
    const std::size_t to = std::max(from, light->Exact(endOffset));
    return light->Told(std::u16string_view(light->Text()).substr(from, to - from));
}

// A line is a line as shown, wrapped or not, as far as End goes on it; the
// toolkit finds the other kinds of boundary in the text as a whole.
QString LightTextAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                                          int* endOffset) const
{
    LightText* light = Light();
    if (!light || boundary == QAccessible::NoBoundary || boundary == QAccessible::ParagraphBoundary)
        return QAccessibleTextInterface::textAtOffset(offset, boundary, startOffset, endOffset);
    if (boundary != QAccessible::LineBoundary) return ItemNear(*light, offset, boundary, 0, startOffset, endOffset);
    const auto [from, to] = light->LineAround(light->Exact(offset));
    *startOffset = light->Told(from);
    *endOffset = light->Told(to);
    return text(*startOffset, *endOffset);
}

QString LightTextAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                                              int* endOffset) const
{
    LightText* light = Light();
    if (!light || boundary == QAccessible::NoBoundary || boundary == QAccessible::ParagraphBoundary)
        return QAccessibleTextInterface::textBeforeOffset(offset, boundary, startOffset, endOffset);
    if (boundary != QAccessible::LineBoundary) return ItemNear(*light, offset, boundary, -1, startOffset, endOffset);
    const std::optional<std::size_t> previous = light->LineStartAway(light->Exact(offset), -1);
    if (!previous) {
        *startOffset = *endOffset = 0;
        return {};
    }
    return textAtOffset(light->Told(*previous), boundary, startOffset, endOffset);
}

QString LightTextAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                                             int* endOffset) const
{
    LightText* light = Light();
    if (!light || boundary == QAccessible::NoBoundary || boundary == QAccessible::ParagraphBoundary)
        return QAccessibleTextInterface::textAfterOffset(offset, boundary, startOffset, endOffset);
    if (boundary != QAccessible::LineBoundary) return ItemNear(*light, offset, boundary, 1, startOffset, endOffset);
    const std::optional<std::size_t> next = light->LineStartAway(light->Exact(offset), 1);
    if (!next) {
        *startOffset = *endOffset = characterCount();
        return {};
    }
    return textAtOffset(light->Told(*next), boundary, startOffset, endOffset);
}

int LightTextAccessible::characterCount() const
{
    LightText* light = Light();
    return light ? light->Told(light->Text().size()) : 0;
}

QRect LightTextAccessible::characterRect(int offset) const
{
    LightText* light = Light();
    return light ? light->CharacterRect(light->Exact(offset)) : QRect();
}

int LightTextAccessible::offsetAtPoint(const QPoint& point) const
{
    LightText* light = Light();
    if (!light) return -1;
    auto* area = qobject_cast<QAbstractScrollArea*>(widget());
    QWidget* shown = area ? area->viewport() : widget();
    return light->Told(light->PositionAt(shown->mapFromGlobal(point)));
}

// The view follows the caret alone, as the toolkit's multi-line box does.
void LightTextAccessible::scrollToSubstring(int, int) {}

QString LightTextAccessible::attributes(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void LightTextAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void LightTextAccessible::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void LightTextAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    if (LightText* light = Light(); light && !widget()->property("readOnly").toBool())
        light->Replace(light->Exact(startOffset), light->Exact(endOffset), FromQString(text));
}

}  // namespace ravelon::forms::qt
