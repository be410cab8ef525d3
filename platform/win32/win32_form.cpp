#include "platform/win32/win32_form.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "platform/win32/win32_colours.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_support.h"

namespace ravelon::forms::win32 {

namespace {

constexpr wchar_t kClassName[] = L"RavelonForm";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL: Enter and Esc find no button

}  // namespace

Win32Form::Win32Form(const FormDesign& design) : design_(design)
{
    RegisterClassOnce();
    background_ = CreateSolidBrush(SurfaceColour(design.backColor));
    const std::wstring caption = WideString(design.caption);
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

Win32Form::~Win32Form()
{
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    for (Control& c : controls_) DeleteObject(c.font);
    DeleteObject(background_);
    if (g_form == this) g_form = nullptr;
}

TextBox& Win32Form::TextBoxNamed(std::string_view name)
{
    return FindNamed(boxes_, name);
}

CommandButton& Win32Form::ButtonNamed(std::string_view name)
{
    return FindNamed(buttons_, name);
}

HWND Win32Form::hwnd() const
{
    return hwnd_;
}

HWND Win32Form::ControlHandle(std::string_view name) const
{
    for (const Control& c : controls_)
        if (c.design->name == name) return c.hwnd;
    return nullptr;
}

const Control* Win32Form::ControlOf(HWND hwnd) const
{
    for (const Control& c : controls_)
        if (c.hwnd == hwnd) return &c;
    return nullptr;
}

std::string_view Win32Form::ControlName(HWND hwnd) const
{
    const Control* control = ControlOf(hwnd);
    return control ? control->design->name : std::string_view{};
}

void Win32Form::Show()
{
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    if (HWND first = FirstInTabOrder()) ::SetFocus(first);
}

LRESULT CALLBACK Win32Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
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

void Win32Form::RegisterClassOnce()
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

Control Win32Form::Create(const ControlDesign& design, int id)
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
void Win32Form::NameBoxesAfterTheirLabels()
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
void Win32Form::ArrangeZOrder()
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

HWND Win32Form::FirstInTabOrder() const
{
    HWND first = nullptr;
    int best = 0;
    for (const Control& c : controls_) {
        if (c.design->kind == ControlKind::Label || !IsWindowEnabled(c.hwnd)) continue;
        if (!first || c.design->tabIndex < best) first = c.hwnd, best = c.design->tabIndex;
    }
    return first;
}

int Win32Form::Scale(int twips, UINT dpi)
{
    return TwipsToPixels(twips, static_cast<int>(dpi));
}

// Twips to pixels at the window's DPI; fonts made again for it.
void Win32Form::LayOut(UINT dpi)
{
    for (Control& c : controls_) {
        const ControlDesign& d = *c.design;
        MoveWindow(c.hwnd, Scale(d.left, dpi), Scale(d.top, dpi), Scale(d.width, dpi), Scale(d.height, dpi), TRUE);
        HFONT font = CreateFontW(-MulDiv(d.font.tenThousandthsOfPoint, static_cast<int>(dpi), 72 * 10000), 0, 0, 0,
                                 d.font.weight, d.font.italic, d.font.underline, d.font.strikethrough,
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

LRESULT Win32Form::ColourControl(HDC dc, HWND child)
{
    const Control* control = ControlOf(child);
    if (!control) return reinterpret_cast<LRESULT>(background_);
    if (control->design->kind == ControlKind::Label) {
        const COLORREF surface = SurfaceColour(control->design->backColor);
        SetBkColor(dc, surface);
        SetTextColor(dc, LabelTextColour(control->design->backColor));
        return reinterpret_cast<LRESULT>(LabelBrush(surface));
    }
    const Colour back = boxes_.at(control->design->name)->BackColor();
    SetBkColor(dc, ToColorRef(back));
    SetTextColor(dc, GetSysColor(IsWindowEnabled(child) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    if (IsSystemColour(back))
        return reinterpret_cast<LRESULT>(GetSysColorBrush(static_cast<int>(SystemColourIndex(back))));
    return reinterpret_cast<LRESULT>(LabelBrush(back));
}

HBRUSH Win32Form::LabelBrush(Colour colour)
{
    auto it = brushes_.find(colour);
    if (it == brushes_.end()) it = brushes_.emplace(colour, CreateSolidBrush(ToColorRef(colour))).first;
    return it->second;
}

void Win32Form::RememberFocus()
{
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
}

void Win32Form::RestoreFocus()
{
    HWND target = lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_) ? lastFocus_ : FirstInTabOrder();
    if (target && GetFocus() != target) ::SetFocus(target);
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
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

}  // namespace ravelon::forms::win32
