#pragma once

// A box's exact text beside what a browser's text area holds of it: the
// page's text areas keep every line break (CR LF, a lone CR or LF) as one
// LF, so the exact text is kept here and the edits the page reports are
// carried over to it, as the user made them.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/edit_history.h"

namespace ravelon::forms::web {

// What a page reports of an edit, from the input event's type (dom.js tells which).
enum class InputKind {
    kInsert,          // typing, a typed line break, a paste or drop the page made
    kDeleteBackward,  // Backspace and its word and line forms
    kDeleteForward,   // Delete and its forms
    kOther,           // undo, redo, or anything else: found by comparing
};

class ShownText {
public:
    const std::u16string& Exact() const { return exact_; }
    // As the text area holds it: each line break one LF.
    const std::u16string& Shown() const { return shown_; }

    // The text replaced whole: the undo history starts again.
    void Set(std::u16string_view exact);
    // The page's text area went from Shown() to `after` by an input of
    // `kind`, with [selStart, selEnd) of Shown() selected before it.
    void Edited(std::u16string_view after, std::size_t selStart, std::size_t selEnd, InputKind kind);
    // Replaces [from, to) of Shown() with exact text, as a paste of ours does.
    void Replace(std::size_t from, std::size_t to, std::u16string_view exact, EditHistory::Joins joins);

    // Undo and redo steps; each answers where the caret goes in Shown(), if anything changed.
    bool Undo(std::size_t& caret);
    bool Redo(std::size_t& caret);

    std::size_t ToExact(std::size_t shown) const;
    std::size_t ToShown(std::size_t exact) const;

private:
    EditHistory::Change ApplyExact(const EditHistory::Change& change);
    void ReplaceExact(std::size_t from, std::size_t to, std::u16string_view text, EditHistory::Joins joins);

    std::u16string exact_, shown_;
    EditHistory history_;
    std::size_t lastEnd_ = 0;  // where the last change ended, in the exact text
};

}  // namespace ravelon::forms::web
