#pragma once

// Where each unit of a box's text lies in the store the toolkit's document
// keeps: all that was ever put in, one insertion after another, as it was
// put in, with a paragraph separator added after it for each of its
// paragraph breaks. Undo and redo put text back where it lay before. What a
// deletion takes may so lie apart in the store from what the deletion before
// it took, and the document then keeps the two apart in its undo steps.

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/edit_history.h"

namespace ravelon::forms {

class StoreRuns {
public:
    // A text of `length` units set whole: it lies in the store as it stands.
    void Reset(std::size_t length);
    // Takes [at, at + count) out of the text and tells where it lay.
    std::vector<StoreRun> Remove(std::size_t at, std::size_t count);
    // Puts `text` in at `at`: where `stored` says it lay, or new at the store's end.
    void Insert(std::size_t at, std::u16string_view text, const std::vector<StoreRun>& stored);
    // Where what lies on in the store from `at` ends in the text.
    std::size_t RunEnd(std::size_t at) const;

private:
    // Splits the run holding `at` there; returns the index of the run that starts at `at`.
    std::size_t SplitAt(std::size_t at);

    std::vector<StoreRun> runs_;  // in the text's order
    std::size_t end_ = 0;         // how much the store holds
};

}  // namespace ravelon::forms
