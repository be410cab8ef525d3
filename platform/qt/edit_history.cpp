#include "platform/qt/edit_history.h"

namespace ravelon::forms::qt {

void EditHistory::Clear()
{
    done_.clear();
    undone_.clear();
}

void EditHistory::Record(Edit edit)
{
    if (edit.removed.empty() && edit.inserted.empty()) return;
    done_.push_back(std::move(edit));
    undone_.clear();
}

bool EditHistory::UndoUntil(std::u16string& text, const Reached& reached)
{
    return Walk(text, done_, undone_, true, reached);
}

bool EditHistory::RedoUntil(std::u16string& text, const Reached& reached)
{
    return Walk(text, undone_, done_, false, reached);
}

bool EditHistory::Walk(std::u16string& text, std::vector<Edit>& from, std::vector<Edit>& to, bool undo,
                       const Reached& reached)
{
    const auto apply = [&](const Edit& edit, bool back) {
        const std::u16string& out = back ? edit.inserted : edit.removed;
        const std::u16string& in = back ? edit.removed : edit.inserted;
        text.replace(edit.at, out.size(), in);
    };
    std::size_t walked = 0;
    while (walked < from.size()) {
        apply(from[from.size() - 1 - walked], undo);
        ++walked;
        if (!reached(text)) continue;
        for (; walked > 0; --walked) {
            to.push_back(std::move(from.back()));
            from.pop_back();
        }
        return true;
    }
    for (std::size_t i = from.size() - walked; i < from.size(); ++i) apply(from[i], !undo);
    return false;
}

}  // namespace ravelon::forms::qt
