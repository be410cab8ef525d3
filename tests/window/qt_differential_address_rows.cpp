// The differential test's rows of the address box, kept as the code box's are.

#include "tests/window/qt_differential_kinds.h"
#include "tests/window/qt_differential_rows.h"

namespace ravelon::testing {

using namespace rows;

// clang-format off
std::vector<DifferentialRow> AddressBoxRows()
{
    return {
        DifferentialRow{"address_context_menu", "txtEmail", kAddress, 13, 300, kTyping + kMoving + MenuItems(2, 6) + MenuItems(2, 6)},
        DifferentialRow{"address_undo_and_redo_from_the_menu", "txtEmail", kAddress, 17, 300,
                        UndoingFromKeysAndMenu() + kEditing},
        // A caret brought to the left edge by an undo, the text's end short of the right edge: the
        // line edit aligns the end to the right edge at its next paint (action 1251).
        DifferentialRow{"address_scrolled_where_the_line_edit_settles", "txtEmail", kAddress, 117, 1252,
                        UndoingFromKeysAndMenu() + kEditing},
        // The menu's Delete ends the typing after it, where the Delete key leaves it open (action 59).
        DifferentialRow{"address_menu_delete_ends_the_typing", "txtEmail", kAddress, 1517, 60,
                        UndoingFromKeysAndMenu() + kEditing},
        DifferentialRow{"address_undo_of_replaced_selections", "txtEmail", kAddress, 14, 300, ReplacingSelections()},
        DifferentialRow{"address_undo_and_redo", "txtEmail", kAddress, 15, 300, UndoingAndRedoing()},
        DifferentialRow{"address_undo_and_redo_with_clicks", "txtEmail", kAddress, 16, 300, UndoingAndRedoingWithClicks()},
        // The line edit's redo puts back the caret (and selection) its mark before the next step
        // holds: one unit into that step's text (action 44).
        DifferentialRow{"address_redo_puts_back_the_caret_the_next_step_began_with", "txtEmail", kAddress, 3115, 45,
                        UndoingAndRedoing()},
        // Ctrl+Delete that leaves nothing selected deletes the character after, and the Deletes
        // after it join it (action 79).
        DifferentialRow{"address_ctrl_delete_of_a_character_joined_by_deletes", "txtEmail", kAddress, 2915, 80,
                        UndoingAndRedoing()},
        // Typing after an undo joins the typing it follows on, whatever else was typed and
        // undone between (action 238).
        DifferentialRow{"address_typing_after_an_undo_joins_where_it_follows_on", "txtEmail", kAddress, 515, 239,
                        UndoingAndRedoing()},
        // A double click that selects no more than where the caret was still ends the typing (action 55).
        DifferentialRow{"address_double_click_ends_the_typing", "txtEmail", kAddress, 3116, 56,
                        UndoingAndRedoingWithClicks()},
        // A click the line edit takes as a third one selects all, and so ends the typing (action 2891).
        DifferentialRow{"address_third_click_ends_the_typing", "txtEmail", kAddress, 21316, 2900,
                        UndoingAndRedoingWithClicks()},
        // A paste ends the typing after it too: its redo goes on to the mark before that typing (action 56).
        DifferentialRow{"address_paste_ends_the_typing_after_it", "txtEmail", kAddress, 2616, 57,
                        UndoingAndRedoingWithClicks()},
        // An undo does not end the line edit's typing: what is typed next joins the typing the undo
        // left on top (action 24), unless that typing had ended, the caret moved away, before the
        // undone step (action 82).
        DifferentialRow{"address_typing_after_an_undo_joins_the_typing_left_on_top", "txtEmail", kAddress, 3714, 25,
                        ReplacingSelections()},
        DifferentialRow{"address_undo_of_a_step_begun_anew_ends_the_typing", "txtEmail", kAddress, 2314, 83,
                        ReplacingSelections()},
        // The first line of a clipboard of lines goes in as a paste does, an undo step of its own:
        // the selection deleted before it comes back with a second undo (action 22).
        DifferentialRow{"address_first_line_of_a_paste_undone_alone", "txtEmail", kAddress, 114, 22, ReplacingSelections()},
        // The line edit undoes Backspaces and Deletes at one place in steps apart (action 10).
        DifferentialRow{"address_backspace_then_delete_undone_apart", "txtEmail", kAddress, 114, 21, ReplacingSelections()},
        DifferentialRow{"address_typing_moving_and_clipboard", "txtEmail", kAddress, 5, 600,
                        kTyping + kMoving + kEditing + kWords},
        // An address longer than it is laid out around the caret: it scrolls by the whole
        // pixels of the whole line, and a click right of the caret finds the text there.
        DifferentialRow{"address_longer_than_the_reach", "txtEmail", LongAddress(), 124, 600,
                        kTyping + kMoving + kWords + kClicks + kEditing},
        // The caret's place there is found with the text after it, kerned (action 13).
        DifferentialRow{"address_caret_placed_with_the_text_after_it", "txtEmail", LongAddress(), 324, 20,
                        kTyping + kMoving + kWords + kClicks + kEditing},
        DifferentialRow{"address_composing", "txtEmail", kAddress, 19, 300, kTyping + kMoving + kComposing},
        DifferentialRow{"address_right_to_left", "txtEmail", RightToLeft().substr(32, 21), 21, 300,
                        kTyping + kMoving + kWords + kClicks},
        DifferentialRow{"address_right_to_left_scrolled", "txtEmail", RightToLeftLine(), 22, 300,
                        kTyping + kMoving + kWords + kClicks},
        // The line edit selects all at every click near a double click soon after, a third or a
        // fourth (action 208).
        DifferentialRow{"address_clicks_after_a_double_click_select_all", "txtEmail", RightToLeft().substr(32, 21), 221,
                        208, kTyping + kMoving + kWords + kClicks},
        // Ctrl+Delete in the line edit moves the caret to the next word's start, keeping the
        // selection's anchor, and deletes the character after it when that leaves nothing
        // selected (action 273).
        DifferentialRow{"address_ctrl_delete_from_a_selection", "txtEmail", RightToLeftLine(), 122, 273,
                        kTyping + kMoving + kWords + kClicks},
        // Longer than the line laid out around the caret: laid out whole, to be placed by its left end.
        DifferentialRow{"address_right_to_left_longer_than_the_reach", "txtEmail", RightToLeftLine(60), 23, 300,
                        kTyping + kMoving + kWords + kClicks},
        // A line of left-to-right text with right-to-left runs, laid out from a unit not far before the caret:
        // a right-to-left run cut there would be ordered otherwise than in the whole line (action 28).
        DifferentialRow{"address_laid_out_from_after_a_left_to_right_letter", "txtEmail", RightToLeftLine(60), 1623, 29,
                        kTyping + kMoving + kWords + kClicks},
        DifferentialRow{"address_double_and_triple_clicks", "txtEmail", kAddress, 10, 300, kTyping + kMoving + kClicks},
        // The line edit scrolls by its text's width alone, without the font's bearings: a text
        // just narrower than the box stays at its start (action 94), and one scrolled to its
        // end keeps its last letter at the right edge (action 481 of the row below).
        DifferentialRow{"address_just_narrower_than_the_box", "txtEmail", kAddress, 106, 94,
                        kMoving + KeyPresses({Qt::Key_V}, Qt::ControlModifier) + std::vector<Action>{Of(Action::kCommit, {}, QStringLiteral("x\ny"))}},
        DifferentialRow{"address_scrolled_to_its_end_then_shortened", "txtEmail", kAddress, 105, 481,
                        kTyping + kMoving + kEditing + kWords},
        // The clipboard keeps its two lines: each paste keeps the first, as does a commit of two lines.
        DifferentialRow{"address_pasting_lines", "txtEmail", kAddress, 6, 200,
                        kMoving + KeyPresses({Qt::Key_V}, Qt::ControlModifier) + std::vector<Action>{Of(Action::kCommit, {}, QStringLiteral("x\ny"))}}};
}
// clang-format on

}  // namespace ravelon::testing
