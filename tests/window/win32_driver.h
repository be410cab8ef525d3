#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

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

// System colours set for one test, as a user or a theme would, and put back.
class SystemColours {
public:
    SystemColours(std::initializer_list<std::pair<int, COLORREF>> colours)
    {
        for (auto [index, colour] : colours) {
            indices_.push_back(index);
            saved_.push_back(GetSysColor(index));
            wanted_.push_back(colour);
        }
        SetSysColors(static_cast<int>(indices_.size()), indices_.data(), wanted_.data());
        forms::win32::PumpPending();
    }
    ~SystemColours()
    {
        SetSysColors(static_cast<int>(indices_.size()), indices_.data(), saved_.data());
        forms::win32::PumpPending();
    }

private:
    std::vector<int> indices_;
    std::vector<COLORREF> saved_, wanted_;
};

}  // namespace ravelon::testing
