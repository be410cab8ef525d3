#include "decoder/detail/kernels.h"

#include "decoder/detail/vector_kernels.h"

#include <algorithm>
#include <cstring>

namespace ravelon::detail {

ShiftMap MakeShiftMap(int shift, const CipherTables& tables)
{
    auto decode = [&](int p) -> char16_t {
        const int n = p > shift ? p - shift : CipherTables::kAlphabetSize - (shift - p);
        if (n < 1 || n > CipherTables::kAlphabetSize) return ShiftMap::kFails;
        return tables.SymbolAt(static_cast<Position>(n));
    };

    ShiftMap map;
    map.decoded.fill(decode(0));
    for (Position p = 1; p <= CipherTables::kAlphabetSize; ++p) map.decoded[tables.SymbolAt(p)] = decode(p);
    map.canFail = std::find(map.decoded.begin(), map.decoded.end(), ShiftMap::kFails) != map.decoded.end();
    return map;
}

std::optional<Position> MatchScheme(std::u16string_view code, const CipherTables& tables)
{
    const std::u16string_view candidate = code.substr(0, CipherTables::kTagLength);
    for (Position j = 1; j <= CipherTables::kSchemeCount; ++j) {
        if (tables.SchemeTagAt(j) == candidate) return j;
    }
    return std::nullopt;
}

std::u16string_view BodyOf(std::u16string_view code)
{
    return code.size() > CipherTables::kTagLength ? code.substr(CipherTables::kTagLength) : std::u16string_view{};
}

std::size_t KeptLength(std::size_t bodyLength, int spacing)
{
    if (spacing <= 0) return bodyLength;
    return bodyLength - bodyLength / static_cast<std::size_t>(spacing + 1);
}

namespace {

// One group is Kept symbols followed by one filler. Kept is a constant so
// that the inner loop unrolls; CheckFails is off for shifts that cannot fail.
template <int Kept, bool CheckFails>
bool StripShiftGroups(const char16_t* in, std::size_t length, const ShiftMap& map, char16_t* out)
{
    constexpr std::size_t kGroup = Kept + 1;
    const std::size_t groups = length / kGroup;
    unsigned fails = 0;
    for (std::size_t g = 0; g < groups; ++g, in += kGroup, out += Kept) {
        for (std::size_t k = 0; k < Kept; ++k) {
            const char16_t v = map(in[k]);
            out[k] = v;
            if constexpr (CheckFails) fails |= (v == ShiftMap::kFails);
        }
    }
    for (std::size_t k = 0; k < length % kGroup; ++k) {  // a short last group has no filler
        out[k] = map(in[k]);
        fails |= (out[k] == ShiftMap::kFails);
    }
    return fails == 0;
}

template <bool CheckFails>
bool ShiftAll(const char16_t* in, std::size_t length, const ShiftMap& map, char16_t* out)
{
    unsigned fails = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t v = map(in[i]);
        out[i] = v;
        if constexpr (CheckFails) fails |= (v == ShiftMap::kFails);
    }
    return fails == 0;
}

template <bool CheckFails>
bool Dispatch(std::u16string_view body, int spacing, const ShiftMap& map, char16_t* out)
{
    const char16_t* in = body.data();
    const std::size_t n = body.size();
    switch (spacing) {
        case 1: return StripShiftGroups<1, CheckFails>(in, n, map, out);
        case 2: return StripShiftGroups<2, CheckFails>(in, n, map, out);
        case 3: return StripShiftGroups<3, CheckFails>(in, n, map, out);
        default: break;
    }
    if (spacing <= 0) return ShiftAll<CheckFails>(in, n, map, out);
    // Any other spacing: the same rule, without the unrolling.
    unsigned fails = 0;
    const std::size_t group = static_cast<std::size_t>(spacing) + 1;
    for (std::size_t i = 0; i < n; ++i) {
        if ((i + 1) % group == 0) continue;
        *out = map(in[i]);
        fails |= (*out++ == ShiftMap::kFails);
    }
    return fails == 0;
}

constexpr std::u16string_view kMarker = u"###NEWLINE###";
static_assert(kMarker.size() == kMarkerLength);

// A marker covers 13 consecutive units, so probing every 13th unit lands in
// each marker exactly once; only a probe on one of the marker's symbols needs
// a closer look. The probes do not depend on each other's results, which
// keeps the scan at memory speed.
constexpr std::array<bool, kOutsideSlot + 1> MakeMarkerSymbols()
{
    std::array<bool, kOutsideSlot + 1> symbols{};
    for (char16_t c : kMarker) symbols[c] = true;
    return symbols;
}
constexpr auto kMarkerSymbols = MakeMarkerSymbols();

bool MarkerAt(const char16_t* p) { return std::memcmp(p, kMarker.data(), sizeof(char16_t) * kMarkerLength) == 0; }

}  // namespace

const char16_t* FindMarker(const char16_t* from, const char16_t* end)
{
    if (end - from < static_cast<std::ptrdiff_t>(kMarkerLength)) return end;
    const char16_t* const lastStart = end - kMarkerLength;
    for (const char16_t* probe = from + kMarkerLength - 1; probe < end; probe += kMarkerLength) {
        const char16_t unit = *probe;
        if (!kMarkerSymbols[unit < kOutsideSlot ? unit : kOutsideSlot]) continue;
        // Earlier probes ruled out every start before probe - 12.
        for (std::size_t k = kMarkerLength; k-- > 0;) {
            const char16_t* start = probe - k;
            if (kMarker[k] == unit && start >= from && start <= lastStart && MarkerAt(start)) return start;
        }
    }
    return end;
}

bool StripShift(std::u16string_view body, int spacing, const ShiftMap& map, char16_t* out)
{
    // Whole blocks through the vector units where the CPU has them; the rest here.
    bool fails = false;
    const std::size_t done = StripShiftBlocks(body, spacing, map, out, fails);
    body.remove_prefix(done);
    out += KeptLength(done, spacing);
    const bool rest = map.canFail ? Dispatch<true>(body, spacing, map, out) : Dispatch<false>(body, spacing, map, out);
    return rest && !fails;
}

std::size_t RestoreLineBreaks(char16_t* text, std::size_t length)
{
    const char16_t* const end = text + length;
    const char16_t* read = FindMarker(text, end);
    if (read == end) return length;

    char16_t* write = text + (read - text);
    while (read != end) {
        *write++ = u'\r';
        *write++ = u'\n';
        read += kMarkerLength;
        const char16_t* next = FindMarker(read, end);
        const std::size_t run = static_cast<std::size_t>(next - read);
        std::memmove(write, read, run * sizeof(char16_t));
        write += run;
        read = next;
    }
    return static_cast<std::size_t>(write - text);
}

}  // namespace ravelon::detail
