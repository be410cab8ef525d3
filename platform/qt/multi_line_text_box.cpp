#include "platform/qt/multi_line_text_box.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "platform/line_breaks.h"
#include "platform/qt/code_edit.h"
#include "platform/qt/light_routing.h"
#include "platform/qt/light_text_accessible.h"
#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

MultiLineTextBox::MultiLineTextBox(QWidget* parent)
    : QtTextBox(new CodeEdit(parent, *this)), edit_(static_cast<CodeEdit*>(widget_))
{
    LightTextAccessible::Install();
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setTabChangesFocus(true);
    ChooseWrapMode(u"");
    QObject::connect(edit_->document(), &QTextDocument::contentsChange, edit_,
                     [this](int position, int removed, int added) {
                         if (light_) return;
                         // An undo that puts back a line break is told before its redo step
                         // is counted, but after its undo step is gone.
                         const int undoSteps = edit_->document()->availableUndoSteps();
                         const int redoSteps = edit_->document()->availableRedoSteps();
                         const bool undone = undoSteps < undoSteps_ || redoSteps > redoSteps_;
                         const bool redone = redoSteps < redoSteps_;
                         undoSteps_ = undoSteps;
                         redoSteps_ = redoSteps;
                         if (dropped_) {
                             exact_ = std::move(*dropped_);
                             dropped_.reset();
                         } else if (!editing_ && !(undone && UndoToDocument()) && !(redone && RedoToDocument())) {
                             ApplyDocumentChange(position, removed, added);
                         }
                     });
    QObject::connect(edit_->document(), &QTextDocument::contentsChanged, edit_, [this] {
        if (!light_) Changed();
    });
    // The caret moves after the document tells its change: kept here, it tells where the change was.
    const auto keepCursor = [this] { cursorBefore_ = {edit_->textCursor().anchor(), edit_->textCursor().position()}; };
    QObject::connect(edit_, &QPlainTextEdit::cursorPositionChanged, edit_, keepCursor);
    QObject::connect(edit_, &QPlainTextEdit::selectionChanged, edit_, keepCursor);
}

MultiLineTextBox::~MultiLineTextBox()
{
    edit_->light = nullptr;
}

QPlainTextEdit* MultiLineTextBox::widget()
{
    return edit_;
}

std::u16string MultiLineTextBox::Text() const
{
    return Exact();
}

int MultiLineTextBox::ToDocument(std::size_t exactPosition) const
{
    return static_cast<int>(DocumentPosition(Exact(), exactPosition));
}

std::size_t MultiLineTextBox::ToExact(int documentPosition) const
{
    return ExactPosition(Exact(), static_cast<std::size_t>(std::max(0, documentPosition)));
}

// The user changed the document (typing, deleting, cutting, dropping, undo):
// the same change is made to the exact text. Qt may report a wider range than
// what changed, so the part both sides agree on is left alone.
void MultiLineTextBox::ApplyDocumentChange(int position, int removed, int added)
{
    const int documentEnd = edit_->document()->characterCount() - 1;  // the last separator is implicit
    added = std::clamp(added, 0, std::max(0, documentEnd - position));
    std::size_t from = ToExact(position);
    std::size_t to = ToExact(position + removed);
    QTextCursor cursor(edit_->document());
    cursor.setPosition(position);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    std::u16string now = FromQString(cursor.selectedText());
    const std::u16string before = AsInDocument(std::u16string_view(exact_).substr(from, to - from));
    // The document tells a change of format alone (as it makes one before a
    // line break typed over lines) while the selection stands: the text, and
    // the kind of each line break, stay.
    if (now == before && edit_->textCursor().hasSelection()) return;
    if (const auto edit = EditAtCaret(position, removed, now)) {
        from = edit->from;
        to = edit->to;
    } else {
        std::size_t head = 0, tail = 0;
        while (head < now.size() && head < before.size() && now[head] == before[head])
            from += std::max<std::size_t>(1, BreakAt(exact_, from)), ++head;
        while (tail < now.size() - head && tail < before.size() - head &&
               now[now.size() - 1 - tail] == before[before.size() - 1 - tail])
            to -= std::max<std::size_t>(1, BreakBefore(exact_, to)), ++tail;
        now = now.substr(head, now.size() - head - tail);
    }
    std::u16string inserted;
    for (const char16_t c : now) {
        if (c == 0x2029)
            inserted += u"\r\n";  // a typed line break, as on Windows
        else
            inserted += c;
    }
    history_.Record({from, exact_.substr(from, to - from), inserted.size()}, inserted, EditHistory::Joins::kNever);
    exact_.replace(from, to - from, inserted);
}

// Between equal characters (two line breaks, one CR LF and one LF) the
// document's report leaves open which of them changed. An edit is placed
// where the caret was, where that fits the report: over its selection, or
// typed at it, or removing the unit before or after it.
std::optional<MultiLineTextBox::Edit> MultiLineTextBox::EditAtCaret(int position, int removed,
                                                                    std::u16string& now) const
{
    const auto [anchor, caret] = cursorBefore_;
    const std::pair<int, int> selection{std::min(anchor, caret), std::max(anchor, caret)};
    const std::pair<int, int> atCaret[] = {{caret, caret}, {caret - 1, caret}, {caret, caret + 1}};
    const std::size_t from = ToExact(position), to = ToExact(position + removed);
    const auto fits = [&](std::pair<int, int> place, bool typed) -> std::optional<Edit> {
        if (place.first < position || place.second > position + removed) return std::nullopt;
        const std::size_t exactFrom = ToExact(place.first), exactTo = ToExact(place.second);
        const std::u16string head = AsInDocument(std::u16string_view(exact_).substr(from, exactFrom - from));
        const std::u16string tail = AsInDocument(std::u16string_view(exact_).substr(exactTo, to - exactTo));
        if (now.size() < head.size() + tail.size() || !now.starts_with(head) || !now.ends_with(tail))
            return std::nullopt;
        if ((now.size() > head.size() + tail.size()) != typed) return std::nullopt;
        now = now.substr(head.size(), now.size() - head.size() - tail.size());
        return Edit{exactFrom, exactTo};
    };
    if (selection.first != selection.second) {
        if (auto edit = fits(selection, true)) return edit;
        return fits(selection, false);
    }
    if (auto edit = fits(atCaret[0], true)) return edit;
    if (auto edit = fits(atCaret[1], false)) return edit;
    return fits(atCaret[2], false);
}

// A drop is one edit of the document: the dragged text leaves its place
// (when it moves within the box), then goes in at the drop's. The document
// reports the two as one change, after both, so the exact text is worked out
// here and taken over when that report comes.
void MultiLineTextBox::Drop(const std::function<void()>& drop)
{
    const QTextCursor dragged = edit_->textCursor();
    dragFrom_ = ToExact(dragged.selectionStart());
    dragTo_ = ToExact(dragged.selectionEnd());
    charactersBeforeDrop_ = edit_->document()->characterCount();
    dropping_ = true;
    drop();
    dropping_ = false;
    ChooseWrapMode(exact_);
    if (exact_.size() >= LightTextFrom()) HandOverToLight(ToExact(edit_->textCursor().position()), FirstShown());
}

void MultiLineTextBox::InsertDropped(std::u16string_view text)
{
    std::u16string next = exact_;
    if (edit_->document()->characterCount() < charactersBeforeDrop_) {
        history_.Record({dragFrom_, next.substr(dragFrom_, dragTo_ - dragFrom_), 0}, u"", EditHistory::Joins::kNever);
        next.erase(dragFrom_, dragTo_ - dragFrom_);
    }
    QTextCursor cursor = edit_->textCursor();
    const std::size_t at = ExactPosition(next, static_cast<std::size_t>(cursor.position()));
    history_.Record({at, {}, text.size()}, text, EditHistory::Joins::kNever);
    next.insert(at, text);
    dropped_ = std::move(next);
    cursor.insertText(ToQString(text));
    edit_->setTextCursor(cursor);
}

// The document's undo and redo give back its text with every line break as
// one separator; the exact text is taken back through its own history instead,
// as far as the document went.
EditHistory::Change MultiLineTextBox::ApplyToExact(const EditHistory::Change& change)
{
    EditHistory::Change undo{change.at, exact_.substr(change.at, change.replaces), change.text.size()};
    exact_.replace(change.at, change.replaces, change.text);
    return undo;
}

bool MultiLineTextBox::UndoToDocument()
{
    const std::u16string shown = FromQString(edit_->document()->toRawText());
    return history_.UndoUntil([this](const EditHistory::Change& c) { return ApplyToExact(c); },
                              [&] { return AsInDocument(exact_) == shown; });
}

bool MultiLineTextBox::RedoToDocument()
{
    const std::u16string shown = FromQString(edit_->document()->toRawText());
    return history_.RedoUntil([this](const EditHistory::Change& c) { return ApplyToExact(c); },
                              [&] { return AsInDocument(exact_) == shown; });
}

// The text has grown past what the toolkit's box shows calmly: LightText
// takes it over where the user was, with the caret, the first line in view
// and the undo history. It keeps the text until the text is replaced whole.
void MultiLineTextBox::HandOverToLight(std::size_t caret, std::size_t firstShown)
{
    ShowLight(true);
    light_->Reset();
    light_->TakeHistory(std::move(history_));
    history_.Clear();
    light_->ShowFrom(firstShown);
    light_->Select(caret, caret);
    Changed();
}

std::size_t MultiLineTextBox::FirstShown() const
{
    QTextCursor top = edit_->cursorForPosition(QPoint(0, 0));
    top.movePosition(QTextCursor::StartOfLine);
    return ToExact(top.position());
}

void MultiLineTextBox::ShowLight(bool light)
{
    if (light == (light_ != nullptr)) return;
    editing_ = true;
    if (light) {
        light_ = std::make_unique<LightText>(*edit_->viewport(), *edit_, exact_, false);
        light_->edited = [this] { Changed(); };
        edit_->clear();  // the text edit lays out no more than nothing
        light_->Place(edit_->TextPlacement());
    } else {
        light_.reset();
    }
    edit_->light = light_.get();
    LightTextAccessible::Renew(edit_);
    editing_ = false;
    edit_->viewport()->update();
}

void MultiLineTextBox::Replace(int from, int to, std::u16string_view text)
{
    const std::size_t exactFrom = ToExact(from);
    const std::size_t exactTo = ToExact(to);
    history_.Record({exactFrom, exact_.substr(exactFrom, exactTo - exactFrom), text.size()}, text,
                    EditHistory::Joins::kNever);
    std::u16string next = Exact().substr(0, exactFrom);
    next += text;
    next += std::u16string_view(exact_).substr(exactTo);

    ChooseWrapMode(next);
    if (next.size() >= LightTextFrom()) {
        std::size_t firstShown = FirstShown();
        if (firstShown > exactFrom)
            firstShown = firstShown + text.size() - std::min(firstShown - exactFrom, exactTo - exactFrom);
        exact_ = std::move(next);
        return HandOverToLight(exactFrom + text.size(), firstShown);
    }
    exact_ = std::move(next);
    editing_ = true;
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.insertText(ToQString(text));
    edit_->setTextCursor(cursor);
    editing_ = false;
}

void MultiLineTextBox::SetText(std::u16string_view text)
{
    ChooseWrapMode(text);
    exact_ = text;
    history_.Clear();
    if (text.size() >= LightTextFrom()) {
        ShowLight(true);
        light_->Reset();
        Changed();
        return;
    }
    ShowLight(false);
    editing_ = true;
    edit_->setPlainText(ToQString(text));
    editing_ = false;
}

// Word wrap, except that a very long run without a break opportunity would
// take minutes to lay out that way; such a text breaks anywhere instead.
void MultiLineTextBox::ChooseWrapMode(std::u16string_view text)
{
    constexpr std::size_t kLongestWordToWrap = 4096;
    std::size_t run = 0, longest = 0;
    for (char16_t c : text) {
        run = (c == u' ' || c == u'\t' || IsLineBreak(c)) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    const QTextOption::WrapMode mode =
        longest > kLongestWordToWrap ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    edit_->setWordWrapMode(mode);
    if (light_) light_->SetWrapMode(mode);
}

void MultiLineTextBox::SetBackColor(Colour colour)
{
    backColor_ = colour;
    ApplyBackColor();
}

void MultiLineTextBox::ApplyBackColor()
{
    QPalette palette = edit_->palette();
    const QColor colour = Resolve(backColor_);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    edit_->setPalette(palette);
}

std::size_t MultiLineTextBox::SelStart() const
{
    return light_ ? light_->SelStart() : ToExact(edit_->textCursor().selectionStart());
}

std::size_t MultiLineTextBox::SelLength() const
{
    if (light_) return light_->SelLength();
    const QTextCursor cursor = edit_->textCursor();
    return ToExact(cursor.selectionEnd()) - ToExact(cursor.selectionStart());
}

void MultiLineTextBox::SetSelStart(std::size_t start)
{
    if (light_) return light_->Select(start, start);
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(ToDocument(start));
    edit_->setTextCursor(cursor);
}

void MultiLineTextBox::SetSelLength(std::size_t length)
{
    if (light_) return light_->Select(light_->SelStart(), light_->SelStart() + length);
    QTextCursor cursor = edit_->textCursor();
    const int anchor = cursor.selectionStart();
    cursor.setPosition(anchor);
    cursor.setPosition(ToDocument(ToExact(anchor) + length), QTextCursor::KeepAnchor);
    edit_->setTextCursor(cursor);
}

void MultiLineTextBox::CopySelection()
{
    if (light_) return light_->CopySelection();
    if (SelLength() == 0) return;  // as a Windows edit control: the clipboard keeps what it had
    QGuiApplication::clipboard()->setText(ToQString(std::u16string_view(Exact()).substr(SelStart(), SelLength())));
}

void MultiLineTextBox::PasteClipboard()
{
    if (light_) return light_->PasteClipboard();
    const std::optional<std::u16string> text = ClipboardText();
    if (!text || text->empty()) return;
    const QTextCursor cursor = edit_->textCursor();
    Replace(cursor.selectionStart(), cursor.selectionEnd(), *text);
}

}  // namespace ravelon::forms::qt
