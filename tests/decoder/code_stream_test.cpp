#include <gtest/gtest.h>

#include "decoder/code_stream.h"
#include "decoder/decode_error.h"
#include "tests/decoder/every_kernel_path.h"
#include "tests/decoder/random_inputs.h"
#include "tests/decoder/reference_decoder.h"

namespace ravelon::testing {
namespace {

// The whole request as a stream would serve it: the tag first, then the body
// in pieces of random sizes, markers and groups falling across them.
Outcome StreamedRequest(std::u16string_view address, std::u16string_view code, std::mt19937& rng,
                        std::size_t longestPiece = 40)
{
    Outcome outcome;
    const std::optional<int> spacing = SchemeSpacing(code);
    if (!spacing) {
        outcome.warnings.push_back({u"Invalid Code!", WarningIcon::Exclamation});
        outcome.text = u"";
        return outcome;
    }
    try {
        CodeStream stream(ShiftOf(address.size()), *spacing);
        std::u16string plain;
        std::u16string_view body = code.size() > 5 ? code.substr(5) : std::u16string_view{};
        while (!body.empty()) {
            const std::size_t piece = std::min<std::size_t>(body.size(), std::uniform_int_distribution<std::size_t>(0, longestPiece)(rng));
            stream.Feed(body.substr(0, piece), plain);
            body.remove_prefix(piece);
        }
        stream.Finish(plain);
        outcome.text = plain;
    } catch (const OverflowError&) {
        outcome.failure = Failure::Overflow;
    } catch (const OutOfRangeError&) {
        outcome.failure = Failure::OutOfRange;
    }
    return outcome;
}

TEST(CodeStream, PieceByPieceGivesWhatTheWholeRequestGives)
{
    RandomInputs inputs(31);
    std::mt19937 rng(5);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string address(1 + static_cast<std::size_t>(i % 120), u'@');
        const std::u16string code = i % 3 == 0 ? inputs.Code() : inputs.EncodedCode(static_cast<int>(address.size()));
        if (code.empty()) continue;
        const Outcome whole = ReferenceRequest(address, code);
        ASSERT_EQ(StreamedRequest(address, code, rng), whole) << "code \"" << Printable(code) << '"';
    }
}

// Pieces many chunks long, which the vector paths decode a block at a time.
TEST(CodeStream, LongPiecesOnEveryPathGiveWhatTheWholeRequestGives)
{
    OnEveryKernelPath([](detail::KernelPath path) {
        RandomInputs inputs(77);
        std::mt19937 rng(9);
        for (int i = 0; i < 10; ++i) {
            const std::u16string address(1 + static_cast<std::size_t>(i * 37 % 190), u'@');
            std::u16string code = inputs.EncodedCode(static_cast<int>(address.size()));
            while (code.size() < 40000) code += inputs.EncodedCode(static_cast<int>(address.size())).substr(5);
            ASSERT_EQ(StreamedRequest(address, code, rng, 30000), ReferenceRequest(address, code))
                << detail::NameOf(path) << ", address length " << address.size();
        }
    });
}

TEST(CodeStream, LongestAddressShiftsAndOneMoreOverflows)
{
    EXPECT_EQ(ShiftOf(32767), 32767);
    EXPECT_THROW(ShiftOf(32768), OverflowError);
}

}  // namespace
}  // namespace ravelon::testing
