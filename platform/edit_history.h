#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ravelon::forms {

// Units of a text that lie one after another in the store where the toolkit's
// document keeps all that was ever put in, from `start`.
struct StoreRun {
    std::size_t length, start;
};

// The undo and redo steps of a box's exact text. A step holds what undoes it:
// the units to put back and how many units stand in their place now, so that
// a big paste costs the history nothing.
class EditHistory {
public:
    // An anchor and a caret.
    using Selection = std::pair<std::size_t, std::size_t>;
    struct Change {
        std::size_t at;
        std::u16string text;   // put in at `at`
        std::size_t replaces;  // in place of this many units
        // Where a line edit puts the selection back when the change is
        // undone: the anchor and caret of the selection the edit replaced.
        std::optional<Selection> selection = std::nullopt;
        // Where the text edit's document keeps `text`, if known: deletions
        // join only where what they take lies on in its store.
        std::vector<StoreRun> stored = {};
    };
    // Makes a change to the text and returns what undoes it.
    using Apply = std::function<Change(const Change&)>;
    using Reached = std::function<bool()>;

    // Whether an edit may join the step before it, as the toolkit's document
    // joins typing: characters typed or pasted one after another, and
    // characters deleted one after another, are undone together.
    // A line edit also undoes a deleted selection with the edit that
    // follows it there: the typing that replaces it, or further deletion.
    // An edit block of the text edit (what an input method commits) starts
    // a step of its own, which the typing after it joins. A line edit keeps
    // deletions backwards (Backspace) and forwards (Delete) in steps apart.
    enum class Joins { kNever, kAsTyping, kTakesNext, kStartsTyping, kBackspaces, kDeletesForward };

    // What an edit right after an undo or redo may join: the step the undo
    // or redo leaves on top, as it would have joined it before, in the text
    // edit's document; in the line edit the same, unless the caret moved
    // away before the undo (an undo does not end its typing); in the
    // browser's box nothing, it starts a step of its own.
    enum class AfterUndo { kStartsStep, kJoinsTop, kJoinsTopUnlessMoved };
    void SetAfterUndo(AfterUndo afterUndo) { afterUndo_ = afterUndo; }
    void Clear();
    // The caret moved away: a line edit's next edit starts a step of its own.
    void StopJoining() { joinable_ = false; }
    // After an edit that put `inserted` in at `undo.at`; `undo` undoes it.
    // What was undone can no longer be redone. A line edit marks in its
    // history where typing ended, with the caret and selection it had when
    // the next edit began (`mark`); a redo up to that mark puts them back.
    void Record(Change undo, std::u16string_view inserted, Joins joins, std::optional<Selection> mark = std::nullopt);
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    void Undo(const Apply& apply);
    // A line edit's redo returns the caret and selection of the mark it
    // stops at, if any.
    std::optional<Selection> Redo(const Apply& apply);
    // Takes steps back (or forward) until `reached` holds; if it never does,
    // the text is left as it was and the answer is false.
    bool UndoUntil(const Apply& apply, const Reached& reached);
    bool RedoUntil(const Apply& apply, const Reached& reached);

private:
    // How a step ends, for the next edit to join it.
    enum class Tail { kOther, kInserted, kRemovedOne, kRemovedBackwards, kRemovedForwards, kTakesNext };
    struct Step {
        Change undo;
        Tail tail;
        // How much text all edits had put in when this step last did: the
        // document keeps what is typed in one store, and typing joins a step
        // only where its text would follow on there.
        std::size_t putInBy = 0;
        // Typing had ended before the step (the caret moved away, or a
        // paste): a line edit marks that in its history, and an edit after
        // the step is undone starts a step of its own there.
        bool separated = false;
        std::optional<Selection> mark = std::nullopt;  // where that mark puts the caret and selection
    };
    bool Join(const Change& undo, Tail tail);
    void StopAtMark(const Step* begun);
    bool Walk(std::vector<Step>& from, std::vector<Step>& to, const Apply& apply, const Reached& reached);

    std::vector<Step> undo_, redo_;
    bool joinable_ = false;  // the last step may take the next edit
    // A line edit's undo or redo that stops at its mark where typing ended
    // leaves that mark on top: the next edit follows it and keeps it.
    std::optional<std::optional<Selection>> markOnTop_;
    AfterUndo afterUndo_ = AfterUndo::kStartsStep;
    std::size_t putIn_ = 0;  // units of text all edits have put in
};

}  // namespace ravelon::forms
