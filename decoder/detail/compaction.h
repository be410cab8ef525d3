#pragma once

// Where a block's kept units go when the vector paths squeeze out a scheme's
// fillers: shared by every instruction set (x86/, wasm/).

#include <array>
#include <cstddef>
#include <cstdint>

namespace ravelon::detail {

// Where each kept unit of a block comes from: for an output vector of `width`
// bytes, the first of the two input vectors it takes bytes from, and for each
// byte its index in those two (width up: the second).
template <std::size_t Group, std::size_t Width>
struct Compaction {
    static constexpr std::size_t kKept = Group - 1;
    std::array<std::size_t, kKept> first{};
    std::array<std::array<std::uint8_t, Width>, kKept> index{};
};

template <std::size_t Group, std::size_t Width>
constexpr Compaction<Group, Width> MakeCompaction()
{
    Compaction<Group, Width> c;
    constexpr std::size_t kept = Group - 1;
    for (std::size_t k = 0; k < kept; ++k) {
        const auto unitOf = [&](std::size_t q) { return q / kept * Group + q % kept; };
        c.first[k] = unitOf(Width * k) / Width;
        for (std::size_t j = 0; j < Width; ++j) {
            const std::size_t offset = unitOf(Width * k + j) - Width * c.first[k];
            if (offset >= 2 * Width) throw "a kept unit beyond two vectors";
            c.index[k][j] = static_cast<std::uint8_t>(offset);
        }
    }
    return c;
}

// Compacting masks for a byte shuffle (PSHUFB, i8x16.swizzle): for each
// output vector, which bytes come from its first input vector (A) and which
// from the next (B); 0x80 takes none.
template <std::size_t Group>
struct ShuffleMasks {
    static constexpr std::size_t kKept = Group - 1;
    std::array<std::size_t, kKept> first{};
    std::array<std::array<std::uint8_t, 16>, kKept> a{}, b{};
};

template <std::size_t Group>
constexpr ShuffleMasks<Group> MakeShuffleMasks()
{
    constexpr auto c = MakeCompaction<Group, 16>();
    ShuffleMasks<Group> m;
    for (std::size_t k = 0; k < Group - 1; ++k) {
        m.first[k] = c.first[k];
        for (std::size_t j = 0; j < 16; ++j) {
            const std::uint8_t i = c.index[k][j];
            m.a[k][j] = i < 16 ? i : 0x80;
            m.b[k][j] = i >= 16 ? static_cast<std::uint8_t>(i - 16) : 0x80;
        }
    }
    return m;
}

template <std::size_t Group>
inline constexpr ShuffleMasks<Group> kShuffle = MakeShuffleMasks<Group>();

// Compacting masks for a shuffle within each 16-byte lane of 32 bytes (AVX2's
// PSHUFB): the kept bytes of each lane moved to its start, and how many there
// are. The lanes of `Group` such 32-byte pieces in a row differ by the place
// their groups start at.
template <std::size_t Group>
struct LaneMasks {
    std::array<std::array<std::uint8_t, 32>, Group> mask{};
    std::array<std::array<std::uint8_t, 2>, Group> kept{};
};

template <std::size_t Group>
constexpr LaneMasks<Group> MakeLaneMasks()
{
    LaneMasks<Group> m;
    for (std::size_t piece = 0; piece < Group; ++piece) {
        for (std::size_t lane = 0; lane < 2; ++lane) {
            std::size_t k = 0;
            for (std::size_t i = 0; i < 16; ++i)
                if ((32 * piece + 16 * lane + i) % Group != Group - 1)
                    m.mask[piece][16 * lane + k++] = static_cast<std::uint8_t>(i);
            m.kept[piece][lane] = static_cast<std::uint8_t>(k);
            for (; k < 16; ++k) m.mask[piece][16 * lane + k] = 0x80;
        }
    }
    return m;
}

template <std::size_t Group>
inline constexpr LaneMasks<Group> kLaneMasks = MakeLaneMasks<Group>();

}  // namespace ravelon::detail
