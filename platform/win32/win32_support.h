#pragma once

// Small conversions the Win32 backend uses throughout.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/design.h"

namespace ravelon::forms::win32 {

inline const wchar_t* Wide(std::u16string_view text)
{
    return reinterpret_cast<const wchar_t*>(text.data());
}

inline std::wstring WideString(std::u16string_view text)
{
    return std::wstring(Wide(text), text.size());
}

inline COLORREF ToColorRef(Colour colour)
{
    if (IsSystemColour(colour)) return GetSysColor(static_cast<int>(SystemColourIndex(colour)));
    return static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

inline HINSTANCE Instance()
{
    return GetModuleHandleW(nullptr);
}

}  // namespace ravelon::forms::win32
