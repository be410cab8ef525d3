#include "platform/web/shown_text.h"

#include <algorithm>

namespace ravelon::forms::web {

namespace {

// The units of the line break at `at` as a text area counts one: CR LF, CR or LF.
std::size_t BreakAt(std::u16string_view text, std::size_t at)
{
    if (at >= text.size()) return 0;
    if (text[at] == u'\r') return at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
    return text[at] == u'\n' ? 1 : 0;
}

std::u16string AsShown(std::u16string_view exact)
{
    std::u16string shown;
    shown.reserve(exact.size());
    for (std::size_t i = 0; i < exact.size();) {
        const std::size_t lineBreak = BreakAt(exact, i);
        shown += lineBreak ? u'\n' : exact[i];
        i += std::max<std::size_t>(1, lineBreak);
    }
    return shown;
}

// Whether `after` is `before` with [from, to) replaced by something.
bool Fits(std::u16string_view before, std::u16string_view after, std::size_t from, std::size_t to)
{
    if (from > to || to > before.size() || after.size() + (to - from) < before.size()) return false;
    const std::size_t inserted = after.size() + (to - from) - before.size();
    return after.substr(0, from) == before.substr(0, from) && after.substr(from + inserted) == before.substr(to);
}

}  // namespace

void ShownText::Set(std::u16string_view exact)
{
    exact_ = exact;
    shown_ = AsShown(exact_);
    history_.Clear();
}

// Where the edit was is taken from the selection and the kind of input,
// which a comparison alone cannot tell between equal neighbours (two line
// breaks of different kinds); a comparison decides what they leave open.
void ShownText::Edited(std::u16string_view after, std::size_t selStart, std::size_t selEnd, InputKind kind)
{
    const std::u16string_view before = shown_;
    selEnd = std::min(selEnd, before.size());
    selStart = std::min(selStart, selEnd);
    const std::size_t shrunk = before.size() > after.size() ? before.size() - after.size() : 0;
    std::size_t from = selStart, to = selEnd;
    if (selStart == selEnd && kind == InputKind::kDeleteBackward)
        from = selStart - std::min(selStart, shrunk);
    else if (selStart == selEnd && kind == InputKind::kDeleteForward)
        to = std::min(before.size(), selEnd + shrunk);
    if (kind == InputKind::kOther || !Fits(before, after, from, to)) {
        from = 0;
        while (from < before.size() && from < after.size() && before[from] == after[from]) ++from;
        std::size_t same = 0;
        while (same < before.size() - from && same < after.size() - from &&
               before[before.size() - 1 - same] == after[after.size() - 1 - same])
            ++same;
        to = before.size() - same;
    }
    const std::u16string_view inserted = after.substr(from, after.size() + (to - from) - before.size());
    std::u16string exact;
    for (const char16_t c : inserted) {
        if (c == u'\n')
            exact += u"\r\n";  // a typed line break, as on Windows
        else
            exact += c;
    }
    const bool typing = kind != InputKind::kOther;
    ReplaceExact(ToExact(from), ToExact(to), exact,
                 typing ? EditHistory::Joins::kAsTyping : EditHistory::Joins::kNever);
}

void ShownText::Replace(std::size_t from, std::size_t to, std::u16string_view exact, EditHistory::Joins joins)
{
    to = std::min(to, shown_.size());
    ReplaceExact(ToExact(std::min(from, to)), ToExact(to), exact, joins);
}

void ShownText::ReplaceExact(std::size_t from, std::size_t to, std::u16string_view text, EditHistory::Joins joins)
{
    if (from == to && text.empty()) return;
    EditHistory::Change undo = ApplyExact({from, std::u16string(text), to - from});
    history_.Record(std::move(undo), text, joins);
}

EditHistory::Change ShownText::ApplyExact(const EditHistory::Change& change)
{
    EditHistory::Change undo{change.at, exact_.substr(change.at, change.replaces), change.text.size()};
    exact_.replace(change.at, change.replaces, change.text);
    shown_ = AsShown(exact_);
    lastEnd_ = change.at + change.text.size();
    return undo;
}

bool ShownText::Undo(std::size_t& caret)
{
    if (!history_.CanUndo()) return false;
    history_.Undo([this](const EditHistory::Change& change) { return ApplyExact(change); });
    caret = ToShown(lastEnd_);
    return true;
}

bool ShownText::Redo(std::size_t& caret)
{
    if (!history_.CanRedo()) return false;
    history_.Redo([this](const EditHistory::Change& change) { return ApplyExact(change); });
    caret = ToShown(lastEnd_);
    return true;
}

std::size_t ShownText::ToExact(std::size_t shown) const
{
    std::size_t exact = 0;
    for (std::size_t i = 0; i < shown && exact < exact_.size(); ++i)
        exact += std::max<std::size_t>(1, BreakAt(exact_, exact));
    return exact;
}

std::size_t ShownText::ToShown(std::size_t exact) const
{
    std::size_t shown = 0;
    for (std::size_t i = 0; i < exact && i < exact_.size(); ++shown) i += std::max<std::size_t>(1, BreakAt(exact_, i));
    return shown;
}

}  // namespace ravelon::forms::web
