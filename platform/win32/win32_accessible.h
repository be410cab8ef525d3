#pragma once

// Names for screen readers: a box is announced by the label that stands for
// it, whatever the z-order of the two.

#include <windows.h>

#include <string>

namespace ravelon::forms::win32 {

// Answers WM_GETOBJECT for `control`'s client area with the system's own
// accessible object for it, named `name`; 0 for anything else (the caller
// then lets the control answer).
LRESULT NamedAccessibleObject(HWND control, WPARAM wParam, LPARAM lParam, const std::wstring& name);

}  // namespace ravelon::forms::win32
