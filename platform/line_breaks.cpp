#include "platform/line_breaks.h"

#include <algorithm>

namespace ravelon::forms {

namespace {

bool CrLfAt(std::u16string_view text, std::size_t i)
{
    return text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
}

// The units the document's character at `i` takes.
std::size_t UnitsAt(std::u16string_view text, std::size_t i)
{
    return CrLfAt(text, i) ? 2 : 1;
}

}  // namespace

std::size_t BreakAt(std::u16string_view text, std::size_t at)
{
    if (at >= text.size() || !IsLineBreak(text[at])) return 0;
    return CrLfAt(text, at) ? 2 : 1;
}

std::pair<std::size_t, std::size_t> ParagraphAround(std::u16string_view text, std::size_t at)
{
    std::size_t from = std::min(at, text.size()), to = from;
    while (from > 0 && !IsParagraphBreak(text[from - 1])) --from;
    while (to < text.size() && !IsParagraphBreak(text[to])) ++to;
    return {from, to};
}

std::size_t BreakBefore(std::u16string_view text, std::size_t at)
{
    if (at == 0 || !IsLineBreak(text[at - 1])) return 0;
    return at >= 2 && CrLfAt(text, at - 2) ? 2 : 1;
}

std::size_t DocumentPosition(std::u16string_view text, std::size_t exact)
{
    std::size_t position = 0;
    for (std::size_t i = 0; i < exact && i < text.size(); i += UnitsAt(text, i)) ++position;
    return position;
}

std::size_t ExactPosition(std::u16string_view text, std::size_t document)
{
    std::size_t i = 0;
    for (std::size_t position = 0; position < document && i < text.size(); ++position) i += UnitsAt(text, i);
    return i;
}

std::u16string AsInDocument(std::u16string_view text, char16_t separator)
{
    std::u16string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); i += UnitsAt(text, i))
        shown += IsParagraphBreak(text[i]) ? separator : text[i];
    return shown;
}

void DocumentPositions::Reset()
{
    pairs_.clear();
    built_ = false;
}

void DocumentPositions::FindPairs(std::size_t from, std::size_t to, std::vector<std::size_t>& into) const
{
    for (std::size_t i = from; i < to && i < text_.size(); ++i)
        if (CrLfAt(text_, i)) into.push_back(i);
}

void DocumentPositions::Build() const
{
    if (built_) return;
    FindPairs(0, text_.size(), pairs_);
    built_ = true;
}

void DocumentPositions::Edited(std::size_t at, std::size_t removed, std::size_t inserted)
{
    if (!built_) return;
    // A pair may start one unit before the edit; those from there to its end are found again.
    const std::size_t from = at - std::min<std::size_t>(at, 1);
    const auto first = std::lower_bound(pairs_.begin(), pairs_.end(), from);
    const auto last = std::lower_bound(first, pairs_.end(), at + removed);
    for (auto it = last; it != pairs_.end(); ++it) *it = *it - removed + inserted;
    std::vector<std::size_t> found;
    FindPairs(from, at + inserted, found);
    pairs_.insert(pairs_.erase(first, last), found.begin(), found.end());
}

std::size_t DocumentPositions::ToDocument(std::size_t exact) const
{
    Build();
    exact = std::min(exact, text_.size());
    // Pairs wholly before the position each count one unit less.
    const auto before =
        std::lower_bound(pairs_.begin(), pairs_.end(), exact, [](std::size_t cr, std::size_t e) { return cr + 1 < e; });
    return exact - static_cast<std::size_t>(before - pairs_.begin());
}

std::size_t DocumentPositions::ToExact(std::size_t document) const
{
    Build();
    // The i-th pair stands at document position pairs_[i] - i.
    std::size_t low = 0, high = pairs_.size();
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        if (pairs_[mid] - mid < document)
            low = mid + 1;
        else
            high = mid;
    }
    return std::min(text_.size(), document + low);
}

}  // namespace ravelon::forms
