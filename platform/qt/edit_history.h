#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace ravelon::forms::qt {

// The edits made to a box's exact text, each as what it removed and what it
// inserted, so that they can be taken back and made again unit for unit.
class EditHistory {
public:
    struct Edit {
        std::size_t at;
        std::u16string removed;
        std::u16string inserted;
    };
    using Reached = std::function<bool(const std::u16string&)>;

    void Clear();
    // A new edit: what was undone can no longer be redone.
    void Record(Edit edit);
    // Takes edits back one at a time until `reached` holds for the text; if it
    // never does, the text is left as it was and the answer is false.
    bool UndoUntil(std::u16string& text, const Reached& reached);
    // Makes undone edits again, likewise.
    bool RedoUntil(std::u16string& text, const Reached& reached);

private:
    static bool Walk(std::u16string& text, std::vector<Edit>& from, std::vector<Edit>& to, bool undo,
                     const Reached& reached);

    std::vector<Edit> done_, undone_;
};

}  // namespace ravelon::forms::qt
