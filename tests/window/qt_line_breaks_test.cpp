// Positions as the toolkit's document counts them, kept across edits of a
// text of any size, held to a plain count from the text's start.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/line_breaks.h"

namespace ravelon::testing {
namespace {

using forms::DocumentPosition;
using forms::DocumentPositions;
using forms::ExactPosition;

std::u16string RandomBreaks(std::mt19937& random, std::size_t length)
{
    static constexpr char16_t kUnits[] = {u'a', u'b', u'\r', u'\n', u'\r', u'\n', 0x2029};
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) text += kUnits[random() % std::size(kUnits)];
    return text;
}

TEST(DocumentPositions, AgreeWithACountFromTheStartOverRandomEdits)
{
    std::mt19937 random(7);
    std::u16string text = RandomBreaks(random, 200);
    DocumentPositions positions(text);
    for (int edit = 0; edit < 400; ++edit) {
        const std::size_t at = random() % (text.size() + 1);
        const std::size_t removed = std::min<std::size_t>(random() % 6, text.size() - at);
        const std::u16string inserted = RandomBreaks(random, random() % 6);
        text.replace(at, removed, inserted);
        positions.Edited(at, removed, inserted.size());
        const std::size_t documentSize = DocumentPosition(text, text.size());
        for (std::size_t exact = 0; exact <= text.size(); ++exact)
            ASSERT_EQ(positions.ToDocument(exact), DocumentPosition(text, exact)) << "edit " << edit << " at " << exact;
        for (std::size_t document = 0; document <= documentSize; ++document)
            ASSERT_EQ(positions.ToExact(document), ExactPosition(text, document))
                << "edit " << edit << " at " << document;
    }
}

}  // namespace
}  // namespace ravelon::testing
