#include <gtest/gtest.h>

#include "tests/row_name.h"

#include "tests/decoder/random_inputs.h"
#include "tests/decoder/reference_decoder.h"

namespace ravelon::testing {
namespace {

TEST(Differential, FastDecoderAgreesWithTheWrittenRulesOnRandomRequests)
{
    RandomInputs inputs(20261208);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string address(inputs.AddressLength(), u'@');
        const std::u16string code = inputs.Code();
        ASSERT_EQ(DecoderRequest(address, code), ReferenceRequest(address, code))
            << "address length " << address.size() << ", code \"" << Printable(code) << '"';
    }
}

TEST(Differential, FastDecoderAgreesOnEncodedTextsWithMarkersAtEveryShiftUpTo200)
{
    RandomInputs inputs(7);
    for (int shift = 1; shift <= 200; ++shift) {
        for (int scheme = 1; scheme <= 3; ++scheme) {
            std::u16string plain;
            for (int piece = 0; piece < 20; ++piece)
                plain += piece % 3 == 0 ? u"###NEWLINE###" : u"The quick brown fox, \u00A3 5!";
            const std::u16string address(static_cast<std::size_t>(shift), u'x');
            const std::u16string code = Encode(plain, shift, scheme, static_cast<char16_t>(shift));
            ASSERT_EQ(DecoderRequest(address, code), ReferenceRequest(address, code))
                << "scheme " << scheme << " shift " << shift;
        }
    }
}

}  // namespace
}  // namespace ravelon::testing
