#pragma once

// The page's elements as the web backend drives them (dom.js): the window's
// controls are numbered in the order of its design. Strings go in as
// UTF-16 and come back in buffers the caller frees.

#include <cstdint>

extern "C" {

void ravelon_dom_form(const char16_t* caption, double width, double height, std::uint32_t backColour);
void ravelon_dom_label(int id, const char16_t* text, int namesControl);
void ravelon_dom_text_box(int id, bool multiLine);
void ravelon_dom_button(int id, const char16_t* text);
// Places a control in the window, in CSS pixels, with its font and tab order.
void ravelon_dom_place(int id, double left, double top, double width, double height, const char16_t* fontFace,
                       double fontPoints, int weight, bool centred, int tabIndex);
// A colour 0x00BBGGRR; with `system`, an index of the system's colours.
void ravelon_dom_set_colour(int id, std::uint32_t colour, bool system);
void ravelon_dom_set_value(int id, const char16_t* text);
void ravelon_dom_set_selection(int id, int start, int end);
int ravelon_dom_selection_start(int id);
int ravelon_dom_selection_end(int id);
void ravelon_dom_set_enabled(int id, bool enabled);
void ravelon_dom_focus(int id);
void ravelon_dom_write_clipboard(const char16_t* text);
void ravelon_dom_read_clipboard(int id);  // answers with ravelon_pasted
void ravelon_dom_end();
void ravelon_dom_ready();  // the window is shown and takes input
}
