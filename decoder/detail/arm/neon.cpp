// The AArch64 Advanced SIMD (NEON) path. Its structured loads split a block's
// units by their place in a scheme's group, so the fillers are simply not
// used and the kept units need no shuffle; the interleaving store puts them
// back in order. The lookup is three TBX over the alphabet's rows. NEON is
// part of every AArch64 CPU: this path is always there.

#include <arm_neon.h>

#include "decoder/detail/kernel_table.h"
#include "decoder/detail/text_walk.h"

namespace ravelon::detail {

namespace arm {
namespace {

// The alphabet's rows 0x20 to 0x7F (as every vector path holds them: a
// byte's row is its high nibble), the row of the pound sign, and what every
// other byte decodes to.
struct Tables {
    uint8x16x4_t low;    // 0x20 to 0x5F
    uint8x16x2_t high;   // 0x60 to 0x7F
    uint8x16_t poundRow; // 0xA0 to 0xAF: the pound sign among outside bytes
    uint8x16_t outside;
};

inline Tables MakeTables(const ShiftMap& map)
{
    static_assert(kRows == 6 && kFirstRow == 0x20);
    return {vld1q_u8_x4(&map.decodedBytes[kFirstRow]), vld1q_u8_x2(&map.decodedBytes[kFirstRow + 64]),
            vld1q_u8(&map.decodedBytes[kPound & 0xF0]), vdupq_n_u8(map.decodedBytes[kOutsideSlot])};
}

// TBX leaves a lane whose index lies beyond its table as it was, so each
// byte is answered by the one table it falls in, and any other keeps the
// outside byte it started with.
inline uint8x16_t Lookup(const Tables& t, uint8x16_t b)
{
    const uint8x16_t x = vsubq_u8(b, vdupq_n_u8(kFirstRow));
    uint8x16_t r = vqtbx4q_u8(t.outside, t.low, x);
    r = vqtbx2q_u8(r, t.high, veorq_u8(x, vdupq_n_u8(64)));
    return vqtbx1q_u8(r, t.poundRow, veorq_u8(b, vdupq_n_u8(kPound & 0xF0)));
}

// Eight groups of units, split by their place in the group (LD2/LD3/LD4).
template <std::size_t Group>
inline auto LoadGroups(const char16_t* in)
{
    const auto* units = reinterpret_cast<const std::uint16_t*>(in);
    if constexpr (Group == 2) return vld2q_u16(units);
    if constexpr (Group == 3) return vld3q_u16(units);
    if constexpr (Group == 4) return vld4q_u16(units);
}

// Sixteen groups' kept bytes, interleaved back into their order (ST1/ST2/ST3).
template <std::size_t Kept, class Vectors>
inline void StoreKept(std::uint8_t* out, const Vectors& kept)
{
    if constexpr (Kept == 1) vst1q_u8(out, kept.val[0]);
    if constexpr (Kept == 2) vst2q_u8(out, kept);
    if constexpr (Kept == 3) vst3q_u8(out, kept);
}

template <std::size_t Kept>
struct KeptVectors;
template <>
struct KeptVectors<1> {
    uint8x16_t val[1];
};
template <>
struct KeptVectors<2> : uint8x16x2_t {};
template <>
struct KeptVectors<3> : uint8x16x3_t {};

// Units are squeezed to bytes with unsigned saturation: from U+0100 up they
// become 0xFF, which is no symbol of the alphabet and decodes as they do.
template <std::size_t Group, bool CheckFails>
std::size_t NeonBlocks(const char16_t* in, std::size_t n, const ShiftMap& map, std::uint8_t* out, bool& fails)
{
    constexpr std::size_t kKept = Group - 1;
    constexpr std::size_t kBlock = 16 * Group;  // units in, 16 * kKept bytes out
    const Tables t = MakeTables(map);
    uint8x16_t failed = vdupq_n_u8(0);
    std::size_t done = 0;
    // Four blocks a turn of the loop (64 bytes out or more), to share its upkeep.
#pragma GCC unroll 4
    for (; done + kBlock <= n; done += kBlock, in += kBlock, out += 16 * kKept) {
        const auto first = LoadGroups<Group>(in);
        const auto second = LoadGroups<Group>(in + 8 * Group);
        KeptVectors<kKept> kept;
        for (std::size_t k = 0; k < kKept; ++k) {
            kept.val[k] = Lookup(t, vqmovn_high_u16(vqmovn_u16(first.val[k]), second.val[k]));
            if constexpr (CheckFails) failed = vorrq_u8(failed, vceqzq_u8(kept.val[k]));
        }
        StoreKept<kKept>(out, kept);
    }
    fails = fails || vmaxvq_u8(failed) != 0;
    return done;
}

// What the walk to text needs: 64 bytes at a time.
struct NeonLanes {
    static constexpr std::size_t kWidth = 64;
    // Bit i set where byte i is '#': each byte keeps its own bit, then three
    // pairwise additions gather the 64 bits into one word.
    static std::uint64_t Hashes(const std::uint8_t* bytes)
    {
        const uint8x16x4_t v = vld1q_u8_x4(bytes);
        const uint8x16_t hash = vdupq_n_u8('#');
        static constexpr std::uint8_t kBits[16] = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
        const uint8x16_t bits = vld1q_u8(kBits);
        uint8x16_t m[4];
        for (int i = 0; i < 4; ++i) m[i] = vandq_u8(vceqq_u8(v.val[i], hash), bits);
        const uint8x16_t pairs = vpaddq_u8(vpaddq_u8(m[0], m[1]), vpaddq_u8(m[2], m[3]));
        return vgetq_lane_u64(vreinterpretq_u64_u8(vpaddq_u8(pairs, pairs)), 0);
    }
    static void Widen(const std::uint8_t* bytes, char16_t* out)
    {
        const uint8x16x4_t v = vld1q_u8_x4(bytes);
        auto* units = reinterpret_cast<std::uint16_t*>(out);
        for (int i = 0; i < 4; ++i) {
            vst1q_u16(units + 16 * i, vmovl_u8(vget_low_u8(v.val[i])));
            vst1q_u16(units + 16 * i + 8, vmovl_high_u8(v.val[i]));
        }
    }
};

Walked NeonWalkText(const std::uint8_t* bytes, std::size_t n, bool last, char16_t* out, std::size_t room)
{
    return WalkRuns<NeonLanes>(bytes, n, last, out, room);
}

}  // namespace
}  // namespace arm

const KernelTable kNeonKernels = {
    {&arm::NeonBlocks<2, false>, &arm::NeonBlocks<3, false>, &arm::NeonBlocks<4, false>},
    {&arm::NeonBlocks<2, true>, &arm::NeonBlocks<3, true>, &arm::NeonBlocks<4, true>},
    &arm::NeonWalkText,
};

}  // namespace ravelon::detail
