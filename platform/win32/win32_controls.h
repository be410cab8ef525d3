#pragma once

// The native controls behind the forms layer's text boxes and buttons.

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/forms.h"
#include "platform/win32/win32_support.h"

namespace ravelon::forms::win32 {

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
            const int copied =
                GetWindowTextW(hwnd_, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
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
LRESULT CALLBACK MultiLineEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);
// A box announced by its label's caption, the std::wstring at `name`.
LRESULT CALLBACK NamedBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR name);

}  // namespace ravelon::forms::win32
