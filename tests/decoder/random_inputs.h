#pragma once

// Inputs that look like what a user pastes and what an attacker would: valid
// and broken tags, marker fragments, code units outside the alphabet.

#include <random>
#include <string>

#include "tests/decoder/reference_decoder.h"

namespace ravelon::testing {

class RandomInputs {
public:
    explicit RandomInputs(std::uint32_t seed) : rng_(seed) {}

    std::size_t AddressLength()
    {
        switch (Pick(10)) {
            case 0: return 32767 - Pick(3);
            case 1: return 32768 + Pick(2);
            case 2: return Pick(2);  // empty now and then
            default: return 1 + Pick(200);
        }
    }

    std::u16string Code()
    {
        static constexpr std::u16string_view kTags[] = {u"qotmz", u"pulxa", u"ze4vb", u"qotm", u"Qotmz", u" qotmz", u""};
        std::u16string code(kTags[Pick(10) < 8 ? Pick(3) : Pick(std::size(kTags))]);
        const std::size_t length = Pick(4) == 0 ? Pick(4) : Pick(300);
        while (code.size() < length) code += Piece();
        return code;
    }

    // Plain text with newline markers and near misses of them (a number sign
    // too many or too few, lower case, one letter off, two markers sharing
    // their number signs) at random places among ordinary symbols.
    std::u16string PlainWithMarkers()
    {
        static constexpr std::u16string_view kPieces[] = {
            u"###NEWLINE###", u"###NEWLINE###", u"###NEWLINE###", u"##NEWLINE###", u"####NEWLINE###",
            u"###NEWLINE##",  u"###NEWLINE####", u"###newline###", u"###NEWLINe###", u"###NEW LINE###",
            u"###NEWLINE###NEWLINE###", u"######NEWLINE###", u"#", u"##", u"###", u"NEWLINE"};
        std::u16string plain;
        const std::size_t pieces = Pick(12);
        for (std::size_t i = 0; i < pieces; ++i) {
            if (Pick(2) == 0) plain += kPieces[Pick(std::size(kPieces))];
            for (std::size_t k = Pick(6); k > 0; --k) plain += kReferenceAlphabet[Pick(kReferenceAlphabet.size())];
        }
        return plain;
    }

    // A code made from such a text, as the other side makes codes: scheme,
    // shift and filler at random.
    std::u16string EncodedCode(int shift)
    {
        const char16_t filler = Pick(4) == 0 ? u'\n' : kReferenceAlphabet[Pick(kReferenceAlphabet.size())];
        return Encode(PlainWithMarkers(), shift, static_cast<int>(1 + Pick(3)), filler);
    }

private:
    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

    std::u16string Piece()
    {
        static constexpr char16_t kHostile[] = {0x0000, u'\r', u'\n', u'`', u'\t', 0x00A0, 0x2028, 0xD800,
                                                0xDFFF, 0xFFFF, 0x0100, 0x00FF, 0x00A3, 0xFEFF};
        switch (Pick(8)) {
            case 0: return {kHostile[Pick(std::size(kHostile))]};
            case 1: return std::u16string(u"###NEWLINE###").substr(Pick(13));
            case 2: return std::u16string(Pick(4), u'#');
            case 3: return {static_cast<char16_t>(Pick(0x10000))};
            default: return {kReferenceAlphabet[Pick(kReferenceAlphabet.size())]};
        }
    }

    std::mt19937 rng_;
};

}  // namespace ravelon::testing
