// The AVX2 path: every other unit kept by two packs; two in three or three in
// four by a shuffle within each half and overlapping stores, then looked up in
// place 32 bytes at a time. Its own walk from decoded bytes to text.

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
    if constexpr (Group > 2) {
        // Each lane's kept bytes stored where the last lane's end, 16 bytes at
        // a time; every 32 of them then go through the table in place, a few
        // blocks behind: loaded long after they were stored, and the lookup's
        // arithmetic interleaved with the loads and stores of the compaction.
        constexpr std::size_t kLookupLag = 192;
        constexpr auto& lanes = kLaneMasks<Group>;
        std::uint8_t* looked = out;  // kept bytes before it are looked up
        const auto lookUpTo = [&](const std::uint8_t* end) __attribute__((target("avx2")))
        {
            for (; looked < end; looked += 32) {
                const __m256i decoded = Lookup(t, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(looked)));
                if constexpr (CheckFails) failed = _mm256_or_si256(failed, _mm256_cmpeq_epi8(decoded, zero));
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(looked), decoded);
            }
        };
        for (; done + kBlock <= n; done += kBlock) {
            for (std::size_t piece = 0; piece < Group; ++piece, in += 32) {
                const __m256i bytes = _mm256_permute4x64_epi64(
                    _mm256_packus_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in)),
                                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 16))),
                    0xD8);
                const __m256i kept = _mm256_shuffle_epi8(
                    bytes, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lanes.mask[piece].data())));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(kept));
                out += lanes.kept[piece][0];
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_extracti128_si256(kept, 1));
                out += lanes.kept[piece][1];
            }
            if (out - looked >= static_cast<std::ptrdiff_t>(kLookupLag)) lookUpTo(out - kLookupLag);
        }
        lookUpTo(out);
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
