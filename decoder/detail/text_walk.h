#pragma once

// Decoded bytes to text, a vector at a time, for any vector width (Lanes):
// shared by the instruction sets that have a walk of their own.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "decoder/detail/kernels.h"

namespace ravelon::detail {

// ---- Decoded bytes to text ----
//
// Two passes over a chunk's bytes: first where the markers are, read in fixed
// blocks, so that where the next block is read never waits for what this one
// held; then the runs between the markers, widened a vector at a time, with
// CR LF between them.

// Eight bytes as one little-endian word.
constexpr std::uint64_t Word(const char (&text)[9])
{
    std::uint64_t word = 0;
    for (int i = 7; i >= 0; --i) word = word << 8 | static_cast<std::uint8_t>(text[i]);
    return word;
}

inline bool MarkerStartsAt(const std::uint8_t* bytes)
{
    constexpr std::uint64_t kHead = Word("###NEWLI"), kTail = Word("WLINE###");
    std::uint64_t head, tail;
    std::memcpy(&head, bytes, 8);
    std::memcpy(&tail, bytes + kMarkerLength - 8, 8);
    return head == kHead && tail == kTail;
}

// A walk is written for any vector width through a Lanes class:
//   static constexpr std::size_t kWidth;                             bytes at a time, at most 64
//   static std::uint64_t Hashes(const std::uint8_t* bytes);          bit i: bytes[i] is '#'
//   static void Widen(const std::uint8_t* bytes, char16_t* out);     kWidth bytes to kWidth units

// The most bytes a walk is given: a chunk, and the start of a marker held
// from the chunk before.
constexpr std::size_t kMostWalked = kChunkBytes + kMarkerLength - 1;

// Where whole markers start among the first `settled` bytes, left to right
// without overlaps, into `starts`; returns how many.
template <class Lanes>
__attribute__((always_inline)) inline std::size_t FindMarkers(const std::uint8_t* bytes, std::size_t settled,
                                                              std::uint32_t* starts)
{
    constexpr std::size_t kBlock = Lanes::kWidth;
    std::size_t count = 0;
    std::size_t markedTo = 0;
    for (std::size_t p = 0; p < settled; p += kBlock) {
        std::uint64_t hashes = Lanes::Hashes(bytes + p);
        if (markedTo > p) hashes &= ~std::uint64_t{0} << (markedTo - p);
        while (hashes) {
            const std::size_t h = static_cast<std::size_t>(__builtin_ctzll(hashes));
            if (!MarkerStartsAt(bytes + p + h)) {
                hashes &= hashes - 1;
                continue;
            }
            starts[count++] = static_cast<std::uint32_t>(p + h);
            markedTo = p + h + kMarkerLength;
            hashes &= h + kMarkerLength < kBlock ? ~std::uint64_t{0} << (h + kMarkerLength) : 0;
        }
    }
    return count;
}

// The runs of bytes between the markers widened, each marker as CR LF. A
// run's last store reaches past it, and the next run or line break writes
// over that. Unless CheckRoom, the text has room for all of it.
template <class Lanes, bool CheckRoom>
__attribute__((always_inline)) inline Walked WidenRuns(const std::uint8_t* bytes, std::size_t settled,
                                                       const std::uint32_t* starts, std::size_t count, char16_t* out,
                                                       std::size_t room)
{
    constexpr std::size_t kBlock = Lanes::kWidth;
    Walked w;
    // Widens bytes from w.used up to `end`; false when the text ran out of room on the way.
    const auto run = [&](std::size_t end) __attribute__((always_inline))
    {
        for (; w.used < end; w.used += kBlock, w.produced += kBlock) {
            if (CheckRoom && room - w.produced < kWalkSlack) return false;
            Lanes::Widen(bytes + w.used, out + w.produced);
        }
        w.produced -= w.used - end;
        w.used = end;
        return !CheckRoom || room - w.produced >= kWalkSlack;
    };
    for (std::size_t i = 0; i < count; ++i) {
        if (!run(starts[i])) return w;
        out[w.produced] = u'\r';
        out[w.produced + 1] = u'\n';
        w.produced += 2;
        w.used += kMarkerLength;
    }
    if (w.used < settled && !run(settled)) return w;
    w.finished = true;
    return w;
}

template <class Lanes>
__attribute__((always_inline)) inline Walked WalkRuns(const std::uint8_t* bytes, std::size_t n, bool last,
                                                      char16_t* out, std::size_t room)
{
    const std::size_t settled = last ? n : n - std::min(n, kMarkerLength - 1);
    std::uint32_t starts[kMostWalked / kMarkerLength + 1];
    const std::size_t count = FindMarkers<Lanes>(bytes, settled, starts);
    // The text is never longer than its bytes.
    if (room >= settled + kWalkSlack) return WidenRuns<Lanes, false>(bytes, settled, starts, count, out, room);
    return WidenRuns<Lanes, true>(bytes, settled, starts, count, out, room);
}

}  // namespace ravelon::detail
