#pragma once

// What a line break is, in a box's exact text and in the toolkit's document,
// which keeps every kind of paragraph break as one separator.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ravelon::forms {

// The units a QTextDocument turns into a paragraph separator.
inline bool IsParagraphBreak(char16_t c)
{
    return c == u'\r' || c == u'\n' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

// What ends a line as shown: a paragraph break, or a line separator inside a paragraph.
inline bool IsLineBreak(char16_t c)
{
    return IsParagraphBreak(c) || c == 0x2028;
}

// A text's first line, as a single-line box keeps what is typed or pasted.
inline std::u16string_view FirstLine(std::u16string_view text)
{
    return text.substr(0, static_cast<std::size_t>(std::find_if(text.begin(), text.end(), IsLineBreak) - text.begin()));
}

// The units of the line break at `at`, or just before it (CR LF is one
// break); 0 where there is none.
std::size_t BreakAt(std::u16string_view text, std::size_t at);
std::size_t BreakBefore(std::u16string_view text, std::size_t at);

// The paragraph holding `at`: from after the paragraph break before it to the
// one that ends it (or the text's start and end), breaks left out.
std::pair<std::size_t, std::size_t> ParagraphAround(std::u16string_view text, std::size_t at);

// Positions in the exact text as its document counts them, and back.
std::size_t DocumentPosition(std::u16string_view text, std::size_t exact);
std::size_t ExactPosition(std::u16string_view text, std::size_t document);

// The text as its document holds it: each paragraph break one `separator`.
std::u16string AsInDocument(std::u16string_view text, char16_t separator = u'\x2029');

// The same mapping of positions for a text of any size: the text's CR LF
// pairs are found once, when first asked, and then kept as the text changes.
class DocumentPositions {
public:
    explicit DocumentPositions(const std::u16string& text) : text_(text) {}

    // After [at, at + removed) of the text was replaced with `inserted` units.
    void Edited(std::size_t at, std::size_t removed, std::size_t inserted);
    void Reset();

    std::size_t ToDocument(std::size_t exact) const;
    std::size_t ToExact(std::size_t document) const;

private:
    void Build() const;
    void FindPairs(std::size_t from, std::size_t to, std::vector<std::size_t>& into) const;

    const std::u16string& text_;
    mutable std::vector<std::size_t> pairs_;  // where the CR of each CR LF stands
    mutable bool built_ = false;
};

}  // namespace ravelon::forms
