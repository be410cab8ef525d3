#pragma once

// The forms layer the main window is written against: controls with the
// properties its handlers use, the message box, SendMessageA, program end and
// the event loop. Each backend (Qt, Win32) implements it; no toolkit type
// appears here.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/design.h"

namespace ravelon::forms {

// A text box's native window handle, as an integer wide enough for a pointer.
using WindowHandle = std::uintptr_t;

#ifndef WM_COPY
inline constexpr std::uint32_t WM_COPY = 0x0301;
inline constexpr std::uint32_t WM_PASTE = 0x0302;
#endif
#ifndef MB_OK
inline constexpr std::uint32_t MB_OK = 0x00;
inline constexpr std::uint32_t MB_ICONWARNING = 0x30;
inline constexpr std::uint32_t MB_ICONINFORMATION = 0x40;
#endif

class TextBox {
public:
    virtual ~TextBox() = default;
    virtual std::u16string Text() const = 0;
    virtual void SetText(std::u16string_view text) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual Colour BackColor() const = 0;
    virtual void SetBackColor(Colour colour) = 0;
    // Selection in code units of Text(), counted from 0.
    virtual std::size_t SelStart() const = 0;
    virtual void SetSelStart(std::size_t start) = 0;
    virtual std::size_t SelLength() const = 0;
    virtual void SetSelLength(std::size_t length) = 0;
    virtual WindowHandle hWnd() const = 0;
    virtual void SetFocus() = 0;

    std::function<void()> onChange;
};

class CommandButton {
public:
    virtual ~CommandButton() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;

    std::function<void()> onClick;
};

// A top-level window built from a FormDesign; controls are reached by name.
class Form {
public:
    virtual ~Form() = default;
    virtual TextBox& TextBoxNamed(std::string_view name) = 0;
    virtual CommandButton& ButtonNamed(std::string_view name) = 0;

    std::function<void()> onLoad;
};

std::unique_ptr<Form> CreateForm(const FormDesign& design);

// Calls the form's onLoad, shows it, and delivers events until the program
// ends. Returns the process exit code.
int Run(Form& form);

// Modal; returns the button pressed (1 for OK).
int MessageBox(std::u16string_view text, std::u16string_view title, std::uint32_t style);

// Handled on the calling thread before it returns; only WM_COPY and WM_PASTE
// to a text box are understood.
std::int32_t SendMessageA(WindowHandle window, std::uint32_t message, std::uint32_t wParam, std::int32_t lParam);

// Ends the program at once: the window goes away and no handler runs again.
void End();

}  // namespace ravelon::forms
