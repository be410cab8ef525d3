#pragma once

// The hot loops behind StripCode, ShiftDecode and DecryptRequest.

#include <array>
#include <cstdint>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "decoder/cipher_tables.h"
#include "decoder/decrypted_text.h"

namespace ravelon::detail {

// Every alphabet symbol is below U+0100, so all units from there up decode
// alike: they share the last slot.
inline constexpr std::size_t kOutsideSlot = 256;

// What one shift does to every code unit, built once per request.
struct ShiftMap {
    static constexpr char16_t kFails = 0;  // NUL is no symbol of the alphabet

    std::array<char16_t, kOutsideSlot + 1> decoded{};
    std::array<std::uint8_t, kOutsideSlot + 1> decodedBytes{};  // the same, when it fitsBytes
    bool canFail = false;
    bool fitsBytes = false;  // every unit decodes to one below U+0100
    bool fitsVectorTables = false;

    char16_t operator()(char16_t unit) const { return decoded[unit < kOutsideSlot ? unit : kOutsideSlot]; }
};

ShiftMap MakeShiftMap(int shift, const CipherTables& tables);

// The same, kept from the last request on this thread: an address is used for
// many codes.
const ShiftMap& ShiftMapFor(int shift, const CipherTables& tables);

// The scheme whose tag opens `code`, if any.
std::optional<Position> MatchScheme(std::u16string_view code, const CipherTables& tables);

std::u16string_view BodyOf(std::u16string_view code);

// How many of `bodyLength` units survive when every (spacing + 1)-th is a filler.
std::size_t KeptLength(std::size_t bodyLength, int spacing);

// Writes the kept units of `body`, shifted through `map`, to `out`
// (KeptLength units). spacing 0 keeps every unit. Returns false when a unit
// falls outside the alphabet; `out` is then garbage.
bool StripShift(std::u16string_view body, int spacing, const ShiftMap& map, char16_t* out);

// Strips and shifts `body`, and turns each newline marker into CR LF, left to
// right without overlaps: the whole plain text, in `plain`. Returns false
// when a unit falls outside the alphabet; `plain` is then garbage.
bool DecodePlainText(std::u16string_view body, int spacing, const ShiftMap& map, DecryptedText& plain);

// The text is decoded a chunk at a time, one byte a unit, into a buffer that
// stays in the L1 cache: at most this many kept units a chunk.
inline constexpr std::size_t kChunkBytes = 12288;

inline constexpr std::size_t kMarkerLength = 13;  // ###NEWLINE###

// How far decoded bytes were turned into text, each marker as CR LF.
struct Walked {
    std::size_t used = 0;      // bytes
    std::size_t produced = 0;  // units of text
    bool finished = false;     // false: the text ran out of room
};

// Room a walk needs beyond the text it has written, and readable bytes it
// needs beyond the bytes it is given.
inline constexpr std::size_t kWalkSlack = 160;

// The leftmost whole marker that starts at or after `from`, or `end`.
const char16_t* FindMarker(const char16_t* from, const char16_t* end);

}  // namespace ravelon::detail
