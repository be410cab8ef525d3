#include <gtest/gtest.h>

#include "decoder/detail/vector_kernels.h"
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

// Every path this CPU has, on codes long enough for many vector blocks and
// every length of tail after them.
TEST(Differential, EveryKernelPathAgreesOnLongCodes)
{
    const detail::KernelPath active = detail::ActiveKernelPath();
    for (const detail::KernelPath path : detail::kKernelPaths) {
        if (!detail::Available(path)) continue;
        detail::ForceKernelPath(path);
        RandomInputs inputs(4242);
        for (int i = 0; i < 1500; ++i) {
            const std::u16string address(1 + static_cast<std::size_t>(i % 190), u'@');
            std::u16string code = inputs.EncodedCode(static_cast<int>(address.size()));
            while (code.size() < 600 + static_cast<std::size_t>(i % 700)) code += inputs.EncodedCode(static_cast<int>(address.size())).substr(5);
            if (i % 5 == 0) code[5 + static_cast<std::size_t>(i) % (code.size() - 5)] = static_cast<char16_t>(i % 3 == 0 ? 0x60 : 0x100 + i);
            ASSERT_EQ(DecoderRequest(address, code), ReferenceRequest(address, code))
                << detail::NameOf(path) << ", address length " << address.size() << ", code \"" << Printable(code) << '"';
        }
    }
    detail::ForceKernelPath(active);
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
