// The AVX-512 BW path: the compaction and lookup as AVX2's, 64 bytes at a
// time. Its walk to text serves the VBMI path too.

#include "decoder/detail/text_walk.h"
#include "decoder/detail/x86/vectors.h"

namespace ravelon::detail {

namespace x86 {
namespace {

// Through the table 64 bytes at a time: as AVX2's lookup, with masks.
struct Avx512Tables {
    __m512i rows[kRows];
    __m512i outside, pound;
};

__attribute__((target("avx512f,avx512bw"))) inline Avx512Tables MakeAvx512Tables(const ShiftMap& map)
{
    const ByteTables t = MakeByteTables(map);
    Avx512Tables a;
    for (int k = 0; k < kRows; ++k) a.rows[k] = _mm512_broadcast_i32x4(t.rows[k]);
    a.outside = _mm512_set1_epi8(static_cast<char>(t.outside));
    a.pound = _mm512_set1_epi8(static_cast<char>(t.pound));
    return a;
}

__attribute__((target("avx512f,avx512bw"))) inline __m512i Lookup(const Avx512Tables& t, __m512i b)
{
    const __m512i x = _mm512_sub_epi8(b, _mm512_set1_epi8(static_cast<char>(kFirstRow)));
    __m512i r = _mm512_shuffle_epi8(t.rows[0], x);
    for (int k = 1; k < kRows; ++k)
        r = _mm512_xor_si512(
            r, _mm512_shuffle_epi8(t.rows[k], _mm512_sub_epi8(x, _mm512_set1_epi8(static_cast<char>(16 * k)))));
    r = _mm512_mask_blend_epi8(_mm512_cmpge_epu8_mask(x, _mm512_set1_epi8(static_cast<char>(16 * kRows))), r,
                               t.outside);
    return _mm512_mask_blend_epi8(_mm512_cmpeq_epi8_mask(b, _mm512_set1_epi8(static_cast<char>(kPound))), r, t.pound);
}

// The compaction as AVX2's, by 16-byte lanes and overlapping stores, 64 units
// at a time; the lookup a few blocks behind it, 64 bytes at a time.
template <std::size_t Group, bool CheckFails>
__attribute__((target("avx512f,avx512bw"))) std::size_t Avx512BwBlocks(const char16_t* in, std::size_t n,
                                                                       const ShiftMap& map, std::uint8_t* out,
                                                                       bool& fails)
{
    constexpr std::size_t kBlock = 64 * Group;  // units in, 64 * (Group - 1) out
    constexpr std::size_t kLookupLag = 256;
    constexpr auto& lanes = kLaneMasks<Group>;
    const Avx512Tables t = MakeAvx512Tables(map);
    __mmask64 failed = 0;
    std::uint8_t* looked = out;  // kept bytes before it are looked up
    const auto lookUpTo = [&](const std::uint8_t* end) __attribute__((target("avx512f,avx512bw")))
    {
        for (; looked < end; looked += 64) {
            const __m512i decoded = Lookup(t, _mm512_loadu_si512(looked));
            if constexpr (CheckFails) failed |= _mm512_cmpeq_epi8_mask(decoded, _mm512_setzero_si512());
            _mm512_storeu_si512(looked, decoded);
        }
    };
    std::size_t done = 0;
    for (; done + kBlock <= n; done += kBlock) {
        for (std::size_t piece = 0; piece < Group; ++piece, in += 64) {
            const __m512i mask = _mm512_inserti64x4(
                _mm512_castsi256_si512(
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lanes.mask[2 * piece % Group].data()))),
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lanes.mask[(2 * piece + 1) % Group].data())), 1);
            const __m512i kept = _mm512_shuffle_epi8(Squeeze(in), mask);
            const auto& first = lanes.kept[2 * piece % Group];
            const auto& second = lanes.kept[(2 * piece + 1) % Group];
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm512_castsi512_si128(kept));
            out += first[0];
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm512_extracti32x4_epi32(kept, 1));
            out += first[1];
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm512_extracti32x4_epi32(kept, 2));
            out += second[0];
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm512_extracti32x4_epi32(kept, 3));
            out += second[1];
        }
        if (out - looked >= static_cast<std::ptrdiff_t>(kLookupLag)) lookUpTo(out - kLookupLag);
    }
    lookUpTo(out);
    fails = fails || failed != 0;
    return done;
}

}  // namespace

__attribute__((target("avx512f,avx512bw,bmi"))) Walked Avx512WalkText(const std::uint8_t* bytes, std::size_t n,
                                                                      bool last, char16_t* out, std::size_t room)
{
    return WalkRuns<Avx512Lanes>(bytes, n, last, out, room);
}

}  // namespace x86

const KernelTable kAvx512BwKernels = {
    {&x86::Avx512BwBlocks<2, false>, &x86::Avx512BwBlocks<3, false>, &x86::Avx512BwBlocks<4, false>},
    {&x86::Avx512BwBlocks<2, true>, &x86::Avx512BwBlocks<3, true>, &x86::Avx512BwBlocks<4, true>},
    &x86::Avx512WalkText,
};

}  // namespace ravelon::detail
