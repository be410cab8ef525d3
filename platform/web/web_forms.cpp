// The forms layer on a web page: the window's design laid out as page
// elements, its events taken in one at a time as the page tells them, the
// message box as a modal dialog, the clipboard through the browser's.

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "platform/forms.h"
#include "platform/named_controls.h"
#include "platform/web/dom.h"
#include "platform/web/web_controls.h"

namespace ravelon::forms {

namespace {

using web::WebButton;
using web::WebTextBox;

constexpr double kTwipsPerPixel = 15;  // a CSS pixel is 1/96 inch

class WebForm final : public Form {
public:
    explicit WebForm(const FormDesign& design)
    {
        ravelon_dom_form(std::u16string(design.caption).c_str(), design.clientWidth / kTwipsPerPixel,
                         design.clientHeight / kTwipsPerPixel, design.backColor);
        controls_.resize(design.controls.size());
        for (std::size_t id = 0; id < design.controls.size(); ++id) {
            const ControlDesign& control = design.controls[id];
            const int at = static_cast<int>(id);
            switch (control.kind) {
                case ControlKind::Label:
                    ravelon_dom_label(at, std::u16string(control.text).c_str(), NamedBy(design, control.name));
                    break;
                case ControlKind::TextBox:
                    ravelon_dom_text_box(at, control.multiLine);
                    boxes_.emplace(control.name, std::make_unique<WebTextBox>(at, control.multiLine));
                    controls_[id] = boxes_.find(control.name)->second.get();
                    break;
                case ControlKind::CommandButton:
                    ravelon_dom_button(at, std::u16string(control.text).c_str());
                    buttons_.emplace(control.name, std::make_unique<WebButton>(at));
                    controls_[id] = buttons_.find(control.name)->second.get();
                    break;
            }
            ravelon_dom_place(at, control.left / kTwipsPerPixel, control.top / kTwipsPerPixel,
                              control.width / kTwipsPerPixel, control.height / kTwipsPerPixel,
                              std::u16string(control.font.face).c_str(), control.font.tenThousandthsOfPoint / 10000.0,
                              control.font.weight, control.alignment == Alignment::Centre, control.tabIndex);
            if (control.kind == ControlKind::Label) ravelon_dom_set_colour(at, control.backColor, false);
        }
    }

    TextBox& TextBoxNamed(std::string_view name) override { return FindNamed(boxes_, name); }
    CommandButton& ButtonNamed(std::string_view name) override { return FindNamed(buttons_, name); }

    // The control numbered `id` in the design, if it is one of that kind.
    template <class Control>
    Control* At(int id)
    {
        if (id < 0 || static_cast<std::size_t>(id) >= controls_.size()) return nullptr;
        Control* const* control = std::get_if<Control*>(&controls_[static_cast<std::size_t>(id)]);
        return control ? *control : nullptr;
    }
    WebTextBox* BoxAt(int id) { return At<WebTextBox>(id); }
    WebButton* ButtonAt(int id) { return At<WebButton>(id); }

private:
    // The control a label names for screen readers, by its number; -1 for none.
    static int NamedBy(const FormDesign& design, std::string_view label)
    {
        for (std::size_t id = 0; id < design.controls.size(); ++id)
            if (design.controls[id].namedBy == label) return static_cast<int>(id);
        return -1;
    }

    NamedControls<WebTextBox> boxes_;
    NamedControls<WebButton> buttons_;
    std::vector<std::variant<std::monostate, WebTextBox*, WebButton*>> controls_;  // by number in the design
};

WebForm* g_form = nullptr;
bool g_ended = false;

// The message box shown modally; the program waits here until it is closed.
EM_ASYNC_JS(int, ravelon_dom_message_box, (const char16_t* text, const char16_t* title, int warning),
            { return await RavelonDom.messageBox(UTF16ToString(text), UTF16ToString(title), warning); });

}  // namespace

std::unique_ptr<Form> CreateForm(const FormDesign& design)
{
    auto form = std::make_unique<WebForm>(design);
    g_form = form.get();
    return form;
}

// The page's own loop delivers the events: the program's part ends here,
// with the window shown and the runtime kept for its handlers.
int Run(Form& form)
{
    if (form.onLoad) form.onLoad();
    ravelon_dom_ready();
    emscripten_exit_with_live_runtime();
    return 0;
}

int MessageBox(std::u16string_view text, std::u16string_view title, std::uint32_t style)
{
    const bool warning = (style & 0xF0u) == MB_ICONWARNING;
    return ravelon_dom_message_box(std::u16string(text).c_str(), std::u16string(title).c_str(), warning);
}

std::int32_t SendMessageA(WindowHandle window, std::uint32_t message, std::uint32_t, std::int32_t)
{
    WebTextBox* box = g_form ? g_form->BoxAt(static_cast<int>(window)) : nullptr;
    if (!box) return 0;
    if (message == WM_COPY) box->Copy();
    if (message == WM_PASTE) ravelon_dom_read_clipboard(static_cast<int>(window));
    return 0;
}

void End()
{
    g_ended = true;
    ravelon_dom_end();
}

}  // namespace ravelon::forms

// What the page tells the program, one event at a time.
extern "C" {

EMSCRIPTEN_KEEPALIVE void ravelon_clicked(int id)
{
    using namespace ravelon::forms;
    if (g_ended || !g_form) return;
    if (auto* button = g_form->ButtonAt(id); button && button->Enabled() && button->onClick) button->onClick();
}

EMSCRIPTEN_KEEPALIVE void ravelon_input(int id, const char16_t* value, int length, int selStart, int selEnd, int kind)
{
    using namespace ravelon::forms;
    if (g_ended || !g_form) return;
    if (auto* box = g_form->BoxAt(id))
        box->Input(std::u16string_view(value, static_cast<std::size_t>(length)), static_cast<std::size_t>(selStart),
                   static_cast<std::size_t>(selEnd), static_cast<web::InputKind>(std::clamp(kind, 0, 3)));
}

EMSCRIPTEN_KEEPALIVE void ravelon_pasted(int id, const char16_t* text, int length)
{
    using namespace ravelon::forms;
    if (g_ended || !g_form) return;
    if (auto* box = g_form->BoxAt(id)) box->Paste(std::u16string_view(text, static_cast<std::size_t>(length)));
}

EMSCRIPTEN_KEEPALIVE void ravelon_undo(int id, int redo)
{
    using namespace ravelon::forms;
    if (g_ended || !g_form) return;
    if (auto* box = g_form->BoxAt(id)) box->UndoOrRedo(redo != 0);
}

// The exact text selected in a box, for the page's copy and cut; freed by the page.
EMSCRIPTEN_KEEPALIVE char16_t* ravelon_selected_text(int id)
{
    using namespace ravelon::forms;
    WebTextBox* box = g_form ? g_form->BoxAt(id) : nullptr;
    const std::u16string text = box ? box->SelectedText() : std::u16string();
    auto* copy = static_cast<char16_t*>(std::malloc((text.size() + 1) * sizeof(char16_t)));
    if (copy) std::char_traits<char16_t>::copy(copy, text.c_str(), text.size() + 1);
    return copy;
}
}
