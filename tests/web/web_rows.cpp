// The decoder's differential rows for the web edition's browser tests:
// addresses and codes at random, with what the reference decoder says the
// window must then show (its text, or its warnings), as JSON on stdout.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "decoder/code_stream.h"
#include "decoder/decode_error.h"
#include "tests/decoder/random_inputs.h"
#include "tests/decoder/reference_decoder.h"

namespace {

void PutString(std::u16string_view text)
{
    std::putchar('"');
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\')
            std::putchar(static_cast<char>(c));
        else
            std::printf("\\u%04X", static_cast<unsigned>(c));
    }
    std::putchar('"');
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace ravelon::testing;
    const int rows = argc > 1 ? std::atoi(argv[1]) : 40;
    std::printf("[\n");
    for (int row = 0; row < rows; ++row) {
        RandomInputs random(static_cast<std::uint32_t>(7000 + row));
        // Addresses a user types: letters, and lengths that give every shift.
        std::u16string address;
        for (std::size_t i = 1 + random.AddressLength() % 120; i > 0; --i) address += static_cast<char16_t>(u'a' + i % 26);
        std::u16string code = row % 4 == 3 ? random.Code() : random.EncodedCode(ravelon::ShiftOf(address.size()));
        // A system clipboard carries text, which has no lone surrogates.
        for (char16_t& c : code)
            if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        const Outcome outcome = ReferenceRequest(address, code);
        std::printf("{\"address\": ");
        PutString(address);
        std::printf(", \"code\": ");
        PutString(code);
        std::printf(", \"text\": ");
        if (outcome.text)
            PutString(*outcome.text);
        else
            std::printf("null");
        // A failure is told in a message box of its own, after any warnings.
        std::printf(", \"failure\": ");
        if (outcome.failure == Failure::None)
            std::printf("null");
        else
            std::printf("\"%s\"", outcome.failure == Failure::Overflow ? ravelon::OverflowError().what()
                                                                    : ravelon::OutOfRangeError().what());
        std::printf(", \"warnings\": [");
        for (std::size_t i = 0; i < outcome.warnings.size(); ++i) {
            if (i) std::printf(", ");
            PutString(outcome.warnings[i].message);
        }
        std::printf("]}%s\n", row + 1 < rows ? "," : "");
    }
    std::printf("]\n");
}
