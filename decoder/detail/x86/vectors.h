#pragma once

// Pieces the x86 paths share: the 128-bit tables, AVX2's lookup and
// AVX-512's squeeze (the compaction of a block's kept units: compaction.h).

#if defined(__GNUC__) && !defined(__clang__)
// GCC 12's AVX-512 headers start some intrinsics from undefined registers.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "decoder/detail/compaction.h"
#include "decoder/detail/kernel_table.h"

namespace ravelon::detail::x86 {

// ---- 128-bit pieces shared by the SSSE3, AVX2 and AVX-512 BW paths ----

struct ByteTables {
    __m128i rows[kRows];  // each row XORed with the one before: see Lookup
    std::uint8_t outside, pound;
};

inline ByteTables MakeByteTables(const ShiftMap& map)
{
    ByteTables t;
    __m128i previous = _mm_setzero_si128();
    for (unsigned r = 0; r < static_cast<unsigned>(kRows); ++r) {
        const __m128i row = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&map.decodedBytes[kFirstRow + 16 * r]));
        t.rows[r] = _mm_xor_si128(row, previous);
        previous = row;
    }
    t.outside = map.decodedBytes[kOutsideSlot];
    t.pound = map.decodedBytes[kPound];
    return t;
}

// ---- AVX2: the compaction as SSSE3's, the lookup 32 kept bytes at a time ----

struct Avx2Tables {
    __m256i rows[kRows];
    __m256i outside, poundFromOutside;  // the pound's byte XOR the outside's
};

__attribute__((target("avx2"))) inline Avx2Tables MakeAvx2Tables(const ShiftMap& map)
{
    const ByteTables t = MakeByteTables(map);
    Avx2Tables a;
    a.outside = _mm256_set1_epi8(static_cast<char>(t.outside));
    for (int k = 0; k < kRows; ++k) a.rows[k] = _mm256_broadcastsi128_si256(t.rows[k]);
    a.rows[0] = _mm256_xor_si256(a.rows[0], a.outside);
    a.poundFromOutside = _mm256_set1_epi8(static_cast<char>(t.pound ^ t.outside));
    return a;
}

// As SSSE3's, but with the offsets taken with signed saturation: every byte
// outside the rows (0x80 up as well as below 0x20) is then negative for every
// row, and the rows give it 0. The first row is XORed with the outside byte
// too, so that one XOR at the end gives a byte in the rows its entry and
// every other byte the outside's.
__attribute__((target("avx2"))) inline __m256i Lookup(const Avx2Tables& t, __m256i b)
{
    const __m256i x = _mm256_subs_epi8(b, _mm256_set1_epi8(static_cast<char>(kFirstRow)));
    __m256i r = _mm256_xor_si256(t.outside, _mm256_shuffle_epi8(t.rows[0], x));
    for (int k = 1; k < kRows; ++k)
        r = _mm256_xor_si256(
            r, _mm256_shuffle_epi8(t.rows[k], _mm256_subs_epi8(x, _mm256_set1_epi8(static_cast<char>(16 * k)))));
    const __m256i pound = _mm256_cmpeq_epi8(b, _mm256_set1_epi8(static_cast<char>(kPound)));
    return _mm256_xor_si256(r, _mm256_and_si256(pound, t.poundFromOutside));
}

// ---- AVX-512 ----

// 64 units squeezed to 64 bytes in order.
__attribute__((target("avx512f,avx512bw"))) inline __m512i Squeeze(const char16_t* in)
{
    const __m512i lo = _mm512_loadu_si512(in);
    const __m512i hi = _mm512_loadu_si512(in + 32);
    return _mm512_permutexvar_epi64(_mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7), _mm512_packus_epi16(lo, hi));
}

// What a walk needs of a vector width, kWidth bytes at a time: where the
// '#' are, and the bytes widened and stored.
// AVX2 walks 64 bytes at a time too: finding markers costs a branch or two a
// block, and twice the bytes a block halves them.
struct Avx2Lanes {
    static constexpr std::size_t kWidth = 64;
    __attribute__((target("avx2"))) static std::uint64_t Hashes(const std::uint8_t* bytes)
    {
        const __m256i hash = _mm256_set1_epi8('#');
        const auto half = [&](const std::uint8_t* at) __attribute__((target("avx2"))) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
            return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, hash)));
        };
        return std::uint64_t{half(bytes + 32)} << 32 | half(bytes);
    }
    // Each 16 bytes loaded into both halves and spread to units by a byte
    // shuffle, which has two ports where a widening move has one.
    __attribute__((target("avx2"))) static void Widen(const std::uint8_t* bytes, char16_t* out)
    {
        const __m256i spread = _mm256_setr_epi8(0, -1, 1, -1, 2, -1, 3, -1, 4, -1, 5, -1, 6, -1, 7, -1,  //
                                                8, -1, 9, -1, 10, -1, 11, -1, 12, -1, 13, -1, 14, -1, 15, -1);
        for (std::size_t q = 0; q < 64; q += 16) {
            const __m256i v = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + q)));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + q), _mm256_shuffle_epi8(v, spread));
        }
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

// Decoded bytes to text with AVX-512 BW, for both AVX-512 paths.
Walked Avx512WalkText(const std::uint8_t* bytes, std::size_t n, bool last, char16_t* out, std::size_t room);

}  // namespace ravelon::detail::x86
