#include "decoder/detail/kernels.h"

#include "decoder/detail/vector_kernels.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    map.fitsBytes = std::all_of(map.decoded.begin(), map.decoded.end(), [](char16_t c) { return c <= 0xFF; });
    for (std::size_t b = 0; b < map.decoded.size(); ++b) map.decodedBytes[b] = static_cast<std::uint8_t>(map.decoded[b]);
    map.fitsVectorTables = FitsVectorTables(map);
    return map;
}

const ShiftMap& ShiftMapFor(int shift, const CipherTables& tables)
{
    thread_local struct {
        int shift = -1;
        std::array<char16_t, CipherTables::kAlphabetSize> alphabet{};
        ShiftMap map;
    } last;
    if (last.shift != shift || last.alphabet != tables.Alphabet) {
        last.map = MakeShiftMap(shift, tables);
        last.shift = shift;
        last.alphabet = tables.Alphabet;
    }
    return last.map;
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
template <int Kept, bool CheckFails, class Out>
bool StripShiftGroups(const char16_t* in, std::size_t length, const ShiftMap& map, Out* out)
{
    constexpr std::size_t kGroup = Kept + 1;
    const std::size_t groups = length / kGroup;
    unsigned fails = 0;
    for (std::size_t g = 0; g < groups; ++g, in += kGroup, out += Kept) {
        for (std::size_t k = 0; k < Kept; ++k) {
            const char16_t v = map(in[k]);
            out[k] = static_cast<Out>(v);
            if constexpr (CheckFails) fails |= (v == ShiftMap::kFails);
        }
    }
    for (std::size_t k = 0; k < length % kGroup; ++k) {  // a short last group has no filler
        out[k] = static_cast<Out>(map(in[k]));
        fails |= (out[k] == ShiftMap::kFails);
    }
    return fails == 0;
}

template <bool CheckFails, class Out>
bool ShiftAll(const char16_t* in, std::size_t length, const ShiftMap& map, Out* out)
{
    unsigned fails = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t v = map(in[i]);
        out[i] = static_cast<Out>(v);
        if constexpr (CheckFails) fails |= (v == ShiftMap::kFails);
    }
    return fails == 0;
}

template <bool CheckFails, class Out>
bool Dispatch(std::u16string_view body, int spacing, const ShiftMap& map, Out* out)
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
        *out = static_cast<Out>(map(in[i]));
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

template <class Out>
bool StripShiftScalar(std::u16string_view body, int spacing, const ShiftMap& map, Out* out)
{
    return map.canFail ? Dispatch<true>(body, spacing, map, out) : Dispatch<false>(body, spacing, map, out);
}

// ---- The byte path: chunks of one byte a kept unit ----

constexpr int kWidestByteSpacing = 64;

bool BytesApply(int spacing, const ShiftMap& map) { return map.fitsBytes && spacing <= kWidestByteSpacing; }

// How many units of the body a chunk takes: whole groups, and whole blocks of
// every vector path.
std::size_t ChunkUnits(int spacing)
{
    const std::size_t kept = spacing > 0 ? static_cast<std::size_t>(spacing) : 1;
    const std::size_t group = spacing > 0 ? kept + 1 : 1;
    return kChunkBytes / kept * group;
}

std::u16string_view NextChunk(std::u16string_view& body, int spacing)
{
    const std::u16string_view chunk = body.substr(0, ChunkUnits(spacing));
    body.remove_prefix(chunk.size());
    return chunk;
}

// Writes the chunk's kept units to `out` as bytes.
bool StripShiftBytes(std::u16string_view chunk, int spacing, const ShiftMap& map, std::uint8_t* out)
{
    bool fails = false;
    const std::size_t done = StripShiftBlocks(chunk, spacing, map, out, fails);
    chunk.remove_prefix(done);
    return StripShiftScalar(chunk, spacing, map, out + KeptLength(done, spacing)) && !fails;
}

void Widen(const std::uint8_t* bytes, std::size_t n, char16_t* out)
{
    for (std::size_t i = 0; i < n; ++i) out[i] = bytes[i];
}

// The marker as bytes, padded to 16.
constexpr std::array<std::uint8_t, 16> MakeMarkerBytes()
{
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t i = 0; i < kMarkerLength; ++i) bytes[i] = static_cast<std::uint8_t>(kMarker[i]);
    return bytes;
}
constexpr auto kMarkerBytes = MakeMarkerBytes();

// ---- Decoded bytes to text, each marker as CR LF ----
//
// Sixteen bytes are widened and stored at a time, before looking at them; the
// text then moves on only past the bytes before the first '#', which is
// either a marker's start or stays as it is. So the text needs room beyond
// its end (16 units stored, or a CR LF after 15), and the bytes 16 readable
// beyond theirs: within kWalkSlack.

// How much of the text's start sizes the rest, and up to which size the
// text is not sized so but given room for every byte (128 KiB at most).
constexpr std::size_t kSampleBytes = 2048;
constexpr std::size_t kUnsampledBytes = 65536;

#if defined(__SSE2__)
// How many of the 16 bytes come before the first '#' (16 for none).
inline std::size_t BytesBeforeHash(const std::uint8_t* bytes, __m128i& loaded)
{
    loaded = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const unsigned hashes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(loaded, _mm_set1_epi8('#'))));
    return hashes ? static_cast<std::size_t>(__builtin_ctz(hashes)) : 16;
}

// Whether a marker starts at `bytes`, which has 16 readable.
inline bool MarkerStartsAt(const std::uint8_t* bytes)
{
    const __m128i equal = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)),
                                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(kMarkerBytes.data())));
    constexpr unsigned kWhole = (1u << kMarkerLength) - 1;
    return (static_cast<unsigned>(_mm_movemask_epi8(equal)) & kWhole) == kWhole;
}

inline void Widen16(__m128i loaded, char16_t* out)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(loaded, _mm_setzero_si128()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(loaded, _mm_setzero_si128()));
}
#else
struct Loaded16 {
    const std::uint8_t* bytes;
};

inline std::size_t BytesBeforeHash(const std::uint8_t* bytes, Loaded16& loaded)
{
    loaded.bytes = bytes;
    std::size_t k = 0;
    while (k < 16 && bytes[k] != '#') ++k;
    return k;
}

inline void Widen16(Loaded16 loaded, char16_t* out) { Widen(loaded.bytes, 16, out); }

inline bool MarkerStartsAt(const std::uint8_t* bytes) { return std::memcmp(bytes, kMarkerBytes.data(), kMarkerLength) == 0; }
#endif

// Turns `n` decoded bytes into text at `out`, which has `room` units, or only
// counts the units when not Write. Unless `last`, a marker may still be coming
// in the last few bytes: they are left for the next chunk.
template <bool Write>
Walked WalkText(const std::uint8_t* bytes, std::size_t n, bool last, char16_t* out, std::size_t room)
{
    const std::size_t settled = last ? n : n - std::min(n, kMarkerLength - 1);
    Walked w;
    while (w.used < settled) {
        if (Write && room - w.produced < kWalkSlack) return w;
#if defined(__SSE2__)
        __m128i vector;
#else
        Loaded16 vector;
#endif
        const std::size_t clear = BytesBeforeHash(bytes + w.used, vector);
        if constexpr (Write) Widen16(vector, out + w.produced);
        const std::size_t step = std::min(clear, settled - w.used);
        w.used += step;
        w.produced += step;
        if (step < clear || clear == 16 || w.used >= settled) continue;
        // At a '#': a marker becomes CR LF; a lone '#' was stored already.
        if (n - w.used >= kMarkerLength && MarkerStartsAt(bytes + w.used)) {
            if constexpr (Write) out[w.produced] = u'\r', out[w.produced + 1] = u'\n';
            w.used += kMarkerLength;
            w.produced += 2;
        } else {
            w.used += 1;
            w.produced += 1;
        }
    }
    w.finished = true;
    return w;
}

bool DecodePlainTextBytewise(std::u16string_view body, int spacing, const ShiftMap& map, DecryptedText& plain)
{
    static_assert(kWalkSlack >= kBlocksSlack);
    alignas(64) std::array<std::uint8_t, kMarkerLength + kChunkBytes + kWalkSlack> scratch;
    const bool vectorWalk = HasTextWalk();
    std::size_t left = KeptLength(body.size(), spacing);  // kept units still to decode
    std::size_t held = 0;                                 // bytes at the front of scratch that may begin a marker
    std::size_t written = 0;
    plain = DecryptedText();
    while (!body.empty()) {
        const std::u16string_view chunk = NextChunk(body, spacing);
        const std::size_t kept = KeptLength(chunk.size(), spacing);
        if (!StripShiftBytes(chunk, spacing, map, scratch.data() + held)) return false;
        left -= kept;
        const std::size_t bytes = held + kept;
        std::memset(scratch.data() + bytes, 0, kWalkSlack);
        const bool last = left == 0;
        if (plain.Room() == 0) {
            // A small text gets room for all it may need at once. For a big one,
            // how far its start shrinks tells how big it will be; where a later
            // part shrinks less, the text grows to all it may need.
            const std::size_t rest = bytes + left;
            std::size_t room = rest;
            if (rest > kUnsampledBytes) {
                const std::size_t sample = std::min(bytes, kSampleBytes);
                const Walked start = WalkText<false>(scratch.data(), sample, last && sample == bytes, nullptr, 0);
                const std::size_t likely = (rest * start.produced + start.used - 1) / std::max<std::size_t>(start.used, 1);
                room = std::min(rest, likely + rest / 32 + 64);
            }
            plain = DecryptedText(room + kWalkSlack);
        }
        std::size_t used = 0;
        for (;;) {
            const std::uint8_t* from = scratch.data() + used;
            char16_t* to = plain.Units() + written;
            const Walked w = vectorWalk ? WalkTextBlocks(from, bytes - used, last, to, plain.Room() - written)
                                        : WalkText<true>(from, bytes - used, last, to, plain.Room() - written);
            used += w.used;
            written += w.produced;
            if (w.finished) break;
            plain.Regrow(written, written + (bytes - used) + left + kWalkSlack);
        }
        held = bytes - used;
        std::memmove(scratch.data(), scratch.data() + used, held);
    }
    plain.SetSize(written);
    return true;
}

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
    if (!BytesApply(spacing, map)) return StripShiftScalar(body, spacing, map, out);
    alignas(64) std::array<std::uint8_t, kChunkBytes + kBlocksSlack> scratch;
    while (!body.empty()) {
        const std::u16string_view chunk = NextChunk(body, spacing);
        const std::size_t kept = KeptLength(chunk.size(), spacing);
        if (!StripShiftBytes(chunk, spacing, map, scratch.data())) return false;
        Widen(scratch.data(), kept, out);
        out += kept;
    }
    return true;
}

namespace {

// Replaces each marker with CR LF in place; returns the new length.
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

}  // namespace

bool DecodePlainText(std::u16string_view body, int spacing, const ShiftMap& map, DecryptedText& plain)
{
    if (BytesApply(spacing, map)) return DecodePlainTextBytewise(body, spacing, map, plain);
    // Symbols beyond a byte, or fillers further apart than the byte walk takes:
    // decode in place at full width.
    const std::size_t kept = KeptLength(body.size(), spacing);
    plain = DecryptedText(kept);
    if (!StripShiftScalar(body, spacing, map, plain.Units())) return false;
    plain.SetSize(RestoreLineBreaks(plain.Units(), kept));
    return true;
}

}  // namespace ravelon::detail
