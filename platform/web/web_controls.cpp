#include "platform/web/web_controls.h"

#include <algorithm>

#include "platform/line_breaks.h"
#include "platform/web/dom.h"

namespace ravelon::forms::web {

WebTextBox::WebTextBox(int id, bool multiLine) : id_(id), multiLine_(multiLine) {}

void WebTextBox::Changed()
{
    if (onChange) onChange();
}

void WebTextBox::Show(std::size_t caret)
{
    ravelon_dom_set_value(id_, text_.Shown().c_str());
    ravelon_dom_set_selection(id_, static_cast<int>(caret), static_cast<int>(caret));
}

// As the desktop boxes: a single line keeps what comes before any line
// break; the change is told when the text is another.
void WebTextBox::SetText(std::u16string_view text)
{
    if (!multiLine_) text = FirstLine(text);
    const bool changed = text != text_.Exact();
    text_.Set(text);
    ravelon_dom_set_value(id_, text_.Shown().c_str());
    // A single line shows its end, a text area its start, as the desktop boxes do.
    const int caret = multiLine_ ? 0 : static_cast<int>(text_.Shown().size());
    ravelon_dom_set_selection(id_, caret, caret);
    if (changed) Changed();
}

void WebTextBox::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    ravelon_dom_set_enabled(id_, enabled);
}

void WebTextBox::SetBackColor(Colour colour)
{
    backColour_ = colour;
    ravelon_dom_set_colour(id_, IsSystemColour(colour) ? SystemColourIndex(colour) : colour, IsSystemColour(colour));
}

std::size_t WebTextBox::SelStart() const
{
    return text_.ToExact(static_cast<std::size_t>(std::max(0, ravelon_dom_selection_start(id_))));
}

std::size_t WebTextBox::SelLength() const
{
    return text_.ToExact(static_cast<std::size_t>(std::max(0, ravelon_dom_selection_end(id_)))) - SelStart();
}

void WebTextBox::SetSelStart(std::size_t start)
{
    const int at = static_cast<int>(text_.ToShown(std::min(start, text_.Exact().size())));
    ravelon_dom_set_selection(id_, at, at);
}

void WebTextBox::SetSelLength(std::size_t length)
{
    const std::size_t start = SelStart();
    const std::size_t end = std::min(text_.Exact().size(), start + length);
    ravelon_dom_set_selection(id_, static_cast<int>(text_.ToShown(start)), static_cast<int>(text_.ToShown(end)));
}

void WebTextBox::SetFocus()
{
    ravelon_dom_focus(id_);
}

void WebTextBox::Input(std::u16string_view value, std::size_t selStart, std::size_t selEnd, InputKind kind)
{
    text_.Edited(value, selStart, selEnd, kind);
    if (text_.Shown() != value) Show(selStart);  // what the page holds follows the exact text
    Changed();
}

void WebTextBox::Paste(std::u16string_view text)
{
    if (!multiLine_) text = FirstLine(text);
    const auto from = static_cast<std::size_t>(std::max(0, ravelon_dom_selection_start(id_)));
    const auto to = static_cast<std::size_t>(std::max(0, ravelon_dom_selection_end(id_)));
    const std::size_t before = text_.Shown().size();
    text_.Replace(from, to, text, EditHistory::Joins::kAsTyping);
    Show(to + text_.Shown().size() - before);
    Changed();
}

void WebTextBox::UndoOrRedo(bool redo)
{
    std::size_t caret = 0;
    if (!(redo ? text_.Redo(caret) : text_.Undo(caret))) return;
    Show(caret);
    Changed();
}

std::u16string WebTextBox::SelectedText() const
{
    const std::size_t start = SelStart();
    return text_.Exact().substr(start, SelLength());
}

void WebTextBox::Copy() const
{
    const std::u16string selected = SelectedText();
    if (!selected.empty()) ravelon_dom_write_clipboard(selected.c_str());  // the clipboard keeps what it had
}

void WebButton::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    ravelon_dom_set_enabled(id_, enabled);
}

}  // namespace ravelon::forms::web
