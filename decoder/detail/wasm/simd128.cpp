// The WebAssembly SIMD128 path: 16 units at a time, compacted, then looked up,
// as the SSSE3 path does. Built into the web edition's SIMD module only; the
// page loads that module where the browser has SIMD128.

#include <wasm_simd128.h>

#include "decoder/detail/compaction.h"
#include "decoder/detail/kernel_table.h"

namespace ravelon::detail {

namespace wasm {
namespace {

struct Tables {
    v128_t rows[kRows];  // the decoded bytes of 0x20 to 0x7F, 16 a row
    v128_t outside, pound;
};

Tables MakeTables(const ShiftMap& map)
{
    Tables t;
    for (int r = 0; r < kRows; ++r)
        t.rows[r] = wasm_v128_load(&map.decodedBytes[kFirstRow + 16u * static_cast<unsigned>(r)]);
    t.outside = wasm_u8x16_splat(static_cast<std::uint8_t>(map.decoded[kOutsideSlot]));
    t.pound = wasm_u8x16_splat(static_cast<std::uint8_t>(map.decoded[kPound]));
    return t;
}

// Sixteen bytes through the table. A swizzle gives 0 for any index from 16
// up, so with x = b - 0x20 only row r's lookup at x - 16r answers, and the
// rows' answers are ORed.
v128_t Lookup(const Tables& t, v128_t b)
{
    const v128_t x = wasm_i8x16_sub(b, wasm_u8x16_splat(kFirstRow));
    v128_t r = wasm_i8x16_swizzle(t.rows[0], x);
    for (int k = 1; k < kRows; ++k)
        r = wasm_v128_or(
            r, wasm_i8x16_swizzle(t.rows[k], wasm_i8x16_sub(x, wasm_u8x16_splat(static_cast<std::uint8_t>(16 * k)))));
    // x below 96 (unsigned) is in the rows; everything else decodes as an outside unit.
    r = wasm_v128_bitselect(r, t.outside, wasm_u8x16_lt(x, wasm_u8x16_splat(16 * kRows)));
    return wasm_v128_bitselect(t.pound, r, wasm_i8x16_eq(b, wasm_u8x16_splat(kPound)));
}

// Units squeezed to bytes (units from U+8000 up to 0, others from U+0100 up to
// 0xFF, as SSE's pack does) and compacted first, so that only kept bytes go
// through the table.
template <std::size_t Group, bool CheckFails>
std::size_t Simd128Blocks(const char16_t* in, std::size_t n, const ShiftMap& map, std::uint8_t* out, bool& fails)
{
    constexpr std::size_t kBlock = 16 * Group;  // units in, 16 * (Group - 1) out
    const Tables t = MakeTables(map);
    constexpr auto& masks = kShuffle<Group>;
    const v128_t zero = wasm_i64x2_splat(0);
    v128_t failed = zero;
    std::size_t done = 0;
    for (; done + kBlock <= n; done += kBlock, in += kBlock) {
        v128_t bytes[Group + 1];
        for (std::size_t v = 0; v < Group; ++v)
            bytes[v] = wasm_u8x16_narrow_i16x8(wasm_v128_load(in + 16 * v), wasm_v128_load(in + 16 * v + 8));
        bytes[Group] = zero;
        for (std::size_t k = 0; k < Group - 1; ++k, out += 16) {
            const v128_t kept = Lookup(
                t, wasm_v128_or(wasm_i8x16_swizzle(bytes[masks.first[k]], wasm_v128_load(masks.a[k].data())),
                                wasm_i8x16_swizzle(bytes[masks.first[k] + 1], wasm_v128_load(masks.b[k].data()))));
            if constexpr (CheckFails) failed = wasm_v128_or(failed, wasm_i8x16_eq(kept, zero));
            wasm_v128_store(out, kept);
        }
    }
    fails = fails || wasm_v128_any_true(failed);
    return done;
}

}  // namespace
}  // namespace wasm

const KernelTable kSimd128Kernels = {
    {&wasm::Simd128Blocks<2, false>, &wasm::Simd128Blocks<3, false>, &wasm::Simd128Blocks<4, false>},
    {&wasm::Simd128Blocks<2, true>, &wasm::Simd128Blocks<3, true>, &wasm::Simd128Blocks<4, true>},
    nullptr,
};

}  // namespace ravelon::detail
