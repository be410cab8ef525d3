// The AVX-512 BW path: the lookup as AVX2's, 64 bytes at a time; the
// compaction by 16-byte lanes. Its walk to text serves the VBMI path too.

#include "decoder/detail/text_walk.h"
#include "decoder/detail/x86/vectors.h"

namespace ravelon::detail {

namespace x86 {
namespace {

// BW: the lookup as AVX2's, 64 bytes at a time; the compaction by 16-byte lanes.
template <std::size_t Group, bool CheckFails>
__attribute__((target("avx512f,avx512bw"))) std::size_t Avx512BwBlocks(const char16_t* in, std::size_t n,
                                                                       const ShiftMap& map, std::uint8_t* out,
                                                                       bool& fails)
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
                r = _mm512_xor_si512(
                    r, _mm512_shuffle_epi8(rows[k], _mm512_sub_epi8(x, _mm512_set1_epi8(static_cast<char>(16 * k)))));
            r = _mm512_mask_blend_epi8(_mm512_cmpge_epu8_mask(x, _mm512_set1_epi8(static_cast<char>(16 * kRows))), r,
                                       outside);
            r = _mm512_mask_blend_epi8(_mm512_cmpeq_epi8_mask(b, _mm512_set1_epi8(static_cast<char>(kPound))), r,
                                       pound);
            _mm512_store_si512(&bytes[4 * v], r);
        }
        bytes[4 * Group] = _mm_setzero_si128();
        out = CompactBlocks<Group, CheckFails>(bytes, 4, out, failed);
    }
    fails = fails || _mm_movemask_epi8(failed) != 0;
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
