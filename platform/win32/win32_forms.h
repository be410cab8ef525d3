#pragma once

// What the Win32 backend offers beyond the forms layer, for its tests.

#include <windows.h>
#undef MessageBox  // the forms layer has its own

#include <string_view>

#include "platform/forms.h"

namespace ravelon::forms {

// Loads and shows the form without entering the event loop.
void ShowForm(Form& form);

namespace win32 {

HWND MainWindow();
HWND ControlNamed(std::string_view name);
std::string_view NameOf(HWND control);
bool Ended();

// One message through the program's own loop: keyboard navigation first.
void Dispatch(MSG& msg);
// Dispatches everything queued, then returns.
void PumpPending();

}  // namespace win32
}  // namespace ravelon::forms
