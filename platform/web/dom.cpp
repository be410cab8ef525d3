// The page's side of platform/web/dom.h, in dom.js.

#include "platform/web/dom.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, ravelon_dom_form, (const char16_t* caption, double width, double height, std::uint32_t back), {
    RavelonDom.form(UTF16ToString(caption), width, height, back);
});
EM_JS(void, ravelon_dom_label, (int id, const char16_t* text, int names), {
    RavelonDom.label(id, UTF16ToString(text), names);
});
EM_JS(void, ravelon_dom_text_box, (int id, bool multiLine), { RavelonDom.textBox(id, multiLine); });
EM_JS(void, ravelon_dom_button, (int id, const char16_t* text), { RavelonDom.button(id, UTF16ToString(text)); });
EM_JS(void, ravelon_dom_place, (int id, double left, double top, double width, double height, const char16_t* face,
                                double points, int weight, bool centred, int tabIndex), {
    RavelonDom.place(id, left, top, width, height, UTF16ToString(face), points, weight, centred, tabIndex);
});
EM_JS(void, ravelon_dom_set_colour, (int id, std::uint32_t colour, bool system), {
    RavelonDom.setColour(id, colour, system);
});
EM_JS(void, ravelon_dom_set_value, (int id, const char16_t* text), { RavelonDom.setValue(id, UTF16ToString(text)); });
EM_JS(void, ravelon_dom_set_selection, (int id, int start, int end), { RavelonDom.setSelection(id, start, end); });
EM_JS(int, ravelon_dom_selection_start, (int id), { return RavelonDom.selectionStart(id); });
EM_JS(int, ravelon_dom_selection_end, (int id), { return RavelonDom.selectionEnd(id); });
EM_JS(void, ravelon_dom_set_enabled, (int id, bool enabled), { RavelonDom.setEnabled(id, enabled); });
EM_JS(void, ravelon_dom_focus, (int id), { RavelonDom.focus(id); });
EM_JS(void, ravelon_dom_write_clipboard, (const char16_t* text), { RavelonDom.writeClipboard(UTF16ToString(text)); });
EM_JS(void, ravelon_dom_read_clipboard, (int id), { RavelonDom.readClipboard(id); });
EM_JS(void, ravelon_dom_end, (), { RavelonDom.end(); });
EM_JS(void, ravelon_dom_ready, (), { RavelonDom.ready(); });
// clang-format on
