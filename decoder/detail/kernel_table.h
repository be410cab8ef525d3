#pragma once

// What each vector path offers the decoder: one small table of functions,
// chosen once from the CPU (and RAVELON_KERNEL); each chunk makes one
// indirect call through it.

#include <array>
#include <cstddef>
#include <cstdint>

#include "decoder/detail/kernels.h"
#include "decoder/detail/vector_kernels.h"

namespace ravelon::detail {

// ---- What the vector paths know of the tables ----
//
// A code unit is first squeezed to a byte with unsigned saturation: units from
// U+0100 up become 0xFF (with SSE's signed saturation, U+8000 up become 0),
// which are no alphabet symbols and decode as they do. The alphabet lies in
// 0x20 to 0x7F, but for the pound sign at 0xA3.
constexpr unsigned kFirstRow = 0x20;
constexpr int kRows = 6;  // 0x20 to 0x7F, 16 bytes a row
constexpr unsigned kPound = 0xA3;

struct KernelTable {
    // The kept bytes of whole blocks of a scheme, one function per spacing
    // (1 to 3), with and without the check for units that fall outside.
    using Blocks = std::size_t (*)(const char16_t* in, std::size_t n, const ShiftMap& map, std::uint8_t* out,
                                   bool& fails);
    std::array<Blocks, 3> blocks;
    std::array<Blocks, 3> checkedBlocks;
    // Decoded bytes to text, where the path has a walk of its own.
    using Walk = Walked (*)(const std::uint8_t* bytes, std::size_t n, bool last, char16_t* out, std::size_t room);
    Walk walk = nullptr;
};

#if defined(__wasm__)
// Linked into the web edition's SIMD module alone; in the other its address is null.
[[gnu::weak]] extern const KernelTable kSimd128Kernels;
#endif

#if defined(__aarch64__)
extern const KernelTable kNeonKernels;
#endif

#if defined(__x86_64__) || defined(__i386__)
extern const KernelTable kSsse3Kernels;
extern const KernelTable kAvx2Kernels;
extern const KernelTable kAvx512BwKernels;
extern const KernelTable kAvx512VbmiKernels;
#endif

}  // namespace ravelon::detail
