#include "decoder/cipher_tables.h"

namespace ravelon {

CipherTables BuildCipherTables()
{
    CipherTables tables;
    tables.SchemeTags = {u"qotmz", u"pulxa", u"ze4vb"};
    tables.FillerSpacing = {1, 2, 3};

    std::size_t next = 0;
    auto appendRange = [&](char16_t first, char16_t last) {
        for (char16_t c = first; c <= last; ++c) tables.Alphabet[next++] = c;
    };
    appendRange(u'a', u'z');
    appendRange(u'A', u'Z');
    appendRange(u'1', u'9');
    appendRange(u'0', u'0');
    for (char16_t c : std::u16string_view{u"!\"\u00A3$%^&*()-_=+[{]};:#~'@,.<>/?\\| "})
        tables.Alphabet[next++] = c;
    return tables;
}

const CipherTables& BuiltinCipherTables()
{
    static const CipherTables tables = BuildCipherTables();
    return tables;
}

std::optional<Position> SymbolIndex(std::u16string_view symbol, const CipherTables& tables)
{
    if (symbol.size() != 1) return std::nullopt;
    for (Position i = 1; i <= CipherTables::kAlphabetSize; ++i) {
        if (tables.SymbolAt(i) == symbol.front()) return i;
    }
    return std::nullopt;
}

}  // namespace ravelon
