#include "tests/window/fake_forms.h"

#include <map>
#include <utility>
#include <stdexcept>

#include "tests/decoder/reference_decoder.h"
#include "window/form1.h"
#include "window/form1_layout.h"

namespace ravelon::testing::fake {

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}
Clipboard& TheClipboard()
{
    static Clipboard clipboard;
    return clipboard;
}
std::vector<MessageBoxSeen>& MessageBoxes()
{
    static std::vector<MessageBoxSeen> boxes;
    return boxes;
}
bool& Ended()
{
    static bool ended = false;
    return ended;
}
std::string& FocusedName()
{
    static std::string name;
    return name;
}

namespace {

std::string Hex(std::uint32_t v)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", v);
    return buffer;
}

class FakeTextBox final : public forms::TextBox {
public:
    FakeTextBox(std::string name, forms::WindowHandle handle) : name_(std::move(name)), handle_(handle) {}

    std::u16string Text() const override { return text_; }
    void SetText(std::u16string_view text) override
    {
        Log().push_back(name_ + ".Text=\"" + Printable(text) + '"');
        Assign(std::u16string(text));
    }
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override
    {
        Log().push_back(name_ + ".Enabled=" + (enabled ? "true" : "false"));
        enabled_ = enabled;
    }
    forms::Colour BackColor() const override { return back_; }
    void SetBackColor(forms::Colour colour) override
    {
        Log().push_back(name_ + ".BackColor=" + Hex(colour));
        back_ = colour;
    }
    std::size_t SelStart() const override { return selStart_; }
    void SetSelStart(std::size_t start) override
    {
        Log().push_back(name_ + ".SelStart=" + std::to_string(start));
        selStart_ = std::min(start, text_.size());
        selLength_ = 0;
    }
    std::size_t SelLength() const override { return selLength_; }
    void SetSelLength(std::size_t length) override
    {
        Log().push_back(name_ + ".SelLength=" + std::to_string(length));
        selLength_ = std::min(length, text_.size() - selStart_);
    }
    forms::WindowHandle hWnd() const override
    {
        Log().push_back(name_ + ".hWnd");
        return handle_;
    }
    void SetFocus() override
    {
        Log().push_back(name_ + ".SetFocus");
        if (!enabled_) throw std::logic_error("focus given to a disabled box");
        FocusedName() = name_;
    }

    // As the user or an edit control does it: a change event follows.
    void Assign(std::u16string text)
    {
        text_ = std::move(text);
        selStart_ = selLength_ = 0;
        if (onChange && !Ended()) onChange();
    }
    void Copy()
    {
        if (enabled_ && selLength_ > 0) TheClipboard().text = text_.substr(selStart_, selLength_);
    }
    void Paste()
    {
        if (!enabled_ || !TheClipboard().text) return;
        std::u16string next = text_.substr(0, selStart_) + *TheClipboard().text + text_.substr(selStart_ + selLength_);
        Assign(std::move(next));
    }

private:
    std::string name_;
    forms::WindowHandle handle_;
    std::u16string text_;
    bool enabled_ = true;
    forms::Colour back_ = 0x80000005u;
    std::size_t selStart_ = 0, selLength_ = 0;
};

class FakeButton final : public forms::CommandButton {
public:
    explicit FakeButton(std::string name) : name_(std::move(name)) {}
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override
    {
        Log().push_back(name_ + ".Enabled=" + (enabled ? "true" : "false"));
        enabled_ = enabled;
    }
    // As a mouse click: the button takes the focus, then its handler runs.
    void Press()
    {
        if (!enabled_) return;
        FocusedName() = name_;
        if (onClick && !Ended()) onClick();
    }

private:
    std::string name_;
    bool enabled_ = true;
};

std::map<forms::WindowHandle, FakeTextBox*> g_handles;

class FakeForm final : public forms::Form {
public:
    explicit FakeForm(const forms::FormDesign& design)
    {
        forms::WindowHandle next = 0x100;
        for (const auto& control : design.controls) {
            if (control.kind == forms::ControlKind::TextBox) {
                auto box = std::make_unique<FakeTextBox>(std::string(control.name), next);
                g_handles[next] = box.get();
                next += 4;
                boxes_.emplace(std::string(control.name), std::move(box));
            } else if (control.kind == forms::ControlKind::CommandButton) {
                buttons_.emplace(std::string(control.name), std::make_unique<FakeButton>(std::string(control.name)));
            }
        }
    }
    ~FakeForm() override { g_handles.clear(); }

    FakeTextBox& TextBoxNamed(std::string_view name) override { return *boxes_.at(std::string(name)); }
    FakeButton& ButtonNamed(std::string_view name) override { return *buttons_.at(std::string(name)); }

private:
    std::map<std::string, std::unique_ptr<FakeTextBox>> boxes_;
    std::map<std::string, std::unique_ptr<FakeButton>> buttons_;
};

std::string Narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) out += static_cast<char>(c);
    return out;
}

// The system colours of Windows' classic scheme.
std::uint32_t ClassicSystemColour(int index) { return index == 5 ? kTestColourWindow : index == 10 ? kTestColourActiveBorder : 0u; }

class FakeDriver final : public ScenarioDriver {
public:
    FakeDriver() : form_(forms::CreateForm(kForm1Design)), form1_(*form_)
    {
        Log().clear();
        MessageBoxes().clear();
        TheClipboard().text.reset();
        fake::Ended() = false;
        FocusedName() = "txtEmail";
        (void)forms::Run(*form_);
    }

    FakeForm& form() { return static_cast<FakeForm&>(*form_); }

    void TypeIntoEmail(std::u16string_view text) override
    {
        for (char16_t c : text) Email().Assign(Email().Text() + c);
    }
    void Backspace(std::size_t times) override
    {
        for (std::size_t i = 0; i < times; ++i) {
            std::u16string t = Email().Text();
            if (!t.empty()) t.pop_back();
            Email().Assign(t);
        }
    }
    void ReplaceEmail(std::u16string_view text) override { Email().Assign(std::u16string(text)); }
    void ReplaceCodeByHand(std::u16string_view text) override
    {
        form().TextBoxNamed("txtDecrypt").Assign(std::u16string(text));
    }
    // As the platform's boxes do: a single-line paste keeps its first line,
    // Enter in the multi-line box is CR LF.
    void PasteIntoEmail() override
    {
        const std::u16string pasted = TheClipboard().text.value_or(u"");
        Email().Assign(Email().Text() + pasted.substr(0, pasted.find_first_of(u"\r\n")));
    }
    void TypeIntoCode(std::u16string_view text) override
    {
        for (char16_t c : text) Code().Assign(Code().Text() + (c == u'\r' ? u"\r\n" : std::u16string(1, c)));
    }
    void BackspaceInCode(std::size_t times) override
    {
        for (std::size_t i = 0; i < times; ++i) {
            std::u16string t = Code().Text();
            if (!t.empty()) t.erase(t.size() - (t.ends_with(u"\r\n") ? 2 : 1));
            Code().Assign(t);
        }
    }
    void Click(std::string_view button) override { form().ButtonNamed(button).Press(); }
    void CloseWindow() override {}  // no platform window here
    bool SupportsKeys() const override { return false; }
    void Press(Key) override {}
    void MinimiseAndRestore() override {}
    void SwitchAwayAndBack() override {}

    std::u16string Text(std::string_view box) override { return form().TextBoxNamed(box).Text(); }
    bool Enabled(std::string_view control) override
    {
        if (control.starts_with("txt")) return form().TextBoxNamed(control).Enabled();
        return form().ButtonNamed(control).Enabled();
    }
    std::uint32_t PaintedColour(std::string_view box) override
    {
        const forms::Colour c = form().TextBoxNamed(box).BackColor();
        return forms::IsSystemColour(c) ? ClassicSystemColour(static_cast<int>(forms::SystemColourIndex(c))) : c;
    }
    std::string Focused() override { return FocusedName(); }
    std::vector<MessageBoxSeen> TakeMessageBoxes() override { return std::exchange(MessageBoxes(), {}); }
    bool Ended() override { return fake::Ended(); }
    std::optional<std::u16string> Clipboard() override { return TheClipboard().text; }
    void SetClipboard(std::optional<std::u16string> text) override { TheClipboard().text = std::move(text); }

private:
    FakeTextBox& Email() { return form().TextBoxNamed("txtEmail"); }
    FakeTextBox& Code() { return form().TextBoxNamed("txtDecrypt"); }

    std::unique_ptr<forms::Form> form_;
    Form1 form1_;
};

}  // namespace

}  // namespace ravelon::testing::fake

namespace ravelon::forms {

using namespace testing::fake;

std::unique_ptr<Form> CreateForm(const FormDesign& design) { return std::make_unique<FakeForm>(design); }

int Run(Form& form)
{
    Log().push_back("Load");
    if (form.onLoad) form.onLoad();
    Log().push_back("Show");
    return 0;
}

int MessageBox(std::u16string_view text, std::u16string_view title, std::uint32_t style)
{
    Log().push_back("MessageBox(\"" + Narrow(text) + "\", \"" + Narrow(title) + "\", " + Hex(style) + ')');
    MessageBoxes().push_back({std::u16string(text), std::u16string(title), style & 0xF0u, {u"OK"}});
    return 1;
}

std::int32_t SendMessageA(WindowHandle window, std::uint32_t message, std::uint32_t wParam, std::int32_t lParam)
{
    Log().push_back("SendMessageA(" + Hex(message) + ", " + std::to_string(wParam) + ", " + std::to_string(lParam) + ')');
    auto it = g_handles.find(window);
    if (it == g_handles.end()) throw std::logic_error("message sent to an unknown window");
    if (message == WM_COPY) it->second->Copy();
    if (message == WM_PASTE) it->second->Paste();
    return 0;
}

void End()
{
    Log().push_back("End");
    Ended() = true;
}

}  // namespace ravelon::forms

namespace ravelon::testing {
std::unique_ptr<ScenarioDriver> StartProgram() { return std::make_unique<fake::FakeDriver>(); }
}  // namespace ravelon::testing
