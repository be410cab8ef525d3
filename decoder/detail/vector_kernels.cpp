#include "decoder/detail/vector_kernels.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#if defined(__GNUC__) && !defined(__clang__)
// GCC 12's AVX-512 headers start some intrinsics from undefined registers.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#define RAVELON_X86 1
#endif

namespace ravelon::detail {

namespace {

// ---- What the vector paths know of the tables ----
//
// A code unit is first squeezed to a byte with unsigned saturation: units from
// U+0100 up become 0xFF (with SSE's signed saturation, U+8000 up become 0),
// which are no alphabet symbols and decode as they do. The alphabet lies in
// 0x20 to 0x7F, but for the pound sign at 0xA3.
constexpr unsigned kFirstRow = 0x20;
constexpr int kRows = 6;  // 0x20 to 0x7F, 16 bytes a row
constexpr unsigned kPound = 0xA3;

}  // namespace

bool FitsVectorTables(const ShiftMap& map)
{
    const char16_t outside = map.decoded[kOutsideSlot];
    for (unsigned b = 0; b < kOutsideSlot; ++b) {
        if (map.decoded[b] > 0xFF) return false;
        const bool inRows = b >= kFirstRow && b < kFirstRow + 16u * kRows;
        if (!inRows && b != kPound && map.decoded[b] != outside) return false;
    }
    return true;
}

namespace {

// Where each kept unit of a block comes from: for an output vector of `width`
// bytes, the first of the two input vectors it takes bytes from, and for each
// byte its index in those two (width up: the second).
template <std::size_t Group, std::size_t Width>
struct Compaction {
    static constexpr std::size_t kKept = Group - 1;
    std::array<std::size_t, kKept> first{};
    std::array<std::array<std::uint8_t, Width>, kKept> index{};
};

template <std::size_t Group, std::size_t Width>
constexpr Compaction<Group, Width> MakeCompaction()
{
    Compaction<Group, Width> c;
    constexpr std::size_t kept = Group - 1;
    for (std::size_t k = 0; k < kept; ++k) {
        const auto unitOf = [&](std::size_t q) { return q / kept * Group + q % kept; };
        c.first[k] = unitOf(Width * k) / Width;
        for (std::size_t j = 0; j < Width; ++j) {
            const std::size_t offset = unitOf(Width * k + j) - Width * c.first[k];
            if (offset >= 2 * Width) throw "a kept unit beyond two vectors";
            c.index[k][j] = static_cast<std::uint8_t>(offset);
        }
    }
    return c;
}

#ifdef RAVELON_X86

// ---- 128-bit pieces shared by the SSSE3, AVX2 and AVX-512 BW paths ----

struct ByteTables {
    __m128i rows[kRows];  // each row XORed with the one before: see Lookup
    std::uint8_t outside, pound;
};

ByteTables MakeByteTables(const ShiftMap& map)
{
    ByteTables t{};
    std::uint8_t previous[16] = {};
    for (unsigned r = 0; r < static_cast<unsigned>(kRows); ++r) {
        std::uint8_t row[16], mixed[16];
        for (unsigned i = 0; i < 16; ++i) {
            row[i] = map.decodedBytes[kFirstRow + 16 * r + i];
            mixed[i] = static_cast<std::uint8_t>(row[i] ^ previous[i]);
        }
        std::memcpy(&t.rows[r], mixed, 16);
        std::memcpy(previous, row, 16);
    }
    t.outside = static_cast<std::uint8_t>(map.decoded[kOutsideSlot]);
    t.pound = static_cast<std::uint8_t>(map.decoded[kPound]);
    return t;
}

// Compacting masks for PSHUFB: for each output vector, which bytes come from
// its first input vector (A) and which from the next (B); 0x80 takes none.
template <std::size_t Group>
struct ShuffleMasks {
    static constexpr std::size_t kKept = Group - 1;
    std::array<std::size_t, kKept> first{};
    std::array<std::array<std::uint8_t, 16>, kKept> a{}, b{};
};

template <std::size_t Group>
constexpr ShuffleMasks<Group> MakeShuffleMasks()
{
    constexpr auto c = MakeCompaction<Group, 16>();
    ShuffleMasks<Group> m;
    for (std::size_t k = 0; k < Group - 1; ++k) {
        m.first[k] = c.first[k];
        for (std::size_t j = 0; j < 16; ++j) {
            const std::uint8_t i = c.index[k][j];
            m.a[k][j] = i < 16 ? i : 0x80;
            m.b[k][j] = i >= 16 ? static_cast<std::uint8_t>(i - 16) : 0x80;
        }
    }
    return m;
}

template <std::size_t Group>
inline constexpr ShuffleMasks<Group> kShuffle = MakeShuffleMasks<Group>();

// ---- SSSE3 ----

// Sixteen bytes through the table. PSHUFB looks up 16 entries and gives 0 for
// an index with its top bit set; with x = b - 0x20, row r's lookup at x - 16r
// answers for every b from row r on (for 128 bytes), so XORing rows that were
// each XORed with the one before leaves exactly the row b is in.
__attribute__((target("ssse3"))) inline __m128i Lookup(const ByteTables& t, __m128i b)
{
    const __m128i x = _mm_sub_epi8(b, _mm_set1_epi8(static_cast<char>(kFirstRow)));
    __m128i r = _mm_shuffle_epi8(t.rows[0], x);
    for (int k = 1; k < kRows; ++k)
        r = _mm_xor_si128(r, _mm_shuffle_epi8(t.rows[k], _mm_sub_epi8(x, _mm_set1_epi8(static_cast<char>(16 * k)))));
    // x below 96 (unsigned) is in the rows; everything else decodes as an outside unit.
    const __m128i inRows = _mm_cmplt_epi8(_mm_xor_si128(x, _mm_set1_epi8(-128)), _mm_set1_epi8(static_cast<char>(-128 + 16 * kRows)));
    r = _mm_or_si128(_mm_and_si128(inRows, r), _mm_andnot_si128(inRows, _mm_set1_epi8(static_cast<char>(t.outside))));
    const __m128i pound = _mm_cmpeq_epi8(b, _mm_set1_epi8(static_cast<char>(kPound)));
    return _mm_or_si128(_mm_and_si128(pound, _mm_set1_epi8(static_cast<char>(t.pound))), _mm_andnot_si128(pound, r));
}

__attribute__((target("ssse3"))) inline __m128i Compact(const __m128i* bytes, const std::uint8_t* a, const std::uint8_t* b, std::size_t first)
{
    return _mm_or_si128(_mm_shuffle_epi8(bytes[first], _mm_loadu_si128(reinterpret_cast<const __m128i*>(a))),
                        _mm_shuffle_epi8(bytes[first + 1], _mm_loadu_si128(reinterpret_cast<const __m128i*>(b))));
}

// Units squeezed to bytes and compacted first, so that only kept bytes go
// through the table.
template <std::size_t Group, bool CheckFails>
__attribute__((target("ssse3"))) std::size_t Ssse3Blocks(const char16_t* in, std::size_t n, const ShiftMap& map, std::uint8_t* out,
                                                         bool& fails)
{
    constexpr std::size_t kBlock = 16 * Group;  // units in, 16 * (Group - 1) out
    const ByteTables t = MakeByteTables(map);
    constexpr auto& masks = kShuffle<Group>;
    const __m128i zero = _mm_setzero_si128();
    __m128i failed = zero;
    std::size_t done = 0;
    for (; done + kBlock <= n; done += kBlock, in += kBlock) {
        __m128i bytes[Group + 1];
        for (std::size_t v = 0; v < Group; ++v) {
            const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * v));
            const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * v + 8));
            bytes[v] = _mm_packus_epi16(lo, hi);
        }
        bytes[Group] = zero;
        for (std::size_t k = 0; k < Group - 1; ++k, out += 16) {
            const __m128i kept = Lookup(t, Compact(bytes, masks.a[k].data(), masks.b[k].data(), masks.first[k]));
            if constexpr (CheckFails) failed = _mm_or_si128(failed, _mm_cmpeq_epi8(kept, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), kept);
        }
    }
    fails = fails || _mm_movemask_epi8(failed) != 0;
    return done;
}

// The kept bytes of `blocks` blocks of Group 16-byte vectors each; zero bytes
// (units that fail) are gathered into `failed`.
template <std::size_t Group, bool CheckFails>
__attribute__((target("avx2"))) inline std::uint8_t* CompactBlocks(const __m128i* bytes, std::size_t blocks, std::uint8_t* out,
                                                                   __m128i& failed)
{
    constexpr auto& masks = kShuffle<Group>;
    for (std::size_t block = 0; block < blocks; ++block) {
        const __m128i* from = bytes + block * Group;
        for (std::size_t k = 0; k < Group - 1; ++k, out += 16) {
            const __m128i kept = _mm_or_si128(
                _mm_shuffle_epi8(from[masks.first[k]], _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks.a[k].data()))),
                _mm_shuffle_epi8(from[masks.first[k] + 1], _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks.b[k].data()))));
            if constexpr (CheckFails) failed = _mm_or_si128(failed, _mm_cmpeq_epi8(kept, _mm_setzero_si128()));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), kept);
        }
    }
    return out;
}

// ---- AVX2: the compaction as SSSE3's, the lookup 32 kept bytes at a time ----

struct Avx2Tables {
    __m256i rows[kRows];
    __m256i outside, pound;
};

__attribute__((target("avx2"))) inline Avx2Tables MakeAvx2Tables(const ShiftMap& map)
{
    const ByteTables t = MakeByteTables(map);
    Avx2Tables a;
    for (int k = 0; k < kRows; ++k) a.rows[k] = _mm256_broadcastsi128_si256(t.rows[k]);
    a.outside = _mm256_set1_epi8(static_cast<char>(t.outside));
    a.pound = _mm256_set1_epi8(static_cast<char>(t.pound));
    return a;
}

__attribute__((target("avx2"))) inline __m256i Lookup(const Avx2Tables& t, __m256i b)
{
    const __m256i x = _mm256_sub_epi8(b, _mm256_set1_epi8(static_cast<char>(kFirstRow)));
    __m256i r = _mm256_shuffle_epi8(t.rows[0], x);
    for (int k = 1; k < kRows; ++k)
        r = _mm256_xor_si256(r, _mm256_shuffle_epi8(t.rows[k], _mm256_sub_epi8(x, _mm256_set1_epi8(static_cast<char>(16 * k)))));
    const __m256i inRows = _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(-128 + 16 * kRows)), _mm256_xor_si256(x, _mm256_set1_epi8(-128)));
    r = _mm256_blendv_epi8(t.outside, r, inRows);
    return _mm256_blendv_epi8(r, t.pound, _mm256_cmpeq_epi8(b, _mm256_set1_epi8(static_cast<char>(kPound))));
}

template <std::size_t Group, bool CheckFails>
__attribute__((target("avx2"))) std::size_t Avx2Blocks(const char16_t* in, std::size_t n, const ShiftMap& map, std::uint8_t* out,
                                                       bool& fails)
{
    constexpr std::size_t kBlock = 32 * Group;  // units in, 32 * (Group - 1) out
    const Avx2Tables t = MakeAvx2Tables(map);
    constexpr auto& masks = kShuffle<Group>;
    const __m256i zero = _mm256_setzero_si256();
    __m256i failed = zero;
    std::size_t done = 0;
    for (; done + kBlock <= n; done += kBlock, in += kBlock) {
        alignas(32) __m128i bytes[2 * Group + 1];
        for (std::size_t v = 0; v < Group; ++v) {
            const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * v));
            const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * v + 16));
            _mm256_store_si256(reinterpret_cast<__m256i*>(&bytes[2 * v]), _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8));
        }
        bytes[2 * Group] = _mm_setzero_si128();
        __m128i kept[2 * (Group - 1)];
        for (std::size_t half = 0; half < 2; ++half) {
            const __m128i* from = bytes + half * Group;
            for (std::size_t k = 0; k < Group - 1; ++k)
                kept[half * (Group - 1) + k] = _mm_or_si128(
                    _mm_shuffle_epi8(from[masks.first[k]], _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks.a[k].data()))),
                    _mm_shuffle_epi8(from[masks.first[k] + 1], _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks.b[k].data()))));
        }
        for (std::size_t k = 0; k < Group - 1; ++k, out += 32) {
            const __m256i decoded = Lookup(t, _mm256_set_m128i(kept[2 * k + 1], kept[2 * k]));
            if constexpr (CheckFails) failed = _mm256_or_si256(failed, _mm256_cmpeq_epi8(decoded, zero));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), decoded);
        }
    }
    fails = fails || _mm256_movemask_epi8(failed) != 0;
    return done;
}

// ---- AVX-512 ----

// 64 units squeezed to 64 bytes in order.
__attribute__((target("avx512f,avx512bw"))) inline __m512i Squeeze(const char16_t* in)
{
    const __m512i lo = _mm512_loadu_si512(in);
    const __m512i hi = _mm512_loadu_si512(in + 32);
    return _mm512_permutexvar_epi64(_mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7), _mm512_packus_epi16(lo, hi));
}

// BW: the lookup as AVX2's, 64 bytes at a time; the compaction by 16-byte lanes.
template <std::size_t Group, bool CheckFails>
__attribute__((target("avx512f,avx512bw"))) std::size_t Avx512BwBlocks(const char16_t* in, std::size_t n, const ShiftMap& map,
                                                                      std::uint8_t* out, bool& fails)
{
    constexpr std::size_t kBlock = 64 * Group;
    const ByteTables t = MakeByteTables(map);
    __m512i rows[kRows];
    for (int k = 0; k < kRows; ++k) rows[k] = _mm512_broadcast_i32x4(t.rows[k]);
    const __m512i firstRow = _mm512_set1_epi8(static_cast<char>(kFirstRow));
    const __m512i outside = _mm512_set1_epi8(static_cast<char>(t.outside));
    const __m512i pound = _mm512_set1_epi8(static_cast<char>(t.pound));
    __m128i failed = _mm_setzero_si128();
    std::size_t done = 0;
    for (; done + kBlock <= n; done += kBlock, in += kBlock) {
        alignas(64) __m128i bytes[4 * Group + 1];
        for (std::size_t v = 0; v < Group; ++v) {
            const __m512i b = Squeeze(in + 64 * v);
            const __m512i x = _mm512_sub_epi8(b, firstRow);
            __m512i r = _mm512_shuffle_epi8(rows[0], x);
            for (int k = 1; k < kRows; ++k)
                r = _mm512_xor_si512(r, _mm512_shuffle_epi8(rows[k], _mm512_sub_epi8(x, _mm512_set1_epi8(static_cast<char>(16 * k)))));
            r = _mm512_mask_blend_epi8(_mm512_cmpge_epu8_mask(x, _mm512_set1_epi8(static_cast<char>(16 * kRows))), r, outside);
            r = _mm512_mask_blend_epi8(_mm512_cmpeq_epi8_mask(b, _mm512_set1_epi8(static_cast<char>(kPound))), r, pound);
            _mm512_store_si512(&bytes[4 * v], r);
        }
        bytes[4 * Group] = _mm_setzero_si128();
        out = CompactBlocks<Group, CheckFails>(bytes, 4, out, failed);
    }
    fails = fails || _mm_movemask_epi8(failed) != 0;
    return done;
}

template <std::size_t Group>
struct PermuteIndex {
    static constexpr auto kCompaction = MakeCompaction<Group, 64>();
};

// VBMI: one VPERMI2B gathers the kept bytes of two vectors, and two more look
// them up in a table of all 256 bytes.
template <std::size_t Group, bool CheckFails>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) std::size_t Avx512VbmiBlocks(const char16_t* in, std::size_t n,
                                                                                   const ShiftMap& map, std::uint8_t* out,
                                                                                   bool& fails)
{
    constexpr std::size_t kBlock = 64 * Group;
    __m512i table[4];  // what each byte decodes to
    for (std::size_t k = 0; k < 4; ++k) table[k] = _mm512_loadu_si512(map.decodedBytes.data() + 64 * k);
    constexpr auto& c = PermuteIndex<Group>::kCompaction;
    __m512i index[Group - 1];
    for (std::size_t k = 0; k < Group - 1; ++k) index[k] = _mm512_loadu_si512(c.index[k].data());
    __mmask64 failed = 0;
    std::size_t done = 0;
    for (; done + kBlock <= n; done += kBlock, in += kBlock) {
        __m512i bytes[Group];
        for (std::size_t v = 0; v < Group; ++v) bytes[v] = Squeeze(in + 64 * v);
        for (std::size_t k = 0; k < Group - 1; ++k, out += 64) {
            const std::size_t first = c.first[k];
            const __m512i b = _mm512_permutex2var_epi8(bytes[first], index[k], bytes[first + 1 < Group ? first + 1 : first]);
            const __m512i r = _mm512_mask_blend_epi8(_mm512_movepi8_mask(b), _mm512_permutex2var_epi8(table[0], b, table[1]),
                                                     _mm512_permutex2var_epi8(table[2], b, table[3]));
            if constexpr (CheckFails) failed |= _mm512_cmpeq_epi8_mask(r, _mm512_setzero_si512());
            _mm512_storeu_si512(out, r);
        }
    }
    fails = fails || failed != 0;
    return done;
}

// ---- Decoded bytes to text ----
//
// Two passes over a chunk's bytes: first where the markers are, read in fixed
// blocks, so that where the next block is read never waits for what this one
// held; then the runs between the markers, widened a vector at a time, with
// CR LF between them.

// Eight bytes as one little-endian word.
constexpr std::uint64_t Word(const char (&text)[9])
{
    std::uint64_t word = 0;
    for (int i = 7; i >= 0; --i) word = word << 8 | static_cast<std::uint8_t>(text[i]);
    return word;
}

inline bool MarkerStartsAt(const std::uint8_t* bytes)
{
    constexpr std::uint64_t kHead = Word("###NEWLI"), kTail = Word("WLINE###");
    std::uint64_t head, tail;
    std::memcpy(&head, bytes, 8);
    std::memcpy(&tail, bytes + kMarkerLength - 8, 8);
    return head == kHead && tail == kTail;
}

// What a walk needs of a vector width, kWidth bytes at a time: where the
// '#' are, and the bytes widened and stored.
struct Avx2Lanes {
    static constexpr std::size_t kWidth = 32;
    __attribute__((target("avx2"))) static std::uint64_t Hashes(const std::uint8_t* bytes)
    {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
        return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, _mm256_set1_epi8('#'))));
    }
    __attribute__((target("avx2"))) static void Widen(const std::uint8_t* bytes, char16_t* out)
    {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_cvtepu8_epi16(_mm256_castsi256_si128(v)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16), _mm256_cvtepu8_epi16(_mm256_extracti128_si256(v, 1)));
    }
};

struct Avx512Lanes {
    static constexpr std::size_t kWidth = 64;
    __attribute__((target("avx512f,avx512bw"))) static std::uint64_t Hashes(const std::uint8_t* bytes)
    {
        return _cvtmask64_u64(_mm512_cmpeq_epi8_mask(_mm512_loadu_si512(bytes), _mm512_set1_epi8('#')));
    }
    __attribute__((target("avx512f,avx512bw"))) static void Widen(const std::uint8_t* bytes, char16_t* out)
    {
        const __m512i v = _mm512_loadu_si512(bytes);
        _mm512_storeu_si512(out, _mm512_cvtepu8_epi16(_mm512_castsi512_si256(v)));
        _mm512_storeu_si512(out + 32, _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(v, 1)));
    }
};

// The most bytes a walk is given: a chunk, and the start of a marker held
// from the chunk before.
constexpr std::size_t kMostWalked = kChunkBytes + kMarkerLength - 1;

// Where whole markers start among the first `settled` bytes, left to right
// without overlaps, into `starts`; returns how many.
template <class Lanes>
__attribute__((always_inline)) inline std::size_t FindMarkers(const std::uint8_t* bytes, std::size_t settled, std::uint32_t* starts)
{
    constexpr std::size_t kBlock = Lanes::kWidth;
    std::size_t count = 0;
    std::size_t markedTo = 0;
    for (std::size_t p = 0; p < settled; p += kBlock) {
        std::uint64_t hashes = Lanes::Hashes(bytes + p);
        if (markedTo > p) hashes &= ~std::uint64_t{0} << (markedTo - p);
        while (hashes) {
            const std::size_t h = static_cast<std::size_t>(__builtin_ctzll(hashes));
            if (!MarkerStartsAt(bytes + p + h)) {
                hashes &= hashes - 1;
                continue;
            }
            starts[count++] = static_cast<std::uint32_t>(p + h);
            markedTo = p + h + kMarkerLength;
            hashes &= h + kMarkerLength < kBlock ? ~std::uint64_t{0} << (h + kMarkerLength) : 0;
        }
    }
    return count;
}

// The runs of bytes between the markers widened, each marker as CR LF. A
// run's last store reaches past it, and the next run or line break writes
// over that. Unless CheckRoom, the text has room for all of it.
template <class Lanes, bool CheckRoom>
__attribute__((always_inline)) inline Walked WidenRuns(const std::uint8_t* bytes, std::size_t settled, const std::uint32_t* starts,
                                                      std::size_t count, char16_t* out, std::size_t room)
{
    constexpr std::size_t kBlock = Lanes::kWidth;
    Walked w;
    // Widens bytes from w.used up to `end`; false when the text ran out of room on the way.
    const auto run = [&](std::size_t end) __attribute__((always_inline)) {
        for (; w.used < end; w.used += kBlock, w.produced += kBlock) {
            if (CheckRoom && room - w.produced < kWalkSlack) return false;
            Lanes::Widen(bytes + w.used, out + w.produced);
        }
        w.produced -= w.used - end;
        w.used = end;
        return !CheckRoom || room - w.produced >= kWalkSlack;
    };
    for (std::size_t i = 0; i < count; ++i) {
        if (!run(starts[i])) return w;
        out[w.produced] = u'\r';
        out[w.produced + 1] = u'\n';
        w.produced += 2;
        w.used += kMarkerLength;
    }
    if (w.used < settled && !run(settled)) return w;
    w.finished = true;
    return w;
}

template <class Lanes>
__attribute__((always_inline)) inline Walked WalkRuns(const std::uint8_t* bytes, std::size_t n, bool last, char16_t* out,
                                                     std::size_t room)
{
    const std::size_t settled = last ? n : n - std::min(n, kMarkerLength - 1);
    std::uint32_t starts[kMostWalked / kMarkerLength + 1];
    const std::size_t count = FindMarkers<Lanes>(bytes, settled, starts);
    // The text is never longer than its bytes.
    if (room >= settled + kWalkSlack) return WidenRuns<Lanes, false>(bytes, settled, starts, count, out, room);
    return WidenRuns<Lanes, true>(bytes, settled, starts, count, out, room);
}

__attribute__((target("avx2,bmi"))) Walked Avx2WalkText(const std::uint8_t* bytes, std::size_t n, bool last, char16_t* out,
                                                       std::size_t room)
{
    return WalkRuns<Avx2Lanes>(bytes, n, last, out, room);
}

__attribute__((target("avx512f,avx512bw,bmi"))) Walked Avx512WalkText(const std::uint8_t* bytes, std::size_t n, bool last,
                                                                     char16_t* out, std::size_t room)
{
    return WalkRuns<Avx512Lanes>(bytes, n, last, out, room);
}

#endif  // RAVELON_X86

KernelPath Fastest()
{
#ifdef RAVELON_X86
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw")) return KernelPath::Avx512Vbmi;
    if (__builtin_cpu_supports("avx512bw")) return KernelPath::Avx512Bw;
    if (__builtin_cpu_supports("avx2")) return KernelPath::Avx2;
    if (__builtin_cpu_supports("ssse3")) return KernelPath::Ssse3;
#endif
    return KernelPath::Scalar;
}

KernelPath FromEnvironment()
{
    const char* chosen = std::getenv("RAVELON_KERNEL");
    if (chosen) {
        for (KernelPath path : kKernelPaths)
            if (std::strcmp(chosen, NameOf(path)) == 0 && Available(path)) return path;
    }
    return Fastest();
}

std::atomic<KernelPath>& Active()
{
    static std::atomic<KernelPath> active{FromEnvironment()};
    return active;
}

template <bool CheckFails, std::size_t Group>
std::size_t Blocks(KernelPath path, const char16_t* in, std::size_t n, const ShiftMap& map, std::uint8_t* out, bool& fails)
{
    switch (path) {
#ifdef RAVELON_X86
        case KernelPath::Ssse3: return Ssse3Blocks<Group, CheckFails>(in, n, map, out, fails);
        case KernelPath::Avx2: return Avx2Blocks<Group, CheckFails>(in, n, map, out, fails);
        case KernelPath::Avx512Bw: return Avx512BwBlocks<Group, CheckFails>(in, n, map, out, fails);
        case KernelPath::Avx512Vbmi: return Avx512VbmiBlocks<Group, CheckFails>(in, n, map, out, fails);
#endif
        default: return 0;
    }
}

}  // namespace

const char* NameOf(KernelPath path)
{
    switch (path) {
        case KernelPath::Ssse3: return "ssse3";
        case KernelPath::Avx2: return "avx2";
        case KernelPath::Avx512Bw: return "avx512bw";
        case KernelPath::Avx512Vbmi: return "avx512vbmi";
        default: return "scalar";
    }
}

bool Available(KernelPath path)
{
#ifdef RAVELON_X86
    __builtin_cpu_init();
    switch (path) {
        case KernelPath::Ssse3: return __builtin_cpu_supports("ssse3");
        case KernelPath::Avx2: return __builtin_cpu_supports("avx2");
        case KernelPath::Avx512Bw: return __builtin_cpu_supports("avx512bw");
        case KernelPath::Avx512Vbmi: return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
        default: return true;
    }
#else
    return path == KernelPath::Scalar;
#endif
}

KernelPath ActiveKernelPath() { return Active().load(std::memory_order_relaxed); }

void ForceKernelPath(KernelPath path)
{
    if (Available(path)) Active().store(path, std::memory_order_relaxed);
}

std::size_t StripShiftBlocks(std::u16string_view body, int spacing, const ShiftMap& map, std::uint8_t* out, bool& fails)
{
    const KernelPath path = ActiveKernelPath();
    if (path == KernelPath::Scalar || !map.fitsVectorTables) return 0;
    const char16_t* in = body.data();
    const std::size_t n = body.size();
    switch (spacing) {
        case 1: return map.canFail ? Blocks<true, 2>(path, in, n, map, out, fails) : Blocks<false, 2>(path, in, n, map, out, fails);
        case 2: return map.canFail ? Blocks<true, 3>(path, in, n, map, out, fails) : Blocks<false, 3>(path, in, n, map, out, fails);
        case 3: return map.canFail ? Blocks<true, 4>(path, in, n, map, out, fails) : Blocks<false, 4>(path, in, n, map, out, fails);
        default: return 0;
    }
}

bool HasTextWalk() { return ActiveKernelPath() >= KernelPath::Avx2; }

Walked WalkTextBlocks(const std::uint8_t* bytes, std::size_t n, bool last, char16_t* out, std::size_t room)
{
#ifdef RAVELON_X86
    if (ActiveKernelPath() == KernelPath::Avx2) return Avx2WalkText(bytes, n, last, out, room);
    return Avx512WalkText(bytes, n, last, out, room);
#else
    (void)bytes, (void)n, (void)last, (void)out, (void)room;
    return {};
#endif
}

}  // namespace ravelon::detail
