#include "platform/edit_history.h"

#include <algorithm>

#include "platform/line_breaks.h"

namespace ravelon::forms {

void EditHistory::Clear()
{
    undo_.clear();
    redo_.clear();
    joinable_ = false;
    putIn_ = 0;
}

// The toolkit's document keeps a typed line break, and any edit of a
// selection, as a step of its own; the rest of typing joins on, as does
// typing after an edit of a selection.
void EditHistory::Record(Change undo, std::u16string_view inserted, Joins joins)
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
    const bool joined = joins != Joins::kNever && !alone && Join(undo, tail);
    putIn_ += inserted.size();
    if (joined)
        undo_.back().putInBy = putIn_;
    else
        undo_.push_back({std::move(undo), tail, putIn_, !joinable_ || joins == Joins::kNever});
    redo_.clear();
    joinable_ = true;
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
    if (tail == Tail::kInserted && inserting && last.undo.at + last.undo.replaces == undo.at &&
        last.putInBy == putIn_) {
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

void EditHistory::Redo(const Apply& apply)
{
    Walk(redo_, undo_, apply, [] { return true; });
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
        walked.push_back({apply(step.undo), step.tail, step.putInBy, step.separated});
        if (!reached()) continue;
        if (afterUndo_ != AfterUndo::kJoinsTopUnlessMoved)
            joinable_ = afterUndo_ == AfterUndo::kJoinsTop;
        else if (&from == &undo_ && walked.back().separated)
            joinable_ = false;  // the line edit's mark where typing ended stays on top
        for (Step& done : walked)
            to.push_back({std::move(done.undo), keepsTails ? done.tail : Tail::kOther, done.putInBy, done.separated});
        return true;
    }
    for (; !walked.empty(); walked.pop_back())
        from.push_back({apply(walked.back().undo), walked.back().tail, walked.back().putInBy, walked.back().separated});
    return false;
}

}  // namespace ravelon::forms
