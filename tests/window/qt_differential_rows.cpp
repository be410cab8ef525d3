// The differential test's rows of the code box: a failing seed found by a long
// run is kept as a row of its own, with the action it failed at.

#include "tests/window/qt_differential_kinds.h"
#include "tests/window/qt_differential_rows.h"

#include <utility>

namespace ravelon::testing {

using namespace rows;

const std::vector<DifferentialRow>& DifferentialRows()
{
    static const std::vector<DifferentialRow> all = [] {
        std::vector<DifferentialRow> both = CodeBoxRows();
        for (DifferentialRow& row : AddressBoxRows()) both.push_back(std::move(row));
        return both;
    }();
    return all;
}

// clang-format off
std::vector<DifferentialRow> CodeBoxRows()
{
    return {
        DifferentialRow{"code_typing_and_moving", "txtDecrypt", Paragraphs(), 1, 600, kTyping + kMoving + kWords},
        // Ctrl+Backspace (action 271) or Ctrl+Delete (action 55) with no word to delete still takes the caret's place
        // across anew.
        DifferentialRow{"code_word_deleted_before_nothing_takes_the_place_across_anew", "txtDecrypt", Paragraphs(), 2201,
                        273, kTyping + kMoving + kWords},
        DifferentialRow{"code_word_deleted_after_nothing_takes_the_place_across_anew", "txtDecrypt", Paragraphs(), 21, 56,
                        EndsAndWordDeletes()},
        // Up to a wrapped line that ends with a flag, right of its text: before the whole flag (action 128).
        DifferentialRow{"code_up_right_of_a_wrapped_line_stays_before_its_last_cluster", "txtDecrypt", Paragraphs(), 17,
                        129, EndsAndWordDeletes()},
        // Up to a wrapped line, right of its text but over the space it ends with: before that space (action 142).
        DifferentialRow{"code_up_right_of_a_wrapped_lines_text_stays_before_its_space", "txtDecrypt", Paragraphs(), 2,
                        143, EndsAndWordDeletes()},
        DifferentialRow{"code_clipboard_and_undo", "txtDecrypt", Paragraphs(), 2, 600, kTyping + kMoving + kEditing + kUndo},
        // Down from the box's edge to a last line whose space runs on past it: after that space (action 91).
        DifferentialRow{"code_down_to_a_space_past_the_edge_goes_after_it", "txtDecrypt", Paragraphs(), 3002, 92,
                        kTyping + kMoving + kEditing + kUndo},
        DifferentialRow{"code_line_breaks_of_every_kind", "txtDecrypt", Paragraphs(), 3, 400, kTyping + kMoving + kBreaks},
        // Painted after the last action: a selected space a line separator follows is not highlighted (action 400).
        DifferentialRow{"code_spaces_before_a_line_separator_never_highlighted", "txtDecrypt", Paragraphs(), 2103, 400,
                        kTyping + kMoving + kBreaks},
        // Up from right of a line's first letters (action 21), and from its start (action 30), to a line of
        // spaces a line separator ends: its end, and its start.
        DifferentialRow{"code_up_over_spaces_before_a_line_separator_goes_to_its_end", "txtDecrypt", Paragraphs(), 203,
                        22, kTyping + kMoving + kBreaks},
        DifferentialRow{"code_up_from_a_lines_start_stays_at_the_start_of_spaces", "txtDecrypt", Paragraphs(), 4603, 31,
                        kTyping + kMoving + kBreaks},
        // Delete with nothing after the caret still takes the caret's place across anew (action 541).
        DifferentialRow{"code_delete_of_nothing_takes_the_place_across_anew", "txtDecrypt", Paragraphs(), 8503, 543,
                        kTyping + kMoving + kBreaks},
        DifferentialRow{"code_mouse_and_wheel", "txtDecrypt", Paragraphs() + Paragraphs() + Paragraphs(), 4, 600,
                        kTyping + kMoving + kMouse + kWheel},
        // A Shift+click shows the caret, even where the word clicked twice before keeps the selection (action 37).
        DifferentialRow{"code_shift_click_shows_the_caret", "txtDecrypt", Paragraphs() + Paragraphs() + Paragraphs(), 504,
                        38, kTyping + kMoving + kMouse + kWheel},
        // A click in the selection on a line shown in part places the caret there without scrolling (action 66).
        DifferentialRow{"code_click_in_the_selection_leaves_the_view", "txtDecrypt", Paragraphs() + Paragraphs(), 417, 67,
                        kSelecting},
        DifferentialRow{"code_pages", "txtDecrypt", Paragraphs() + Paragraphs() + Paragraphs() + Paragraphs(), 11, 600,
                        kTyping + kMoving + kPages + kPages + std::vector<Action>{Of(Action::kDoubleClick)}},
        // Typing over a selection that takes the first line in view leaves no fraction of a pixel
        // over, though the view comes to its place in two moves (action 35, painted after action 50).
        DifferentialRow{"code_edit_that_takes_the_first_line_in_view_leaves_no_fraction", "txtDecrypt",
                        Paragraphs() + Paragraphs() + Paragraphs() + Paragraphs(), 12311, 50,
                        kTyping + kMoving + kPages + kPages + std::vector<Action>{Of(Action::kDoubleClick)}},
        // A run of page moves keeps the caret's height over a key that does not move the caret (action 15).
        DifferentialRow{"code_pages_keep_their_height_over_a_key_that_moves_nothing", "txtDecrypt",
                        Paragraphs() + Paragraphs() + Paragraphs() + Paragraphs(), 2711, 20,
                        kTyping + kMoving + kPages + kPages + std::vector<Action>{Of(Action::kDoubleClick)}},
        DifferentialRow{"code_context_menu", "txtDecrypt", Paragraphs(), 12, 300, UndoingFromKeysAndMenu()},
        DifferentialRow{"code_scrolling_wrapped_paragraphs", "txtDecrypt", WrappedParagraphs(), 15, 400, ScrollingAndEditing()},
        // Paragraphs of many lines: an edit may leave the text edit's numbers for its first line
        // in view past a shorter paragraph's end, and the view must stay in the text (action 164).
        DifferentialRow{"code_scrolling_long_paragraphs", "txtDecrypt", LongParagraphs(), 215, 400, ScrollingAndEditing()},
        // Typing over a selection that shortens the paragraph in view to its first line leaves the
        // view counted one line past its end; the view's next move is measured from there (action 27).
        DifferentialRow{"code_view_counted_past_a_paragraph_moves_from_where_it_is", "txtDecrypt", LongParagraphs(),
                        515, 29, ScrollingAndEditing()},
        // Down to a line whose text shows above the view's bottom, its leading not: the view stays
        // (action 32).
        DifferentialRow{"code_caret_whose_text_shows_leaves_the_view_where_it_is", "txtDecrypt", LongParagraphs(), 1715,
                        33, ScrollingAndEditing()},
        // Page Down takes a line that goes on in its paragraph as shown whole when its text is,
        // though its leading is not (action 17).
        DifferentialRow{"code_page_down_takes_a_line_whose_text_shows_as_shown_whole", "txtDecrypt", LongParagraphs(),
                        1115, 18, ScrollingAndEditing()},
        // The text edit keeps its first line in view as a paragraph's number and a line's in it.
        // A Return with the caret above the view (action 12) leaves the view at those numbers, now
        // the line before: a page move after it came a line apart (action 16).
        DifferentialRow{"code_return_above_the_view_keeps_its_numbers", "txtDecrypt", WrappedParagraphs(), 12315, 17,
                        ScrollingAndEditing()},
        DifferentialRow{"code_return_above_the_view_then_paging", "txtDecrypt", WrappedParagraphs(), 13315, 82,
                        ScrollingAndEditing()},
        DifferentialRow{"code_return_above_the_view_then_the_wheel", "txtDecrypt", WrappedParagraphs(), 13215, 41,
                        ScrollingAndEditing()},
        // Return over a selected line break leaves the caret where it was, but the text edit's caret
        // went through the new break: a page move after it measures the caret's height anew (action 88).
        DifferentialRow{"code_page_move_after_an_edit_that_leaves_the_caret_measures_anew", "txtDecrypt",
                        WrappedParagraphs(), 15115, 89, ScrollingAndEditing()},
        // A Return over a selection from above the view to the end of the paragraph before the one in
        // view (action 4) leaves the numbers one line past a shorter paragraph's end, placed as if it
        // went on there (painted after action 300).
        DifferentialRow{"code_view_numbers_one_past_a_paragraph_placed_as_if_it_went_on", "txtDecrypt",
                        WrappedParagraphs(), 12215, 300, ScrollingAndEditing()},
        // An edit that takes the paragraph in view away leaves the text edit no line to go on from:
        // its view comes to the last page with no fraction of a pixel over (action 135, painted after 200).
        DifferentialRow{"code_edit_that_takes_the_paragraph_in_view_leaves_no_fraction", "txtDecrypt",
                        Paragraphs() + Paragraphs() + Paragraphs(), 14004, 200, kTyping + kMoving + kMouse + kWheel},
        DifferentialRow{"code_double_and_triple_clicks", "txtDecrypt", Paragraphs() + Paragraphs(), 9, 400,
                        kTyping + kMoving + kClicks},
        // Spaces typed at the end of a full line run on past the box's edge; the caret stays at the edge (action 96).
        DifferentialRow{"code_caret_kept_at_the_edge_over_spaces_past_it", "txtDecrypt", Paragraphs() + Paragraphs(), 1909,
                        97, kTyping + kMoving + kClicks},
        // Backspace with nothing before the caret still takes its place across anew (action 1342).
        DifferentialRow{"code_backspace_at_the_start_takes_the_place_across_anew", "txtDecrypt",
                        Paragraphs() + Paragraphs(), 309, 1342, kTyping + kMoving + kClicks},
        DifferentialRow{"code_shift_click_after_a_triple_click", "txtDecrypt", Paragraphs() + Paragraphs(), 16, 400,
                        kTripleClicksAndShiftClicks},
        // A Shift+click back in the paragraph clicked three times, the last one, puts back the
        // place across the caret had there: Shift+Up goes to the end of the line above (action 515).
        DifferentialRow{"code_shift_click_back_into_the_last_paragraph_triple_clicked", "txtDecrypt",
                        Paragraphs() + Paragraphs(), 116, 515,
                        kTripleClicksAndShiftClicks},
        // A triple click on the text's empty last paragraph selects nothing, and a Shift+click after it
        // extends from the caret, not by a paragraph clicked three times before (action 17).
        DifferentialRow{"code_shift_click_after_a_triple_click_on_the_empty_last_paragraph", "txtDecrypt",
                        Paragraphs() + Paragraphs(), 3616, 18,
                        kTripleClicksAndShiftClicks},
        // Put back by a Shift+click, the triple click's cursor goes up and down from the start of the
        // paragraph after the one it selected (action 80).
        DifferentialRow{"code_shift_click_back_goes_down_from_the_next_paragraphs_start", "txtDecrypt",
                        Paragraphs() + Paragraphs(), 1716, 81,
                        kTripleClicksAndShiftClicks},
        // A click over a wrapped line's last space places the caret after it, at the next line's start (action 99).
        DifferentialRow{"code_click_over_a_wrap_space_goes_past_it", "txtDecrypt", Paragraphs() + Paragraphs(), 2016, 100,
                        kTripleClicksAndShiftClicks},
        // Selecting with the button held after a double click goes by words, after a triple click by paragraphs.
        DifferentialRow{"code_selecting_by_words_and_paragraphs", "txtDecrypt", Paragraphs() + Paragraphs(), 17, 400, kSelecting},
        // A Shift+click in the word clicked twice puts back where its end was across when it was clicked, as
        // the text edit's cursor for that word keeps it over edits (action 219)...
        DifferentialRow{"code_shift_click_in_the_word_puts_back_its_place_across", "txtDecrypt",
                        Paragraphs() + Paragraphs(), 33617, 220, kSelecting},
        // ... and a drag on out of the word finds it again where the caret goes (action 24).
        DifferentialRow{"code_drag_out_of_the_word_finds_the_place_across_again", "txtDecrypt",
                        Paragraphs() + Paragraphs(), 7817, 25, kSelecting},
        // A Shift+click that leaves the selection as it is leaves the caret's place across too (action 56).
        DifferentialRow{"code_shift_click_leaving_the_selection_keeps_the_place_across", "txtDecrypt",
                        Paragraphs() + Paragraphs(), 7619, 57, kSelecting},
        // A press is a third click near the double click as the document measures it: lifted by the lines of
        // the first paragraph in view scrolled past, not by the paragraphs above it (action 29).
        DifferentialRow{"code_third_click_measured_within_the_paragraph_in_view", "txtDecrypt",
                        Paragraphs() + Paragraphs(), 8817, 30, kSelecting},
        // Dragged on out of that paragraph, the caret's place across is found again where it goes (action 806).
        DifferentialRow{"code_drag_out_of_the_last_paragraph_triple_clicked", "txtDecrypt", Paragraphs() + Paragraphs(),
                        117, 806, kSelecting},
        // A third click selects the caret's paragraph, wherever keys took the caret (action 757).
        DifferentialRow{"code_third_click_selects_the_carets_paragraph", "txtDecrypt", Paragraphs() + Paragraphs(), 217,
                        757, kSelecting},
        // A click near a double click soon after is a third click, whatever clicks came between.
        DifferentialRow{"code_third_click_after_shift_clicks", "txtDecrypt", Paragraphs() + Paragraphs(), 119, 190, kSelecting},
        // A press is a third click only near the double click in the text, not where the view has scrolled since (action 167).
        DifferentialRow{"code_no_third_click_where_the_view_has_scrolled", "txtDecrypt", Paragraphs() + Paragraphs(), 1917,
                        169, kSelecting},
        // What an input method composes moves the caret's place it tells, not the text, until committed.
        DifferentialRow{"code_composing", "txtDecrypt", Paragraphs(), 18, 300, kTyping + kMoving + kClicks + kComposing},
        // What an input method sends takes the caret's place across anew (action 124).
        DifferentialRow{"code_composing_takes_the_place_across_anew", "txtDecrypt", Paragraphs(), 318, 124,
                        kTyping + kMoving + kClicks + kComposing},
        // What an input method commits in the text edit does not join the typing before it (action 19);
        // the typing after it joins it (action 603).
        DifferentialRow{"code_commit_starts_an_undo_step_typing_joins", "txtDecrypt", Paragraphs(), 113, 610,
                        UndoingFromKeysAndMenu()},
        // The view wheeled far below the caret: an input method is told the caret is above it.
        DifferentialRow{"code_caret_far_above_the_view_told_above_it", "txtDecrypt",
                        WrappedParagraphs() + WrappedParagraphs(), 1, 40, kWheel},
        // All selected from the menu, the caret far below the view: an input method is told it is below it (action 297).
        DifferentialRow{"code_caret_far_below_the_view_told_below_it", "txtDecrypt", Paragraphs(), 413, 298,
                        UndoingFromKeysAndMenu()},
        // A redo with nothing to redo leaves Backspaces joined across it (action 80).
        DifferentialRow{"code_redo_of_nothing_keeps_deletions_joined", "txtDecrypt", Paragraphs(), 214, 81,
                        UndoingFromKeysAndMenu()},
        // Typing right after a redo joins the step redone when its text would follow on in the
        // document's store (action 120); not when other text was put in since (action 467 of the
        // commit row above).
        DifferentialRow{"code_typing_joins_a_step_just_redone", "txtDecrypt", Paragraphs(), 314, 120,
                        UndoingFromKeysAndMenu()},
        // Painted after the last action: all selected, a line and its paragraph break highlighted as one (action 28).
        DifferentialRow{"code_paragraph_selected_whole_highlighted_as_one", "txtDecrypt", Paragraphs(), 213, 28,
                        UndoingFromKeysAndMenu()},
        // Backspace over a typed comma, then over text pasted before it: two steps, as the
        // document stores a pasted line break after the text pasted (action 26).
        DifferentialRow{"code_deletions_apart_in_the_document_store_undone_apart", "txtDecrypt", Paragraphs(), 2213, 27,
                        UndoingFromKeysAndMenu()},
        // Undo (action 28) and redo (action 62) put text back where the document's store kept it,
        // and deletions over it join.
        DifferentialRow{"code_text_put_back_by_undo_joins_deletions_again", "txtDecrypt", Paragraphs(), 3, 200,
                        UndoAndRedoOfTyping()},
        DifferentialRow{"code_text_put_back_by_redo_joins_deletions_again", "txtDecrypt", Paragraphs(), 37, 63,
                        UndoAndRedoOfTyping()},
        // Ctrl+Y with nothing to redo still brings the caret into view (action 39).
        DifferentialRow{"code_redo_of_nothing_reveals_the_caret", "txtDecrypt", Paragraphs(), 213, 39,
                        UndoingFromKeysAndMenu()},
        // Typing over a selection that held a line break, then typing on: undone as one (action 96).
        DifferentialRow{"code_typing_over_lines_then_on_undone_as_one", "txtDecrypt", Paragraphs(), 112, 96,
                        UndoingFromKeysAndMenu()},
        // A line break typed in an empty paragraph is undone in two steps, the first changing
        // no text (action 668).
        DifferentialRow{"code_return_in_an_empty_paragraph_undone_in_two_steps", "txtDecrypt", Paragraphs(), 414, 668,
                        UndoingFromKeysAndMenu()},
        // The first of them leaves the caret after the paragraph (action 172). Over a selection, from
        // the caret in an empty paragraph, three steps (action 116); the second's redo leaves the caret
        // at the selection's end (action 118), its undo where the text the selection starts with
        // ends in the document's store (action 1054).
        DifferentialRow{"code_return_in_an_empty_paragraph_first_undone_to_after_it", "txtDecrypt", Paragraphs(), 3814,
                        173, UndoingFromKeysAndMenu()},
        DifferentialRow{"code_return_over_a_selection_undone_in_three_steps", "txtDecrypt", Paragraphs(), 4112, 119,
                        UndoingFromKeysAndMenu()},
        DifferentialRow{"code_return_over_a_selection_undone_to_the_end_of_its_first_stored_text", "txtDecrypt",
                        Paragraphs(), 3412, 1055, UndoingFromKeysAndMenu()},
        DifferentialRow{"code_right_to_left", "txtDecrypt", RightToLeft() + RightToLeft(), 20, 400,
                        kTyping + kMoving + kWords + kClicks},
        // Spaces that run on left of a right-to-left line take its caret no further than the margin's edge (action 160).
        DifferentialRow{"code_right_to_left_caret_kept_within_the_margin", "txtDecrypt", RightToLeft() + RightToLeft(),
                        1920, 161, kTyping + kMoving + kWords + kClicks},
        // Typing where a right-to-left paragraph wraps: the line's first and last characters
        // take their direction from the text around them (actions 80 and 81).
        DifferentialRow{"code_typing_where_a_right_to_left_paragraph_wraps", "txtDecrypt", RightToLeft() + RightToLeft(),
                        120, 81, kTyping + kMoving + kWords + kClicks},
        // The box crosses into the big-text view part way, by typing or pasting: nothing is lost.
        DifferentialRow{"code_crossing_into_the_big_view", "txtDecrypt", Paragraphs(), 7, 400,
                        kTyping + kMoving + kUndo + KeyPresses({Qt::Key_V, Qt::Key_V, Qt::Key_V}, Qt::ControlModifier),
                        Paragraphs().size() + 40}};
}
// clang-format on

}  // namespace ravelon::testing
