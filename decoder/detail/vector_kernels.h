#pragma once

// Strip-and-shift with the CPU's vector units: the same result as the scalar
// loop, many code units at a time.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <optional>

#include "decoder/detail/kernels.h"

namespace ravelon::detail {

enum class KernelPath { Scalar, Ssse3, Avx2, Avx512Bw, Avx512Vbmi, Simd128, Neon };
inline constexpr KernelPath kKernelPaths[] = {KernelPath::Scalar,     KernelPath::Ssse3,   KernelPath::Avx2,
                                              KernelPath::Avx512Bw,   KernelPath::Avx512Vbmi,
                                              KernelPath::Simd128,    KernelPath::Neon};

const char* NameOf(KernelPath path);
bool Available(KernelPath path);  // on this CPU

// The path every request takes: the fastest the CPU has, chosen once; the
// environment variable RAVELON_KERNEL (scalar, ssse3, avx2, avx512bw,
// avx512vbmi, simd128, neon) or ForceKernelPath chooses another, for tests and benchmarks.
KernelPath ActiveKernelPath();
// The path RAVELON_KERNEL names, if it names one (available or not).
std::optional<KernelPath> RequestedKernelPath();
void ForceKernelPath(KernelPath path);  // must be Available

// Whether the vector paths can hold `map` in their byte tables.
bool FitsVectorTables(const ShiftMap& map);

// Strips and shifts the longest prefix of `body` made of whole blocks of the
// active path; returns how many units of `body` it took (a multiple of
// spacing + 1), having written their kept units to `out`, one byte each. Sets
// `fails` when one of them falls outside the alphabet. May write up to
// kBlocksSlack bytes beyond them.
inline constexpr std::size_t kBlocksSlack = 16;
std::size_t StripShiftBlocks(std::u16string_view body, int spacing, const ShiftMap& map, std::uint8_t* out,
                             bool& fails);

// Whether the active path turns decoded bytes into text with its vector units.
bool HasTextWalk();

// Turns `n` decoded bytes into text at `out`, which has `room` units, each
// marker as CR LF, left to right without overlaps. Unless `last`, a marker may
// still be coming in the last few bytes: they are left for the next call.
// Needs kWalkSlack zero bytes beyond `n`.
Walked WalkTextBlocks(const std::uint8_t* bytes, std::size_t n, bool last, char16_t* out, std::size_t room);

}  // namespace ravelon::detail
