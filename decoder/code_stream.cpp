#include "decoder/code_stream.h"

#include <algorithm>

#include "decoder/decode_error.h"

namespace ravelon {

std::optional<int> SchemeSpacing(std::u16string_view code, const CipherTables& tables)
{
    const std::optional<Position> scheme = detail::MatchScheme(code, tables);
    if (!scheme) return std::nullopt;
    return tables.FillerSpacingAt(*scheme);
}

int ShiftOf(std::size_t addressLength)
{
    constexpr std::size_t kLongestAddress = 32767;
    if (addressLength > kLongestAddress) throw OverflowError();
    return static_cast<int>(addressLength);
}

CodeStream::CodeStream(int shift, int spacing, const CipherTables& tables)
    : map_(detail::MakeShiftMap(shift, tables)),
      spacing_(spacing),
      group_(spacing > 0 ? static_cast<std::size_t>(spacing) + 1 : 1)
{
}

void CodeStream::Feed(std::u16string_view body, std::u16string& plain)
{
    // Decoding goes by whole groups, so that each piece starts on a group.
    if (!partialGroup_.empty()) {
        const std::size_t missing = std::min(group_ - partialGroup_.size(), body.size());
        partialGroup_.append(body.substr(0, missing));
        body.remove_prefix(missing);
        if (partialGroup_.size() < group_) return;
        Decode(partialGroup_);
        partialGroup_.clear();
    }
    const std::size_t whole = body.size() - body.size() % group_;
    Decode(body.substr(0, whole));
    partialGroup_.assign(body.substr(whole));
    Emit(plain, false);
}

void CodeStream::Finish(std::u16string& plain)
{
    Decode(partialGroup_);  // a short last group has no filler
    partialGroup_.clear();
    Emit(plain, true);
}

void CodeStream::Decode(std::u16string_view groups)
{
    const std::size_t old = decoded_.size();
    decoded_.resize(old + detail::KeptLength(groups.size(), spacing_));
    if (!detail::StripShift(groups, spacing_, map_, decoded_.data() + old)) throw OutOfRangeError();
}

// Markers become CR LF as they are found; the last few units may begin one
// that the next piece completes, so they wait unless this is the end.
void CodeStream::Emit(std::u16string& plain, bool last)
{
    const char16_t* const begin = decoded_.data();
    const char16_t* const end = begin + decoded_.size();
    const char16_t* done = begin;
    for (const char16_t* marker = detail::FindMarker(done, end); marker != end; marker = detail::FindMarker(done, end)) {
        plain.append(done, marker);
        plain += u"\r\n";
        done = marker + detail::kMarkerLength;
    }
    const char16_t* const safe = last ? end : std::max(done, end - std::min<std::ptrdiff_t>(end - begin, detail::kMarkerLength - 1));
    plain.append(done, safe);
    decoded_.erase(0, static_cast<std::size_t>(safe - begin));
}

}  // namespace ravelon
