// The AVX-512 VBMI path: one VPERMI2B gathers the kept bytes of two vectors.

#include "decoder/detail/x86/vectors.h"

namespace ravelon::detail {

namespace x86 {
namespace {

template <std::size_t Group>
struct PermuteIndex {
    static constexpr auto kCompaction = MakeCompaction<Group, 64>();
};

// VBMI: one VPERMI2B gathers the kept bytes of two vectors, and two more look
// them up in a table of all 256 bytes.
template <std::size_t Group, bool CheckFails>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) std::size_t Avx512VbmiBlocks(const char16_t* in, std::size_t n,
                                                                                    const ShiftMap& map,
                                                                                    std::uint8_t* out, bool& fails)
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
            const __m512i b =
                _mm512_permutex2var_epi8(bytes[first], index[k], bytes[first + 1 < Group ? first + 1 : first]);
            const __m512i r =
                _mm512_mask_blend_epi8(_mm512_movepi8_mask(b), _mm512_permutex2var_epi8(table[0], b, table[1]),
                                       _mm512_permutex2var_epi8(table[2], b, table[3]));
            if constexpr (CheckFails) failed |= _mm512_cmpeq_epi8_mask(r, _mm512_setzero_si512());
            _mm512_storeu_si512(out, r);
        }
    }
    fails = fails || failed != 0;
    return done;
}

}  // namespace
}  // namespace x86

const KernelTable kAvx512VbmiKernels = {
    {&x86::Avx512VbmiBlocks<2, false>, &x86::Avx512VbmiBlocks<3, false>, &x86::Avx512VbmiBlocks<4, false>},
    {&x86::Avx512VbmiBlocks<2, true>, &x86::Avx512VbmiBlocks<3, true>, &x86::Avx512VbmiBlocks<4, true>},
    &x86::Avx512WalkText,
};

}  // namespace ravelon::detail
