// Input: two bytes of address length, then the code as little-endian UTF-16.
// The decoder must agree with the written rules, and never crash.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/decoder/reference_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    // Mostly short addresses, and the neighbourhood of the longest one.
    const unsigned raw = static_cast<unsigned>(data[0] | data[1] << 8);
    const std::size_t length = raw & 0x8000 ? 32767 - 8 + (raw & 15) : raw % 300;

    std::u16string code((size - 2) / 2, u'\0');
    std::memcpy(code.data(), data + 2, code.size() * sizeof(char16_t));
    const std::u16string address(length, u'e');

    using namespace ravelon::testing;
    if (!(DecoderRequest(address, code) == ReferenceRequest(address, code))) std::abort();
    return 0;
}
