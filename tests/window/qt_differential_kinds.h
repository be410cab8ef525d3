#pragma once

// What the differential test's rows are made of: the sets of actions a run
// draws from, and the texts a box starts with.

#include <QString>
#include <string>
#include <vector>

#include "tests/window/qt_box_actions.h"

namespace ravelon::testing::rows {

// Actions the two boxes answer alike.
inline const std::vector<Action> kTyping =
    KeyPresses({Qt::Key_A, Qt::Key_Space, Qt::Key_Comma, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete}) +
    std::vector<Action>{Of(Action::kCommit, {}, QStringLiteral("\u00e9t\u00e9"))};
inline const std::vector<Action> kMoving =
    KeyPresses({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}) +
    KeyPresses({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}, Qt::ShiftModifier) +
    KeyPresses({Qt::Key_Home, Qt::Key_End}, Qt::ControlModifier) +
    KeyPresses({Qt::Key_Home, Qt::Key_End}, Qt::ControlModifier | Qt::ShiftModifier);
inline const std::vector<Action> kEditing =
    KeyPresses({Qt::Key_A, Qt::Key_C, Qt::Key_X, Qt::Key_V}, Qt::ControlModifier);
inline const std::vector<Action> kWords =
    KeyPresses({Qt::Key_Left, Qt::Key_Right, Qt::Key_Backspace, Qt::Key_Delete}, Qt::ControlModifier) +
    KeyPresses({Qt::Key_Left, Qt::Key_Right}, Qt::ControlModifier | Qt::ShiftModifier);
inline const std::vector<Action> kUndo = KeyPresses({Qt::Key_Z, Qt::Key_Y}, Qt::ControlModifier) +
                                         KeyPresses({Qt::Key_Z}, Qt::ControlModifier | Qt::ShiftModifier);
inline const std::vector<Action> kBreaks = KeyPresses({Qt::Key_Return}, Qt::ShiftModifier) +
                                           KeyPresses({Qt::Key_Return}, Qt::ControlModifier) +
                                           KeyPresses({Qt::Key_Tab});
inline const std::vector<Action> kMouse = {Of(Action::kClick), Of(Action::kClick, Qt::ShiftModifier),
                                           Of(Action::kDoubleClick)};
// Clicks, Shift+clicks and drags after them: selecting by words after a double
// click, by paragraphs after a triple click.
inline const std::vector<Action> kSelecting = kTyping + kMoving +
                                              std::vector<Action>{Of(Action::kClick),
                                                                  Drag(2),
                                                                  Drag(2),
                                                                  Drag(3),
                                                                  Of(Action::kDoubleClick),
                                                                  Of(Action::kClick, Qt::ShiftModifier),
                                                                  Of(Action::kClick, Qt::ShiftModifier)};
// Typing and moving between clicks, triple clicks and Shift+clicks.
inline const std::vector<Action> kTripleClicksAndShiftClicks =
    kTyping + kMoving +
    std::vector<Action>{Of(Action::kClick), Of(Action::kTripleClick), Of(Action::kClick, Qt::ShiftModifier),
                        Of(Action::kClick, Qt::ShiftModifier)};
inline const std::vector<Action> kComposing = {
    Of(Action::kCompose, {}, QStringLiteral("n")), Of(Action::kCompose, {}, QStringLiteral("ni")),
    Of(Action::kCompose, {}, QString()), Of(Action::kCommit, {}, QStringLiteral("ni\u00f1o"))};
inline const std::vector<Action> kClicks = {Of(Action::kClick), Of(Action::kDoubleClick), Of(Action::kTripleClick)};
inline const std::vector<Action> kWheel = {Wheel(-120), Wheel(120)};
inline const std::vector<Action> kPages =
    KeyPresses({Qt::Key_PageUp, Qt::Key_PageDown}) + KeyPresses({Qt::Key_PageUp, Qt::Key_PageDown}, Qt::ShiftModifier) +
    std::vector<Action>{Wheel(-120, Qt::ControlModifier), Wheel(120, Qt::ShiftModifier), Wheel(-60, Qt::ShiftModifier)};

inline std::u16string Paragraphs()
{
    return u"one, two! three. four five six seven eight nine ten eleven twelve\r\n"
           u"short\nlone lf\rlone cr\r\n\r\n"
           u"caf\u00e9 na\u0308ive \U0001F600 smile \U0001F468\u200D\U0001F469\u200D\U0001F467 family "
           u"\U0001F1EB\U0001F1F7 end\r\n"
           u"averyveryveryveryveryveryveryveryveryveryveryveryverylongwordthatmustwrap tail\r\n"
           u"last line";
}

// Paragraphs that wrap, so that the first line in view often continues one.
inline std::u16string WrappedParagraphs()
{
    std::u16string text;
    for (int i = 0; i < 8; ++i)
        text +=
            u"a paragraph long enough to wrap over two or three lines of the box, with words of every length "
            u"and some more words\r\nshort\r\n";
    return text;
}

// Paragraphs of many lines between short ones, so that an edit may leave the
// line in view past a paragraph's new end.
inline std::u16string LongParagraphs()
{
    std::u16string text;
    for (int i = 0; i < 6; ++i) {
        for (int words = 0; words < 3 + 4 * (i % 3); ++words) text += u"some words of a long paragraph ";
        text += u"end\r\nshort\r\n";
    }
    return text;
}

// Right-to-left runs in left-to-right paragraphs and paragraphs of their own, one wrapping.
inline std::u16string RightToLeft()
{
    return u"mixed \u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD, then 123 more\r\n"
           u"\u05E9\u05DC\u05D5\u05DD abc \u05D3\u05D4\u05D5 12 \u0645\u0631\u062D\u0628\u0627\r\n"
           u"\u05D0\u05D1\u05D2\u05D3 \u05D4\u05D5\u05D6 \u05D7\u05D8\u05D9 \u05DB\u05DC\u05DE \u05E0\u05E1\u05E2 "
           u"\u05E4\u05E6\u05E7 \u05E8\u05E9\u05EA \u05D0\u05D1 \u05D2\u05D3\u05D4 \u05D5\u05D6 "
           u"\u05D7\u05D8\u05D9\u05DB \u05DC\u05DE\r\n"
           u"\u05D0\u05D1\u05D2 latin words wrapping in a paragraph that starts right to left, its lines "
           u"starting with either\r\n"
           u"left to right, then \u05D0\u05D1\u05D2\u05D3 \u05D4\u05D5\u05D6 \u05D7\u05D8\u05D9 \u05DB\u05DC\u05DE "
           u"\u05E0\u05E1\u05E2 \u05E4\u05E6\u05E7 \u05E8\u05E9\u05EA \u05D0\u05D1 \u05D2\u05D3\u05D4 \u05D5\u05D6 "
           u"\u05D7\u05D8\u05D9\u05DB \u05DC\u05DE \u05E0\u05E1\u05E2\r\n"
           u"last";
}

// A right-to-left line wider than the address box, `times` of them.
inline std::u16string RightToLeftLine(int times = 4)
{
    const std::u16string paragraph = RightToLeft().substr(32, 21);
    std::u16string line = paragraph;
    for (int i = 1; i < times; ++i) line += u' ' + paragraph;
    return line;
}

inline const std::u16string kAddress = u"someone.else@example.com";

inline std::u16string LongAddress()
{
    std::u16string address;
    for (int i = 0; i < 220; ++i) address += u"word, Wide.mm ";
    return address;
}

// Typing and moving, with undo and redo from the keys and from the context menu.
inline std::vector<Action> UndoingFromKeysAndMenu()
{
    return kTyping + kMoving + kUndo + MenuItems(0, 6) + MenuItems(0, 6);
}

inline std::vector<Action> UndoAndRedoOfTyping()
{
    return KeyPresses({Qt::Key_A, Qt::Key_B, Qt::Key_Backspace, Qt::Key_Left}) +
           KeyPresses({Qt::Key_Z, Qt::Key_Y}, Qt::ControlModifier);
}

// Pages and the wheel, with edits where the caret was left out of view.
inline std::vector<Action> ScrollingAndEditing()
{
    return kPages + kWheel + KeyPresses({Qt::Key_Up, Qt::Key_Down, Qt::Key_A, Qt::Key_Return, Qt::Key_Backspace});
}

inline std::vector<Action> EndsAndWordDeletes()
{
    return KeyPresses({Qt::Key_Up, Qt::Key_Down, Qt::Key_End}) +
           KeyPresses({Qt::Key_End, Qt::Key_Delete}, Qt::ControlModifier);
}

inline std::vector<Action> ReplacingSelections()
{
    return KeyPresses({Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End}, Qt::ShiftModifier) +
           KeyPresses({Qt::Key_Left, Qt::Key_Right, Qt::Key_A, Qt::Key_Delete, Qt::Key_Backspace}) +
           KeyPresses({Qt::Key_X, Qt::Key_V, Qt::Key_Z}, Qt::ControlModifier);
}

// Edits undone and redone in every order, with what puts a line edit's marks
// in its history between them: moves, selections, pastes, clicks.
inline std::vector<Action> UndoingAndRedoing()
{
    return kTyping + kMoving + kEditing + kUndo + kComposing + kWords + ReplacingSelections();
}
inline std::vector<Action> UndoingAndRedoingWithClicks()
{
    return kTyping + kMoving + kEditing + kUndo + kClicks + kMouse;
}

}  // namespace ravelon::testing::rows
