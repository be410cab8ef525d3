// The forms layer on plain Win32: one window class, one static window
// procedure forwarding to the form, native STATIC, EDIT and BUTTON controls.

#include "platform/win32/win32_forms.h"

#include "platform/named_controls.h"
#include "platform/readable_colour.h"
#include "platform/win32/win32_accessible.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ravelon::forms {

namespace win32 {

class Win32Form;

namespace {

constexpr wchar_t kClassName[] = L"RavelonForm";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL: Enter and Esc find no button

bool g_ended = false;
Win32Form* g_form = nullptr;

const wchar_t* Wide(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

std::wstring WideString(std::u16string_view text) { return std::wstring(Wide(text), text.size()); }

COLORREF ToColorRef(Colour colour)
{
    if (IsSystemColour(colour)) return GetSysColor(static_cast<int>(SystemColourIndex(colour)));
    return static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// In high-contrast mode the user's colours replace the design's own.
bool HighContrast()
{
    HIGHCONTRASTW settings{sizeof settings, 0, nullptr};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
           (settings.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

LabelColours LabelColoursOn(Colour designed)
{
    return ChooseLabelColours(ToColorRef(designed), {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT), HighContrast()});
}

// The window and its labels: the design's colour, or the user's dialog colour in high contrast.
COLORREF SurfaceColour(Colour designed) { return LabelColoursOn(designed).surface; }

// Label text: the system's button text, kept readable on the design's colour.
COLORREF LabelTextColour(Colour designed) { return LabelColoursOn(designed).text; }

// The per-monitor DPI functions came with Windows 10; earlier systems get the
// screen's DPI and the plain frame computation.
template <class Function>
Function* User32(const char* name)
{
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT DpiOf(HWND window)
{
    static auto* forWindow = User32<UINT WINAPI(HWND)>("GetDpiForWindow");
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void AdjustFrame(RECT& rect, HWND window, UINT dpi)
{
    static auto* forDpi = User32<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    if (forDpi) forDpi(&rect, style, FALSE, exStyle, dpi);
    else AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

struct Control {
    const ControlDesign* design;
    HWND hwnd = nullptr;
    HFONT font = nullptr;
};

class Win32TextBox final : public TextBox {
public:
    explicit Win32TextBox(HWND hwnd) : hwnd_(hwnd)
    {
        // An EDIT takes only about 30,000 characters, typed or pasted, until this lifts the limit.
        SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    }

    std::u16string Text() const override
    {
        std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)), u'\0');
        if (!text.empty()) {
            const int copied = GetWindowTextW(hwnd_, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
            text.resize(static_cast<std::size_t>(std::max(copied, 0)));
        }
        return text;
    }
    void SetText(std::u16string_view text) override { SetWindowTextW(hwnd_, WideString(text).c_str()); }
    bool Enabled() const override { return IsWindowEnabled(hwnd_) != FALSE; }
    void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }
    Colour BackColor() const override { return backColor_; }
    void SetBackColor(Colour colour) override
    {
        backColor_ = colour;
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    std::size_t SelStart() const override
    {
        DWORD start = 0;
        SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        return start;
    }
    void SetSelStart(std::size_t start) override
    {
        SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
    }
    std::size_t SelLength() const override
    {
        DWORD start = 0, end = 0;
        SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return end - start;
    }
    void SetSelLength(std::size_t length) override
    {
        const std::size_t start = SelStart();
        SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
    }
    WindowHandle hWnd() const override { return reinterpret_cast<WindowHandle>(hwnd_); }
    void SetFocus() override { ::SetFocus(hwnd_); }

private:
    HWND hwnd_;
    Colour backColor_ = 0x80000005u;
};

class Win32Button final : public CommandButton {
public:
    explicit Win32Button(HWND hwnd) : hwnd_(hwnd) {}
    bool Enabled() const override { return IsWindowEnabled(hwnd_) != FALSE; }
    void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }

private:
    HWND hwnd_;
};

// A multi-line EDIT asks for every key, so Tab would stay in it and Esc would
// close the window. It keeps Enter (a line break); the rest goes to the loop.
LRESULT CALLBACK MultiLineEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_GETDLGCODE) {
        LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
        code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
        return code;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// A box announced by its label's caption.
LRESULT CALLBACK NamedBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR name)
{
    if (message == WM_GETOBJECT) {
        if (LRESULT object = NamedAccessibleObject(hwnd, wParam, lParam, *reinterpret_cast<const std::wstring*>(name)))
            return object;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

class Win32Form final : public Form {
public:
    explicit Win32Form(const FormDesign& design) : design_(design)
    {
        RegisterClassOnce();
        background_ = CreateSolidBrush(SurfaceColour(design.backColor));
        const std::wstring caption = WideString(design.caption);
        // Created hidden at the platform's default place, sized once the DPI is known.
        hwnd_ = CreateWindowExW(0, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                CW_USEDEFAULT, 400, 300, nullptr, nullptr, Instance(), this);
        if (!hwnd_) throw std::runtime_error("CreateWindowExW failed");
        const std::wstring icon(design.icon.begin(), design.icon.end());
        icon_ = static_cast<HICON>(LoadImageW(Instance(), icon.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

        int id = kFirstControlId;
        for (const ControlDesign& design_control : design.controls) controls_.push_back(Create(design_control, id++));
        NameBoxesAfterTheirLabels();
        ArrangeZOrder();
        LayOut(DpiOf(hwnd_));
        g_form = this;
        g_ended = false;
    }

    ~Win32Form() override
    {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
        for (Control& c : controls_) DeleteObject(c.font);
        DeleteObject(background_);
        if (g_form == this) g_form = nullptr;
    }

    TextBox& TextBoxNamed(std::string_view name) override { return FindNamed(boxes_, name); }
    CommandButton& ButtonNamed(std::string_view name) override { return FindNamed(buttons_, name); }

    HWND hwnd() const { return hwnd_; }
    HWND ControlHandle(std::string_view name) const
    {
        for (const Control& c : controls_)
            if (c.design->name == name) return c.hwnd;
        return nullptr;
    }
    const Control* ControlOf(HWND hwnd) const
    {
        for (const Control& c : controls_)
            if (c.hwnd == hwnd) return &c;
        return nullptr;
    }

    std::string_view ControlName(HWND hwnd) const
    {
        const Control* control = ControlOf(hwnd);
        return control ? control->design->name : std::string_view{};
    }

    void Show()
    {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        UpdateWindow(hwnd_);
        if (HWND first = FirstInTabOrder()) ::SetFocus(first);
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        Win32Form* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
    }

private:
    static void RegisterClassOnce()
    {
        static const bool registered = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = WindowProc;
            wc.hInstance = Instance();
            wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
            wc.lpszClassName = kClassName;
            return RegisterClassExW(&wc) != 0;
        }();
        if (!registered) throw std::runtime_error("RegisterClassExW failed");
    }

    Control Create(const ControlDesign& design, int id)
    {
        const std::wstring text = WideString(design.text);
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        const wchar_t* windowClass = L"STATIC";
        switch (design.kind) {
            case ControlKind::Label:
                style |= SS_NOPREFIX | (design.alignment == Alignment::Centre ? SS_CENTER : SS_LEFT);
                break;
            case ControlKind::TextBox:
                windowClass = L"EDIT";
                exStyle = WS_EX_CLIENTEDGE;
                style |= WS_TABSTOP | ES_LEFT;
                style |= design.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN : ES_AUTOHSCROLL;
                break;
            case ControlKind::CommandButton:
                windowClass = L"BUTTON";
                style |= WS_TABSTOP | BS_PUSHBUTTON;
                break;
        }
        Control control{&design};
        control.hwnd = CreateWindowExW(exStyle, windowClass, text.c_str(), style, 0, 0, 0, 0, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
        if (!control.hwnd) throw std::runtime_error("CreateWindowExW failed for a control");
        if (design.kind == ControlKind::TextBox) {
            if (design.multiLine) SetWindowSubclass(control.hwnd, MultiLineEditProc, 1, 0);
            boxes_.emplace(design.name, std::make_unique<Win32TextBox>(control.hwnd));
        } else if (design.kind == ControlKind::CommandButton) {
            buttons_.emplace(design.name, std::make_unique<Win32Button>(control.hwnd));
        }
        return control;
    }

    // Screen readers name an edit control after the label just above it in
    // z-order; here the labels lie below every other control, where the boxes
    // paint over them, so each box tells its name itself.
    void NameBoxesAfterTheirLabels()
    {
        for (const Control& box : controls_) {
            if (box.design->namedBy.empty()) continue;
            for (const Control& label : controls_) {
                if (label.design->name != box.design->namedBy) continue;
                const std::wstring& name = spokenNames_[box.design->name] = WideString(label.design->text);
                SetWindowSubclass(box.hwnd, NamedBoxProc, 2, reinterpret_cast<DWORD_PTR>(&name));
            }
        }
    }

    // The dialog manager tabs in z-order, top first: put the focusable controls
    // there by tab index, and the labels below them, where the boxes paint over them.
    void ArrangeZOrder()
    {
        std::vector<const Control*> order;
        for (const Control& c : controls_) order.push_back(&c);
        std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
            const bool aLabel = a->design->kind == ControlKind::Label, bLabel = b->design->kind == ControlKind::Label;
            if (aLabel != bLabel) return bLabel;
            return a->design->tabIndex < b->design->tabIndex;
        });
        HWND after = HWND_TOP;
        for (const Control* c : order) {
            SetWindowPos(c->hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = c->hwnd;
        }
    }

    HWND FirstInTabOrder() const
    {
        HWND first = nullptr;
        int best = 0;
        for (const Control& c : controls_) {
            if (c.design->kind == ControlKind::Label || !IsWindowEnabled(c.hwnd)) continue;
            if (!first || c.design->tabIndex < best) first = c.hwnd, best = c.design->tabIndex;
        }
        return first;
    }

    static int Scale(int twips, UINT dpi) { return TwipsToPixels(twips, static_cast<int>(dpi)); }

    // Twips to pixels at the window's DPI; fonts made again for it.
    void LayOut(UINT dpi)
    {
        for (Control& c : controls_) {
            const ControlDesign& d = *c.design;
            MoveWindow(c.hwnd, Scale(d.left, dpi), Scale(d.top, dpi), Scale(d.width, dpi), Scale(d.height, dpi), TRUE);
            HFONT font = CreateFontW(-MulDiv(d.font.tenThousandthsOfPoint, static_cast<int>(dpi), 72 * 10000),
                                     0, 0, 0, d.font.weight, d.font.italic, d.font.underline, d.font.strikethrough,
                                     static_cast<DWORD>(d.font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, WideString(d.font.face).c_str());
            SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
            if (c.font) DeleteObject(c.font);
            c.font = font;
        }
        RECT frame{0, 0, Scale(design_.clientWidth, dpi), Scale(design_.clientHeight, dpi)};
        AdjustFrame(frame, hwnd_, dpi);
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    LRESULT ColourControl(HDC dc, HWND child)
    {
        const Control* control = ControlOf(child);
        if (!control) return reinterpret_cast<LRESULT>(background_);
        if (control->design->kind == ControlKind::Label) {
            const COLORREF surface = SurfaceColour(control->design->backColor);
            SetBkColor(dc, surface);
            SetTextColor(dc, LabelTextColour(control->design->backColor));
            return reinterpret_cast<LRESULT>(LabelBrush(surface));
        }
        // A text box, enabled or not: its BackColor, a system colour painted as it is now.
        const Colour back = boxes_.at(control->design->name)->BackColor();
        SetBkColor(dc, ToColorRef(back));
        SetTextColor(dc, GetSysColor(IsWindowEnabled(child) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        if (IsSystemColour(back)) return reinterpret_cast<LRESULT>(GetSysColorBrush(static_cast<int>(SystemColourIndex(back))));
        return reinterpret_cast<LRESULT>(LabelBrush(back));
    }

    HBRUSH LabelBrush(Colour colour)
    {
        auto it = brushes_.find(colour);
        if (it == brushes_.end()) it = brushes_.emplace(colour, CreateSolidBrush(ToColorRef(colour))).first;
        return it->second;
    }

    void RememberFocus()
    {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    }

    void RestoreFocus()
    {
        HWND target = lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_) ? lastFocus_ : FirstInTabOrder();
        if (target && GetFocus() != target) ::SetFocus(target);
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
            case WM_COMMAND: {
                if (g_ended || lParam == 0) return 0;
                const int index = LOWORD(wParam) - kFirstControlId;
                if (index < 0 || index >= static_cast<int>(controls_.size())) return 0;  // IDOK, IDCANCEL: nothing
                const ControlDesign& design = *controls_[static_cast<std::size_t>(index)].design;
                if (HIWORD(wParam) == EN_CHANGE && design.kind == ControlKind::TextBox) {
                    if (auto& handler = boxes_.at(design.name)->onChange) handler();
                } else if (HIWORD(wParam) == BN_CLICKED && design.kind == ControlKind::CommandButton) {
                    if (auto& handler = buttons_.at(design.name)->onClick) handler();
                }
                return 0;
            }
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLOREDIT:
                return ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            case WM_ERASEBKGND: {
                RECT client;
                GetClientRect(hwnd_, &client);
                FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
                return 1;
            }
            case WM_SYSCOLORCHANGE:
            case WM_SETTINGCHANGE:  // high contrast turned on or off
                for (auto& [colour, brush] : brushes_) DeleteObject(brush);
                brushes_.clear();
                DeleteObject(background_);
                background_ = CreateSolidBrush(SurfaceColour(design_.backColor));
                RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                return 0;
            case WM_DPICHANGED: {
                LayOut(HIWORD(wParam));
                const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
                SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                             suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
                return 0;
            }
            // As a dialog does: the control that had the focus when the window
            // was left (minimised, another window activated, a message box
            // opened) has it again when the window comes back; the frame
            // itself never keeps it.
            case WM_ACTIVATE:
                if (LOWORD(wParam) == WA_INACTIVE) {
                    RememberFocus();
                } else if (!HIWORD(wParam)) {  // not while minimised
                    RestoreFocus();
                    return 0;
                }
                break;
            case WM_SYSCOMMAND:
                if ((wParam & 0xFFF0) == SC_MINIMIZE) RememberFocus();
                break;
            case WM_SETFOCUS:
                RestoreFocus();
                return 0;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                break;
        }
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    const FormDesign& design_;
    HWND hwnd_ = nullptr;
    HBRUSH background_ = nullptr;
    HICON icon_ = nullptr;
    HWND lastFocus_ = nullptr;
    std::vector<Control> controls_;
    std::map<Colour, HBRUSH> brushes_;
    std::map<std::string_view, std::wstring> spokenNames_;
    NamedControls<Win32TextBox> boxes_;
    NamedControls<Win32Button> buttons_;
};

HWND MainWindow() { return g_form ? g_form->hwnd() : nullptr; }
HWND ControlNamed(std::string_view name) { return g_form ? g_form->ControlHandle(name) : nullptr; }
std::string_view NameOf(HWND control) { return g_form ? g_form->ControlName(control) : std::string_view{}; }
bool Ended() { return g_ended; }

namespace {

bool IsButton(HWND hwnd)
{
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return lstrcmpiW(name, L"Button") == 0;
}

}  // namespace

void Dispatch(MSG& msg)
{
    // The dialog manager would press a focused button on Enter; here Enter presses none.
    const bool enter = (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) &&
                       msg.wParam == VK_RETURN;
    if (enter && IsButton(msg.hwnd)) return;
    HWND main = MainWindow();
    if (main && IsDialogMessageW(main, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

}  // namespace win32

std::unique_ptr<Form> CreateForm(const FormDesign& design)
{
    static const bool started = [] {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        // COM hands the boxes' accessible objects to screen readers in other processes.
        const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        return InitCommonControlsEx(&init) != FALSE && com;
    }();
    (void)started;
    return std::make_unique<win32::Win32Form>(design);
}

void ShowForm(Form& form)
{
    if (form.onLoad) form.onLoad();
    if (!win32::g_ended) static_cast<win32::Win32Form&>(form).Show();
}

int Run(Form& form)
{
    ShowForm(form);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) win32::Dispatch(msg);
    return 0;
}

int MessageBox(std::u16string_view text, std::u16string_view title, std::uint32_t style)
{
    return MessageBoxW(win32::MainWindow(), win32::WideString(text).c_str(), win32::WideString(title).c_str(), style);
}

std::int32_t SendMessageA(WindowHandle window, std::uint32_t message, std::uint32_t wParam, std::int32_t lParam)
{
    return static_cast<std::int32_t>(::SendMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam));
}

void End()
{
    win32::g_ended = true;
    if (HWND main = win32::MainWindow()) DestroyWindow(main);
}

}  // namespace ravelon::forms
