// The AVX2 path: the compaction as SSSE3's (but for every other unit kept,
// which two packs do), the lookup 32 kept bytes at a time; its own walk from
// decoded bytes to text.

#include "decoder/detail/text_walk.h"
#include "decoder/detail/x86/vectors.h"

namespace ravelon::detail {

namespace x86 {
namespace {

// The even units of 16, each in the low half of its 32-bit lane.
__attribute__((target("avx2"))) inline __m256i EvenUnits(const char16_t* in)
{
    return _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in)), _mm256_set1_epi32(0xFFFF));
}

template <std::size_t Group, bool CheckFails>
__attribute__((target("avx2"))) std::size_t Avx2Blocks(const char16_t* in, std::size_t n, const ShiftMap& map,
                                                       std::uint8_t* out, bool& fails)
{
    constexpr std::size_t kBlock = 32 * Group;  // units in, 32 * (Group - 1) out
    const Avx2Tables t = MakeAvx2Tables(map);
    constexpr auto& masks = kShuffle<Group>;
    const __m256i zero = _mm256_setzero_si256();
    __m256i failed = zero;
    std::size_t done = 0;
    if constexpr (Group == 2) {
        // Every other unit kept: the low halves of 32-bit lanes, packed to
        // bytes twice, without a shuffle of their own.
        const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
        for (; done + kBlock <= n; done += kBlock, in += kBlock, out += 32) {
            const __m256i bytes = _mm256_packus_epi16(_mm256_packus_epi32(EvenUnits(in), EvenUnits(in + 16)),
                                                      _mm256_packus_epi32(EvenUnits(in + 32), EvenUnits(in + 48)));
            const __m256i decoded = Lookup(t, _mm256_permutevar8x32_epi32(bytes, order));
            if constexpr (CheckFails) failed = _mm256_or_si256(failed, _mm256_cmpeq_epi8(decoded, zero));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), decoded);
        }
    }
    for (; done + kBlock <= n; done += kBlock, in += kBlock) {
        alignas(32) __m128i bytes[2 * Group + 1];
        for (std::size_t v = 0; v < Group; ++v) {
            const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * v));
            const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32 * v + 16));
            _mm256_store_si256(reinterpret_cast<__m256i*>(&bytes[2 * v]),
                               _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8));
        }
        bytes[2 * Group] = _mm_setzero_si128();
        __m128i kept[2 * (Group - 1)];
        for (std::size_t half = 0; half < 2; ++half) {
            const __m128i* from = bytes + half * Group;
            for (std::size_t k = 0; k < Group - 1; ++k)
                kept[half * (Group - 1) + k] = _mm_or_si128(
                    _mm_shuffle_epi8(from[masks.first[k]],
                                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks.a[k].data()))),
                    _mm_shuffle_epi8(from[masks.first[k] + 1],
                                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks.b[k].data()))));
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

__attribute__((target("avx2,bmi"))) Walked Avx2WalkText(const std::uint8_t* bytes, std::size_t n, bool last,
                                                        char16_t* out, std::size_t room)
{
    return WalkRuns<Avx2Lanes>(bytes, n, last, out, room);
}

}  // namespace
}  // namespace x86

const KernelTable kAvx2Kernels = {
    {&x86::Avx2Blocks<2, false>, &x86::Avx2Blocks<3, false>, &x86::Avx2Blocks<4, false>},
    {&x86::Avx2Blocks<2, true>, &x86::Avx2Blocks<3, true>, &x86::Avx2Blocks<4, true>},
    &x86::Avx2WalkText,
};

}  // namespace ravelon::detail
