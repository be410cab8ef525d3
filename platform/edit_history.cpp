#include "platform/edit_history.h"

#include <algorithm>

#include "platform/line_breaks.h"

namespace ravelon::forms {

void EditHistory::Clear()
{
    undo_.clear();
    redo_.clear();
    joinable_ = false;
    markOnTop_.reset();
    putIn_ = 0;
}

// The toolkit's document keeps a typed line break, and any edit of a
// selection, as a step of its own; the rest of typing joins on, as does
// typing after an edit of a selection.
void EditHistory::Record(Change undo, std::u16string_view inserted, Joins joins, std::optional<Selection> mark)
{
    const bool insertedBreak = std::any_of(inserted.begin(), inserted.end(), IsParagraphBreak);
    const bool paragraphBreak = insertedBreak || std::any_of(undo.text.begin(), undo.text.end(), IsParagraphBreak);
    // An insertion holding a paragraph break takes the document's text store
    // past it, and nothing typed after joins it; typing over a selection that
    // held one puts in only what is typed.
    Tail tail = Tail::kOther;
    if (!inserted.empty() && !insertedBreak && joins != Joins::kNever)
        tail = Tail::kInserted;
    else if (inserted.empty() && joins == Joins::kAsTyping && !paragraphBreak)
        tail = Tail::kRemovedOne;
    else if (inserted.empty() && joins == Joins::kBackspaces)
        tail = Tail::kRemovedBackwards;
    else if (inserted.empty() && joins == Joins::kDeletesForward)
        tail = Tail::kRemovedForwards;
    else if (inserted.empty() && joins == Joins::kTakesNext)
        tail = Tail::kTakesNext;
    const bool removal = tail == Tail::kRemovedOne || tail == Tail::kRemovedBackwards || tail == Tail::kRemovedForwards;
    const bool alone =
        joins == Joins::kStartsTyping || (inserted.empty() ? !removal : !undo.text.empty() || paragraphBreak);
    const bool joined = joins != Joins::kNever && !alone && !markOnTop_ && Join(undo, tail);
    putIn_ += inserted.size();
    if (joined) {
        undo_.back().putInBy = putIn_;
    } else {
        const bool separated = !joinable_ || joins == Joins::kNever || markOnTop_;
        undo_.push_back({std::move(undo), tail, putIn_, separated, markOnTop_ ? *markOnTop_ : mark});
    }
    redo_.clear();
    markOnTop_.reset();
    joinable_ = joins != Joins::kNever;  // a paste ends the typing before and after it
}

namespace {

// Whether the text stored as `after` lies right after `before` in the store
// (taken to, where either is not known).
bool FollowsInStore(const std::vector<StoreRun>& before, const std::vector<StoreRun>& after)
{
    return before.empty() || after.empty() || before.back().start + before.back().length == after.front().start;
}

}  // namespace

// An insertion joins the insertion it follows; a deletion joins the one it
// continues, forwards (Delete) or backwards (Backspace).
bool EditHistory::Join(const Change& undo, Tail tail)
{
    if (!joinable_ || undo_.empty()) return false;
    Step& last = undo_.back();
    const bool inserting = last.tail == Tail::kInserted || last.tail == Tail::kTakesNext;
    // The line edit keeps no store: its typing joins wherever it follows on in the text.
    const bool followsInStore = last.putInBy == putIn_ || afterUndo_ == AfterUndo::kJoinsTopUnlessMoved;
    if (tail == Tail::kInserted && inserting && last.undo.at + last.undo.replaces == undo.at && followsInStore) {
        last.undo.replaces += undo.replaces;
        last.tail = tail;
        return true;
    }
    if (tail == Tail::kInserted || (last.tail != tail && last.tail != Tail::kTakesNext)) return false;
    if (undo.at == last.undo.at && FollowsInStore(last.undo.stored, undo.stored)) {
        last.undo.text += undo.text;
        last.undo.stored.insert(last.undo.stored.end(), undo.stored.begin(), undo.stored.end());
    } else if (undo.at + undo.text.size() == last.undo.at && FollowsInStore(undo.stored, last.undo.stored)) {
        last.undo.text.insert(0, undo.text);
        last.undo.stored.insert(last.undo.stored.begin(), undo.stored.begin(), undo.stored.end());
        last.undo.at = undo.at;
    } else {
        return false;
    }
    last.tail = tail;
    return true;
}

void EditHistory::Undo(const Apply& apply)
{
    Walk(undo_, redo_, apply, [] { return true; });
}

std::optional<EditHistory::Selection> EditHistory::Redo(const Apply& apply)
{
    Walk(redo_, undo_, apply, [] { return true; });
    return markOnTop_.value_or(std::nullopt);
}

bool EditHistory::UndoUntil(const Apply& apply, const Reached& reached)
{
    return Walk(undo_, redo_, apply, reached);
}
bool EditHistory::RedoUntil(const Apply& apply, const Reached& reached)
{
    return Walk(redo_, undo_, apply, reached);
}

bool EditHistory::Walk(std::vector<Step>& from, std::vector<Step>& to, const Apply& apply, const Reached& reached)
{
    if (from.empty()) return false;  // nothing to take back: the typing goes on joining
    const bool keepsTails = afterUndo_ != AfterUndo::kStartsStep;
    std::vector<Step> walked;
    while (!from.empty()) {
        Step step = std::move(from.back());
        from.pop_back();
        walked.push_back({apply(step.undo), step.tail, step.putInBy, step.separated, step.mark});
        if (!reached()) continue;
        if (afterUndo_ != AfterUndo::kJoinsTopUnlessMoved)
            joinable_ = afterUndo_ == AfterUndo::kJoinsTop;
        else
            StopAtMark(&from == &undo_ ? &walked.back() : from.empty() ? nullptr : &from.back());
        for (Step& done : walked)
            to.push_back({std::move(done.undo), keepsTails ? done.tail : Tail::kOther, done.putInBy, done.separated,
                          done.mark});
        return true;
    }
    for (; !walked.empty(); walked.pop_back())
        from.push_back({apply(walked.back().undo), walked.back().tail, walked.back().putInBy, walked.back().separated,
                        walked.back().mark});
    return false;
}

// The line edit's undo stops after the mark that began the step undone; its
// redo goes on to the mark that begins the next step.
void EditHistory::StopAtMark(const Step* begun)
{
    if (begun && begun->separated)
        markOnTop_ = begun->mark;
    else
        markOnTop_.reset();
}

}  // namespace ravelon::forms
