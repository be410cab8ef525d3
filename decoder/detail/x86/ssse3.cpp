// The SSSE3 path: 16 units at a time, compacted, then looked up.

#include "decoder/detail/x86/vectors.h"

namespace ravelon::detail {

namespace x86 {
namespace {

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
    const __m128i inRows =
        _mm_cmplt_epi8(_mm_xor_si128(x, _mm_set1_epi8(-128)), _mm_set1_epi8(static_cast<char>(-128 + 16 * kRows)));
    r = _mm_or_si128(_mm_and_si128(inRows, r), _mm_andnot_si128(inRows, _mm_set1_epi8(static_cast<char>(t.outside))));
    const __m128i pound = _mm_cmpeq_epi8(b, _mm_set1_epi8(static_cast<char>(kPound)));
    return _mm_or_si128(_mm_and_si128(pound, _mm_set1_epi8(static_cast<char>(t.pound))), _mm_andnot_si128(pound, r));
}

__attribute__((target("ssse3"))) inline __m128i Compact(const __m128i* bytes, const std::uint8_t* a,
                                                        const std::uint8_t* b, std::size_t first)
{
    return _mm_or_si128(_mm_shuffle_epi8(bytes[first], _mm_loadu_si128(reinterpret_cast<const __m128i*>(a))),
                        _mm_shuffle_epi8(bytes[first + 1], _mm_loadu_si128(reinterpret_cast<const __m128i*>(b))));
}

// Units squeezed to bytes and compacted first, so that only kept bytes go
// through the table.
template <std::size_t Group, bool CheckFails>
__attribute__((target("ssse3"))) std::size_t Ssse3Blocks(const char16_t* in, std::size_t n, const ShiftMap& map,
                                                         std::uint8_t* out, bool& fails)
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

}  // namespace
}  // namespace x86

const KernelTable kSsse3Kernels = {
    {&x86::Ssse3Blocks<2, false>, &x86::Ssse3Blocks<3, false>, &x86::Ssse3Blocks<4, false>},
    {&x86::Ssse3Blocks<2, true>, &x86::Ssse3Blocks<3, true>, &x86::Ssse3Blocks<4, true>},
    nullptr,
};

}  // namespace ravelon::detail
