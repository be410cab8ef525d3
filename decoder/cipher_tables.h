#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ravelon {

// Positions in the tables count from 1, as codes made elsewhere do.
using Position = std::int16_t;

struct CipherTables {
    static constexpr Position kSchemeCount = 3;
    static constexpr Position kTagLength = 5;
    static constexpr Position kAlphabetSize = 95;

    std::array<std::u16string_view, kSchemeCount> SchemeTags{};
    std::array<std::int16_t, kSchemeCount> FillerSpacing{};
    std::array<char16_t, kAlphabetSize> Alphabet{};

    std::u16string_view SchemeTagAt(Position position) const { return SchemeTags.at(Index(position)); }
    std::int16_t FillerSpacingAt(Position position) const { return FillerSpacing.at(Index(position)); }
    char16_t SymbolAt(Position position) const { return Alphabet.at(Index(position)); }

private:
    static std::size_t Index(Position position) { return static_cast<std::size_t>(position - 1); }
};

CipherTables BuildCipherTables();

// The tables every code is made with; the same entries BuildCipherTables gives.
const CipherTables& BuiltinCipherTables();

// The position of `symbol` in the alphabet, or none when it is not exactly one
// of its entries (any text that is not a single code unit is none).
std::optional<Position> SymbolIndex(std::u16string_view symbol, const CipherTables& tables);

}  // namespace ravelon
