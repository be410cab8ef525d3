// The forms layer on plain Win32: the program's message loop, with the
// dialog manager's keyboard navigation, and the layer's entry points.

#include "platform/win32/win32_forms.h"

#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "platform/win32/win32_form.h"
#include "platform/win32/win32_support.h"

namespace ravelon::forms {

namespace win32 {

HWND MainWindow()
{
    return g_form ? g_form->hwnd() : nullptr;
}
HWND ControlNamed(std::string_view name)
{
    return g_form ? g_form->ControlHandle(name) : nullptr;
}
std::string_view NameOf(HWND control)
{
    return g_form ? g_form->ControlName(control) : std::string_view{};
}
bool Ended()
{
    return g_ended;
}

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
    const bool enter =
        (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) && msg.wParam == VK_RETURN;
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
