#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "decoder/detail/kernels.h"
#include "decoder/detail/vector_kernels.h"
#include "tests/row_name.h"

#include "tests/decoder/every_kernel_path.h"
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
    OnEveryKernelPath([](detail::KernelPath path) {
        RandomInputs inputs(4242);
        for (int i = 0; i < 1500; ++i) {
            const std::u16string address(1 + static_cast<std::size_t>(i % 190), u'@');
            std::u16string code = inputs.EncodedCode(static_cast<int>(address.size()));
            while (code.size() < 600 + static_cast<std::size_t>(i % 700)) code += inputs.EncodedCode(static_cast<int>(address.size())).substr(5);
            if (i % 5 == 0) code[5 + static_cast<std::size_t>(i) % (code.size() - 5)] = static_cast<char16_t>(i % 3 == 0 ? 0x60 : 0x100 + i);
            ASSERT_EQ(DecoderRequest(address, code), ReferenceRequest(address, code))
                << detail::NameOf(path) << ", address length " << address.size() << ", code \"" << Printable(code) << '"';
        }
    });
}

// The text is decoded a chunk at a time and sized from its start: markers on
// either side of a chunk's end, and texts whose later parts shrink more or
// less than their start, on every path.
TEST(Differential, EveryKernelPathAgreesAcrossChunksAndUnevenTexts)
{
    constexpr std::u16string_view kMarker = u"###NEWLINE###";
    const std::u16string prose = u"Your licence for 12 seats, \u00A3240. ";
    const auto repeat = [](std::u16string_view piece, std::size_t length) {
        std::u16string text;
        while (text.size() < length) text += piece;
        text.resize(length);
        return text;
    };
    struct Row {
        std::string name;
        std::u16string plain;
    };
    std::vector<Row> rows;
    for (std::size_t before = detail::kChunkBytes - 15; before <= detail::kChunkBytes + 2; ++before) {
        rows.push_back({"marker after " + std::to_string(before) + " units", repeat(prose, before) + std::u16string(kMarker) + u"end"});
        rows.push_back({"extra # after " + std::to_string(before) + " units", repeat(prose, before) + u"#" + std::u16string(kMarker)});
    }
    rows.push_back({"markers only, then prose", repeat(kMarker, 2 * detail::kChunkBytes) + repeat(prose, 2 * detail::kChunkBytes)});
    rows.push_back({"prose, then markers only", repeat(prose, 2 * detail::kChunkBytes) + repeat(kMarker, 2 * detail::kChunkBytes)});
    rows.push_back({"markers only", repeat(kMarker, 3 * detail::kChunkBytes)});
    rows.push_back({"markers only, then lines", repeat(kMarker, 2 * detail::kChunkBytes) + repeat(prose + std::u16string(kMarker), 3 * detail::kChunkBytes)});

    const std::u16string address(23, u'@');
    for (const Row& row : rows) {
        for (int scheme = 1; scheme <= 3; ++scheme) {
            const std::u16string code = Encode(row.plain, 23, scheme, u'~');
            const Outcome expected = ReferenceRequest(address, code);
            OnEveryKernelPath([&](detail::KernelPath path) {
                ASSERT_EQ(DecoderRequest(address, code), expected)
                    << detail::NameOf(path) << ", scheme " << scheme << ", " << row.name;
            });
        }
    }
}

// A walk that runs out of room stops within it, and the next goes on from
// where it stopped: short and long lines, and markers only, for every room
// near the least.
TEST(TextWalk, StaysWithinItsRoomAndGoesOnWhereItStopped)
{
    const std::string shortLine = "Your licence for 12 seats.";
    const std::string longLine = shortLine + " It covers every seat in the office, the laptops that go home at night, and the "
                                             "machines in the meeting rooms.";
    for (const std::string& line : {shortLine, longLine, std::string()}) {
        std::string text;
        std::u16string expected;
        while (text.size() < 3000) {
            text += line + "###NEWLINE###";
            expected += std::u16string(line.begin(), line.end()) + u"\r\n";
        }
        std::vector<std::uint8_t> bytes(text.begin(), text.end());
        bytes.resize(text.size() + detail::kWalkSlack, 0);
        OnEveryKernelPath([&](detail::KernelPath path) {
            if (!detail::HasTextWalk()) return;
            for (std::size_t room = detail::kWalkSlack; room < detail::kWalkSlack + 300; room += 7) {
                constexpr char16_t kUntouched = 0xFFFF;
                std::u16string walked;
                std::size_t used = 0;
                for (bool finished = false; !finished;) {
                    std::vector<char16_t> out(room + 256, kUntouched);
                    const detail::Walked w = detail::WalkTextBlocks(bytes.data() + used, text.size() - used, true, out.data(), room);
                    ASSERT_TRUE(std::all_of(out.begin() + static_cast<std::ptrdiff_t>(room), out.end(), [](char16_t c) { return c == kUntouched; }))
                        << detail::NameOf(path) << " wrote past a room of " << room;
                    ASSERT_GT(w.used, 0u) << detail::NameOf(path) << ", room " << room << " at " << used << " of " << text.size();
                    walked.append(out.data(), w.produced);
                    used += w.used;
                    finished = w.finished;
                }
                ASSERT_EQ(Printable(walked), Printable(expected)) << detail::NameOf(path) << ", room " << room;
            }
        });
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
