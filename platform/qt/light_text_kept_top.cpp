// Where the big code box's view starts after an edit, as the toolkit's text
// edit keeps it: the number of the paragraph its first line is in and of the
// line in that paragraph, whatever they stand for after the edit.

#include "platform/line_breaks.h"
#include "platform/qt/light_text.h"

namespace ravelon::forms::qt {

bool LightText::StartsParagraph(std::size_t line) const
{
    return line == 0 || IsParagraphBreak(text_[lines_.Start(line) - 1]);
}

// Before an edit at `editAt`: the paragraph the view starts in (counted on
// from the edit, where it comes after it) and the line of it.
LightText::KeptTop LightText::KeepTop(std::size_t editAt)
{
    KeptTop kept;
    if (singleLine_ || !lines_.Exists(top_)) return kept;
    if (lines_.Start(top_) <= editAt) {
        // Every line before the first in view stays as it is: its paragraph
        // is found only if the edit takes that line away.
        kept.fromTopLine = true;
        kept.topGoesOn = !StartsParagraph(top_);
        return kept;
    }
    std::size_t first = top_;
    while (!StartsParagraph(first)) --first;
    kept.line = top_ - first;
    if (lines_.Start(first) > editAt) {
        std::size_t paragraphs = 0;
        for (std::size_t line = first; lines_.Start(line) > editAt; --line)
            paragraphs += StartsParagraph(line) ? 1U : 0U;
        kept.paragraphsAfterEdit = paragraphs;
    } else {
        kept.firstLine = first;
    }
    return kept;
}

// After the edit, the text edit's view starts at the same numbers, whatever
// they now stand for: past the paragraph's last line by one, its first line
// is the next paragraph's, placed as if it went on from that last line;
// farther past, the paragraph's top.
void LightText::PutBackTop(KeptTop kept, std::size_t editAt)
{
    if (kept.fromTopLine) {
        if (lines_.Exists(top_)) {
            // A line that went on from the one before now starts a paragraph:
            // its paragraph ends just before it.
            if (kept.topGoesOn && StartsParagraph(top_)) topCountedPastParagraph_ = true;
            return;
        }
        std::size_t first = top_;
        while (first > 0 && !lines_.Exists(first)) --first;
        while (!StartsParagraph(first)) --first;
        kept.line = top_ - first;
        kept.firstLine = first;
    }
    if (!kept.paragraphsAfterEdit && !kept.firstLine) return;
    std::size_t first = kept.firstLine.value_or(lines_.LineOf(editAt));
    std::size_t left = kept.paragraphsAfterEdit.value_or(0);
    for (; left > 0 && lines_.Exists(first + 1);)
        if (StartsParagraph(++first)) --left;
    if (left > 0) {  // that paragraph is gone: the view comes to the text's last page, no fraction over
        top_ = Filled(first);
        fracture_ = 0;
        return;
    }
    std::size_t lines = 1;
    while (lines <= kept.line && lines_.Exists(first + lines) && !StartsParagraph(first + lines)) ++lines;
    if (kept.line < lines) {
        top_ = first + kept.line;
    } else if (kept.line > lines) {
        // The view starts at the paragraph's top, then goes to the line its
        // numbers count to, as the text edit's scroll bar takes them.
        top_ = first;
        SetTop(InScrollRange(first + kept.line));
    } else if (!lines_.Exists(first + lines)) {
        top_ = InScrollRange(first + lines - 1);
        fracture_ = 0;
    } else {
        // One past the paragraph's end: the next paragraph's first line, as
        // if it went on from that end. Where paragraphs before it changed,
        // the text edit counts its lines anew and comes to that line, less
        // than a pixel away.
        top_ = first + lines;
        topCountedPastParagraph_ = true;
        if (kept.paragraphsAfterEdit) SetTop(top_);
    }
}

// A line the text edit's numbers count to, as its scroll bar holds them: no
// further than the first line of the text's last page.
std::size_t LightText::InScrollRange(std::size_t line)
{
    while (line > 0 && !lines_.Exists(line)) --line;
    return Filled(line);
}

}  // namespace ravelon::forms::qt
