#pragma once

#include <memory>
#include <string_view>

#include "platform/win32/win32_forms.h"
#include "window/form1.h"

namespace ravelon::testing {

// The real program on Win32, loaded and shown, without entering the loop.
class Win32Program {
public:
    Win32Program();
    ~Win32Program();

    HWND window() const { return window_; }
    forms::Form& form() { return *form_; }
    HWND Control(std::string_view name) const;

private:
    std::unique_ptr<forms::Form> form_;
    std::unique_ptr<Form1> form1_;
    HWND window_ = nullptr;
};

}  // namespace ravelon::testing
