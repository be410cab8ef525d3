#pragma once

// The program's window: the design's controls, its colours, the focus it
// keeps, and one static window procedure that finds the form at WM_NCCREATE.

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms.h"
#include "platform/named_controls.h"
#include "platform/win32/win32_controls.h"

namespace ravelon::forms::win32 {

class Win32Form;

// The one form while it lives, and whether the program has ended.
inline Win32Form* g_form = nullptr;
inline bool g_ended = false;

class Win32Form final : public Form {
public:
    explicit Win32Form(const FormDesign& design);
    ~Win32Form() override;
    TextBox& TextBoxNamed(std::string_view name) override;
    CommandButton& ButtonNamed(std::string_view name) override;
    HWND hwnd() const;
    HWND ControlHandle(std::string_view name) const;
    const Control* ControlOf(HWND hwnd) const;
    std::string_view ControlName(HWND hwnd) const;
    void Show();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static void RegisterClassOnce();
    Control Create(const ControlDesign& design, int id);
    // Screen readers name an edit control after the label just above it in
    // z-order; here the labels lie below every other control, where the boxes
    // paint over them, so each box tells its name itself.
    void NameBoxesAfterTheirLabels();
    // The dialog manager tabs in z-order, top first: put the focusable controls
    // there by tab index, and the labels below them, where the boxes paint over them.
    void ArrangeZOrder();
    HWND FirstInTabOrder() const;
    static int Scale(int twips, UINT dpi);
    // Twips to pixels at the window's DPI; fonts made again for it.
    void LayOut(UINT dpi);
    LRESULT ColourControl(HDC dc, HWND child);
    HBRUSH LabelBrush(Colour colour);
    void RememberFocus();
    void RestoreFocus();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    const FormDesign& design_;
    HWND hwnd_ = nullptr;
    HBRUSH background_ = nullptr;
    HICON icon_ = nullptr;
    HWND lastFocus_ = nullptr;
    std::vector<Control> controls_;
    std::map<Colour, HBRUSH> brushes_;
    std::map<std::string_view, std::wstring> spokenNames_;
    NamedControls<Win32TextBox> boxes_;
    NamedControls<Win32Button> buttons_;
};

}  // namespace ravelon::forms::win32
