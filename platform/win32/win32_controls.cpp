#include "platform/win32/win32_controls.h"

#include <commctrl.h>

#include "platform/win32/win32_accessible.h"

namespace ravelon::forms::win32 {

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

LRESULT CALLBACK NamedBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR name)
{
    if (message == WM_GETOBJECT) {
        if (LRESULT object = NamedAccessibleObject(hwnd, wParam, lParam, *reinterpret_cast<const std::wstring*>(name)))
            return object;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace ravelon::forms::win32
