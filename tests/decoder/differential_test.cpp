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

TEST(Differential, FastDecoderAgreesOnEncodedTextsWithMarkersAndNearMisses)
{
    RandomInputs inputs(1208);
    int withLineBreaks = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::u16string address(1 + static_cast<std::size_t>(i % 190), u'@');
        const std::u16string code = inputs.EncodedCode(static_cast<int>(address.size()));
        const Outcome expected = ReferenceRequest(address, code);
        ASSERT_EQ(DecoderRequest(address, code), expected)
            << "address length " << address.size() << ", code \"" << Printable(code) << '"';
        withLineBreaks += expected.text && expected.text->find(u"\r\n") != std::u16string::npos;
    }
    EXPECT_GT(withLineBreaks, 5000) << "most requests must reach the marker scan's every path";
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
