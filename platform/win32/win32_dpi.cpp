#include "platform/win32/win32_dpi.h"

namespace ravelon::forms::win32 {

namespace {

// The per-monitor DPI functions came with Windows 10; earlier systems get the
// screen's DPI and the plain frame computation.
template <class Function>
Function* User32(const char* name)
{
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

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
    if (forDpi)
        forDpi(&rect, style, FALSE, exStyle, dpi);
    else
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

}  // namespace ravelon::forms::win32
