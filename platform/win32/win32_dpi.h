#pragma once

// The window's DPI, and its frame around a client area at that DPI.

#include <windows.h>

namespace ravelon::forms::win32 {

UINT DpiOf(HWND window);
void AdjustFrame(RECT& rect, HWND window, UINT dpi);

}  // namespace ravelon::forms::win32
