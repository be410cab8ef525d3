// The scenario suite's driver for the Win32 backend under Wine (or Windows):
// real controls, the real clipboard, keys through the program's own loop, and
// modal message boxes read and closed from a timer inside their own loop.

#include "tests/window/win32_driver.h"

#include <chrono>
#include <stdexcept>
#include <utility>

#include "tests/window/scenario_driver.h"
#include "window/form1.h"
#include "window/form1_layout.h"

namespace ravelon::testing {

namespace {

// Another program may hold the clipboard open a moment after it changes
// (under Wine, the clipboard's bridge to X does): wait for it, as a program does.
void OpenClipboardWhenFree()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!OpenClipboard(nullptr)) {
        if (std::chrono::steady_clock::now() > deadline) throw std::runtime_error("the clipboard cannot be opened");
        Sleep(10);
    }
}

std::u16string WindowText(HWND hwnd)
{
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)), u'\0');
    GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
    return text;
}

std::vector<MessageBoxSeen>* g_seen = nullptr;

BOOL CALLBACK CollectButton(HWND child, LPARAM boxes)
{
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Button") == 0 && IsWindowVisible(child))
        reinterpret_cast<std::vector<std::u16string>*>(boxes)->push_back(WindowText(child));
    return TRUE;
}

std::uint32_t IconOf(HWND box)
{
    HWND iconStatic = GetDlgItem(box, 0x14);               // Windows' id of the icon
    if (!iconStatic) iconStatic = GetDlgItem(box, 0x440);  // Wine's
    const auto shown = reinterpret_cast<HICON>(SendMessageW(iconStatic, STM_GETICON, 0, 0));
    if (!shown) return 0;
    if (shown == LoadIconW(nullptr, MAKEINTRESOURCEW(32516))) return 0x40;  // IDI_INFORMATION
    if (shown == LoadIconW(nullptr, MAKEINTRESOURCEW(32515))) return 0x30;  // IDI_WARNING
    if (shown == LoadIconW(nullptr, MAKEINTRESOURCEW(32513))) return 0x10;  // IDI_ERROR
    if (shown == LoadIconW(nullptr, MAKEINTRESOURCEW(32514))) return 0x20;  // IDI_QUESTION
    return 0xFF;
}

BOOL CALLBACK CloseIfMessageBox(HWND window, LPARAM)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    MessageBoxSeen seen{WindowText(GetDlgItem(window, 0xFFFF)), WindowText(window), IconOf(window), {}};
    EnumChildWindows(window, CollectButton, reinterpret_cast<LPARAM>(&seen.buttons));
    if (g_seen) g_seen->push_back(std::move(seen));
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK WatchForMessageBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), CloseIfMessageBox, 0);
}

std::uint32_t Pixel(HWND window, int x, int y)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

class Win32Driver final : public ScenarioDriver {
public:
    Win32Driver()
    {
        g_seen = &boxes_;
        timer_ = SetTimer(nullptr, 0, 10, WatchForMessageBoxes);
    }
    ~Win32Driver() override
    {
        KillTimer(nullptr, timer_);
        g_seen = nullptr;
    }

    void TypeIntoEmail(std::u16string_view text) override { TypeAtEnd(program_.Control("txtEmail"), text); }
    void Backspace(std::size_t times) override
    {
        TypeAtEnd(program_.Control("txtEmail"), std::u16string(times, VK_BACK));
    }
    void ReplaceEmail(std::u16string_view text) override { Replace(program_.Control("txtEmail"), text); }
    void PasteIntoEmail() override
    {
        HWND email = program_.Control("txtEmail");
        CaretToEnd(email);
        SendMessageW(email, WM_PASTE, 0, 0);
        forms::win32::PumpPending();
    }
    void TypeIntoCode(std::u16string_view text) override { TypeAtEnd(program_.Control("txtDecrypt"), text); }
    void BackspaceInCode(std::size_t times) override
    {
        TypeAtEnd(program_.Control("txtDecrypt"), std::u16string(times, VK_BACK));
    }
    void ReplaceCodeByHand(std::u16string_view text) override { Replace(program_.Control("txtDecrypt"), text); }
    void Click(std::string_view button) override
    {
        HWND hwnd = program_.Control(button);
        if (!IsWindowEnabled(hwnd)) return;  // a disabled button takes no click
        SendMessageW(hwnd, BM_CLICK, 0, 0);
        forms::win32::PumpPending();
    }
    void MinimiseAndRestore() override
    {
        SendMessageW(program_.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        forms::win32::PumpPending();
        SendMessageW(program_.window(), WM_SYSCOMMAND, SC_RESTORE, 0);
        forms::win32::PumpPending();
    }
    void SwitchAwayAndBack() override
    {
        HWND other = CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(other);
        SetActiveWindow(other);
        forms::win32::PumpPending();
        SetForegroundWindow(program_.window());
        SetActiveWindow(program_.window());
        forms::win32::PumpPending();
        DestroyWindow(other);
        forms::win32::PumpPending();
    }
    void CloseWindow() override
    {
        PostMessageW(program_.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        forms::win32::PumpPending();
    }
    bool SupportsKeys() const override { return true; }
    void Press(Key key) override
    {
        const WPARAM vk = key == Key::Enter ? VK_RETURN : key == Key::Escape ? VK_ESCAPE : VK_TAB;
        BYTE state[256];
        GetKeyboardState(state);
        const BYTE shift = state[VK_SHIFT];
        state[VK_SHIFT] = key == Key::ShiftTab ? 0x80 : 0;
        SetKeyboardState(state);
        HWND target = GetFocus() ? GetFocus() : forms::win32::MainWindow();
        PostMessageW(target, WM_KEYDOWN, vk, 1);
        PostMessageW(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
        forms::win32::PumpPending();
        state[VK_SHIFT] = shift;
        SetKeyboardState(state);
    }

    std::u16string Text(std::string_view box) override { return program_.form().TextBoxNamed(box).Text(); }
    bool Enabled(std::string_view control) override { return IsWindowEnabled(program_.Control(control)) != FALSE; }
    std::uint32_t PaintedColour(std::string_view box) override
    {
        HWND hwnd = program_.Control(box);
        RECT client;
        GetClientRect(hwnd, &client);
        return Pixel(hwnd, client.right - 3, client.bottom - 3);
    }
    std::string Focused() override { return std::string(forms::win32::NameOf(GetFocus())); }
    std::vector<MessageBoxSeen> TakeMessageBoxes() override { return std::exchange(boxes_, {}); }
    // The window is destroyed and the loop has been told to quit.
    bool Ended() override
    {
        MSG quit;
        return !IsWindow(program_.window()) && PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
    }

    std::optional<std::u16string> Clipboard() override
    {
        OpenClipboardWhenFree();
        std::optional<std::u16string> text;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* p = static_cast<const char16_t*>(GlobalLock(data))) {
                text = std::u16string(p);
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
    }
    void SetClipboard(std::optional<std::u16string> text) override
    {
        OpenClipboardWhenFree();
        EmptyClipboard();
        if (text) {
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text->size() + 1) * sizeof(char16_t));
            auto* p = static_cast<char16_t*>(GlobalLock(memory));
            std::copy(text->begin(), text->end(), p);
            p[text->size()] = u'\0';
            GlobalUnlock(memory);
            SetClipboardData(CF_UNICODETEXT, memory);
        }
        CloseClipboard();
    }

private:
    static void CaretToEnd(HWND box)
    {
        const LRESULT end = GetWindowTextLengthW(box);
        SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
    }

    // One keystroke per unit, at the end of the box (VK_BACK is Backspace, CR is Enter).
    static void TypeAtEnd(HWND box, std::u16string_view keys)
    {
        CaretToEnd(box);
        for (char16_t c : keys) SendMessageW(box, WM_CHAR, c, 1);
        forms::win32::PumpPending();
    }

    static void Replace(HWND box, std::u16string_view text)
    {
        const std::wstring wide(reinterpret_cast<const wchar_t*>(text.data()), text.size());
        SendMessageW(box, EM_SETSEL, 0, -1);
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
        forms::win32::PumpPending();
    }

    SystemColours colours_{{COLOR_WINDOW, kTestColourWindow}, {COLOR_ACTIVEBORDER, kTestColourActiveBorder}};
    Win32Program program_;
    UINT_PTR timer_ = 0;
    std::vector<MessageBoxSeen> boxes_;
};

}  // namespace

Win32Program::Win32Program() : form_(forms::CreateForm(kForm1Design)), form1_(std::make_unique<Form1>(*form_))
{
    forms::ShowForm(*form_);
    window_ = forms::win32::MainWindow();
    forms::win32::PumpPending();
}

Win32Program::~Win32Program()
{
    form1_.reset();
    form_.reset();
    // The window's end posts WM_QUIT; left queued, it would end the next
    // program's first message box at once.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
    }
}

HWND Win32Program::Control(std::string_view name) const
{
    HWND hwnd = forms::win32::ControlNamed(name);
    if (!hwnd) throw std::out_of_range("no control named " + std::string(name));
    return hwnd;
}

std::unique_ptr<ScenarioDriver> StartProgram()
{
    return std::make_unique<Win32Driver>();
}

}  // namespace ravelon::testing
