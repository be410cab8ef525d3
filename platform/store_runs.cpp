#include "platform/store_runs.h"

#include <algorithm>
#include <numeric>

#include "platform/line_breaks.h"

namespace ravelon::forms {

namespace {

// Joins a run to the last of `runs` where it lies right after it in the store.
void Add(std::vector<StoreRun>& runs, StoreRun run)
{
    if (run.length == 0) return;
    if (!runs.empty() && runs.back().start + runs.back().length == run.start)
        runs.back().length += run.length;
    else
        runs.push_back(run);
}

}  // namespace

void StoreRuns::Reset(std::size_t length)
{
    runs_.clear();
    end_ = length;
    if (length > 0) runs_.push_back({length, 0});
}

std::size_t StoreRuns::SplitAt(std::size_t at)
{
    std::size_t i = 0;
    for (std::size_t from = 0; i < runs_.size(); from += runs_[i++].length) {
        if (from == at) return i;
        if (at < from + runs_[i].length) {
            const std::size_t before = at - from;
            runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                         {runs_[i].length - before, runs_[i].start + before});
            runs_[i].length = before;
            return i + 1;
        }
    }
    return i;
}

std::vector<StoreRun> StoreRuns::Remove(std::size_t at, std::size_t count)
{
    if (count == 0) return {};
    const std::size_t first = SplitAt(at);
    const std::size_t last = SplitAt(at + count);
    std::vector<StoreRun> taken;
    for (std::size_t i = first; i < last; ++i) Add(taken, runs_[i]);
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(first), runs_.begin() + static_cast<std::ptrdiff_t>(last));
    return taken;
}

void StoreRuns::Insert(std::size_t at, std::u16string_view text, const std::vector<StoreRun>& stored)
{
    const std::size_t count = text.size();
    if (count == 0) return;
    std::vector<StoreRun> put = stored;
    const auto counted = [](std::size_t sum, const StoreRun& run) { return sum + run.length; };
    if (std::accumulate(put.begin(), put.end(), std::size_t{0}, counted) != count) {
        put.clear();
        put.push_back({count, end_});
        end_ += count;
        for (std::size_t i = 0; i < count; i += std::max<std::size_t>(1, BreakAt(text, i)))
            if (IsParagraphBreak(text[i])) ++end_;
    }
    const std::size_t i = SplitAt(at);
    runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i), put.begin(), put.end());
    // Typing goes on where the store goes on: one run, not one a key.
    for (std::size_t k = i + put.size(); k > 0 && k >= i; --k) {
        if (k >= runs_.size() || runs_[k - 1].start + runs_[k - 1].length != runs_[k].start) continue;
        runs_[k - 1].length += runs_[k].length;
        runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(k));
    }
}

std::size_t StoreRuns::RunEnd(std::size_t at) const
{
    std::size_t from = 0;
    for (const StoreRun& run : runs_) {
        if (at < from + run.length) return from + run.length;
        from += run.length;
    }
    return at;
}

}  // namespace ravelon::forms
