#pragma once

// What the user and a screen reader (and an input method) can tell of a text
// box: its exact text, caret, anchor, first line in view, focus, what is told.

#include <QString>
#include <QWidget>
#include <cstddef>
#include <string>

#include "platform/forms.h"

namespace ravelon::testing {

struct Observed {
    std::u16string text;
    std::size_t anchor = 0, caret = 0;
    std::size_t firstInView = 0;
    bool focused = false;
    QString told;
    int toldCaret = 0, toldSelectionStart = 0, toldSelectionEnd = 0;
    QString toldLine, toldLineBefore, toldLineAfter;
    QString toldCharacter;
    QString menu;  // the context menu's actions, as shown, when it was opened
    // What an input method is told: the caret and anchor in the text around
    // the caret, that text, the selection and the caret's place.
    int inputMethodCaret = 0, inputMethodAnchor = 0;
    QString inputMethodAround;
    QString inputMethod;          // the selection and the caret's place
    int inputMethodCaretTop = 0;  // the caret's top in view; a pixel either way is the same place

    bool operator==(const Observed&) const = default;
};

std::string Describe(const Observed& o);
Observed Observe(QWidget* box, forms::TextBox& control);

}  // namespace ravelon::testing
