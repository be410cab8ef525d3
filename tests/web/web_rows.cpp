// For the web edition's browser tests, as JSON on stdout: the decoder's
// differential rows (addresses and codes at random, with what the reference
// decoder says the window must then show: its text, or its warnings), a big
// code, and the window's design (where its controls must be).

#include <cstdio>
#include <cstdlib>
#include <string>

#include "decoder/code_stream.h"
#include "decoder/decode_error.h"
#include "tests/decoder/random_inputs.h"
#include "tests/decoder/reference_decoder.h"
#include "window/form1_layout.h"

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

void PutRows(int rows)
{
    using namespace ravelon::testing;
    std::printf("\"rows\": [\n");
    for (int row = 0; row < rows; ++row) {
        RandomInputs random(static_cast<std::uint32_t>(7000 + row));
        // Addresses a user types: letters, and lengths that give every shift.
        std::u16string address;
        for (std::size_t i = 1 + random.AddressLength() % 120; i > 0; --i)
            address += static_cast<char16_t>(u'a' + i % 26);
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
    std::printf("],\n");
}

// A code of about `units` for the address "me@mail.org", with its text.
void PutBig(std::size_t units)
{
    using namespace ravelon::testing;
    std::u16string plain;
    while (plain.size() < units) plain += u"A line of forty symbols, give or take.###NEWLINE###";
    const std::u16string code = Encode(plain, ravelon::ShiftOf(11), 3);
    std::printf("\"big\": {\"address\": \"me@mail.org\", \"code\": ");
    PutString(code);
    std::printf(", \"text\": ");
    PutString(*ReferenceRequest(u"me@mail.org", code).text);
    std::printf("},\n");
}

void PutDesign()
{
    std::printf("\"design\": {\"width\": %d, \"height\": %d, \"controls\": [", ravelon::kForm1Design.clientWidth,
                ravelon::kForm1Design.clientHeight);
    bool first = true;
    for (const auto& control : ravelon::kForm1Design.controls) {
        std::printf("%s{\"name\": \"%.*s\", \"kind\": %d, \"left\": %d, \"top\": %d, \"width\": %d, \"height\": %d}",
                    first ? "" : ", ", static_cast<int>(control.name.size()), control.name.data(),
                    static_cast<int>(control.kind), control.left, control.top, control.width, control.height);
        first = false;
    }
    std::printf("]}\n");
}

}  // namespace

int main(int argc, char** argv)
{
    std::printf("{\n");
    PutRows(argc > 1 ? std::atoi(argv[1]) : 40);
    PutBig(argc > 2 ? static_cast<std::size_t>(std::atol(argv[2])) : 1u << 19);
    PutDesign();
    std::printf("}\n");
}
