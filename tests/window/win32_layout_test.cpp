// The window as built from native controls, at the DPI Wine (or Windows) gives it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/readable_colour.h"
#include "platform/win32/win32_forms.h"
#include "tests/row_name.h"
#include "tests/window/win32_driver.h"

namespace ravelon::testing {
namespace {

constexpr COLORREF kLightBlue = RGB(171, 214, 252);

struct Placement {
    const char* name;
    RECT pixelsAt96;  // left, top, right, bottom
    const wchar_t* text;
    bool title;
    friend void PrintTo(const Placement& row, std::ostream* os) { *os << row.name; }
};

int DpiOf(HWND window)
{
    HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(window, dc);
    return dpi;
}

// The design's pixels at 96 dpi are whole multiples of 15 twips; at another
// DPI each edge lands on the nearest pixel.
int AtDpi(int pixelsAt96, int dpi) { return (pixelsAt96 * 15 * dpi + 720) / 1440; }

std::wstring TextOf(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)), L'\0');
    GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size() + 1));
    return text;
}

class Win32Layout : public ::testing::TestWithParam<Placement> {
protected:
    Win32Program program;
    int dpi = DpiOf(program.window());
};

TEST_P(Win32Layout, ControlSitsOnItsDesignRectangleWithItsCaptionAndFont)
{
    const Placement& row = GetParam();
    HWND control = program.Control(row.name);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, program.window(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, AtDpi(row.pixelsAt96.left, dpi));
    EXPECT_EQ(rect.top, AtDpi(row.pixelsAt96.top, dpi));
    EXPECT_EQ(rect.right - rect.left, AtDpi(row.pixelsAt96.right - row.pixelsAt96.left, dpi)) << "width";
    EXPECT_EQ(rect.bottom - rect.top, AtDpi(row.pixelsAt96.bottom - row.pixelsAt96.top, dpi)) << "height";
    EXPECT_EQ(TextOf(control), row.text);

    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    const int em = row.title ? (dpi == 96 ? 19 : dpi == 144 ? 29 : MulDiv(1425, dpi, 7200))
                             : (dpi == 96 ? 13 : dpi == 144 ? 20 : MulDiv(975, dpi, 7200));
    EXPECT_EQ(font.lfHeight, -em);
    EXPECT_EQ(font.lfWeight, row.title ? 700 : 400);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, Win32Layout,
    ::testing::Values(Placement{"btnCopy", {136, 264, 241, 297}, L"Copy", false},
                      Placement{"btnPaste", {8, 264, 113, 297}, L"Paste", false},
                      Placement{"btnExit", {320, 312, 425, 345}, L"Exit", false},
                      Placement{"txtEmail", {8, 88, 433, 113}, L"", false},
                      Placement{"btnDecrypt", {8, 312, 241, 345}, L"Decrypt", false},
                      Placement{"txtDecrypt", {8, 160, 433, 257}, L"", false},
                      Placement{"Label4", {8, 8, 433, 41}, L"Ravelon", true},
                      Placement{"Label3", {8, 64, 433, 89}, L"Please enter the email address here:", false},
                      Placement{"Label1", {8, 136, 433, 161}, L"Please paste the encrypted code here:", false}),
    RowName{});

class Win32LayoutWindow : public ::testing::Test {
protected:
    COLORREF Pixel(int x, int y)
    {
        RedrawWindow(program.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HDC dc = GetDC(program.window());
        const COLORREF c = GetPixel(dc, AtDpi(x, dpi), AtDpi(y, dpi));
        ReleaseDC(program.window(), dc);
        return c;
    }

    Win32Program program;
    int dpi = DpiOf(program.window());
};

TEST_F(Win32LayoutWindow, RunsAtTheDpiItWasStartedFor)
{
    const char* expected = std::getenv("RAVELON_WINE_DPI");  // which prefix the test runs in
    EXPECT_EQ(dpi, expected ? std::atoi(expected) : 96);
}

TEST_F(Win32LayoutWindow, CaptionIconAndClientArea)
{
    EXPECT_EQ(TextOf(program.window()), L"Ravelon ");
    EXPECT_NE(SendMessageW(program.window(), WM_GETICON, ICON_BIG, 0), 0);
    RECT client;
    GetClientRect(program.window(), &client);
    EXPECT_EQ(client.right, AtDpi(442, dpi));
    EXPECT_EQ(client.bottom, AtDpi(356, dpi));
}

TEST_F(Win32LayoutWindow, PaintsLightBlueAroundAndBehindTheLabels)
{
    EXPECT_EQ(Pixel(2, 2), kLightBlue) << "window";
    EXPECT_EQ(Pixel(10, 66), kLightBlue) << "Label3";
    EXPECT_EQ(Pixel(10, 138), kLightBlue) << "Label1";
    EXPECT_EQ(Pixel(438, 350), kLightBlue);
}

TEST_F(Win32LayoutWindow, BoxesAreDrawnOverTheRowTheyShareWithALabel)
{
    EXPECT_NE(Pixel(200, 88), kLightBlue);
    EXPECT_NE(Pixel(200, 160), kLightBlue);
    EXPECT_EQ(Pixel(200, 87), kLightBlue);
}

// The painted pixel of a control that stands out most from its top-left
// pixel (its background), and by how much.
struct Ink {
    COLORREF colour;
    double contrast;
};
// The control's client area as painted, one COLORREF a pixel.
std::vector<COLORREF> Capture(HWND control)
{
    RedrawWindow(GetParent(control), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect;
    GetClientRect(control, &rect);
    HDC screen = GetDC(control);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), rect.right, -rect.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, rect.right, rect.bottom, screen, 0, 0, SRCCOPY);
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<COLORREF> colours;
    for (long i = 0; i < rect.right * rect.bottom; ++i)
        colours.push_back(RGB(pixels[i] >> 16 & 0xFF, pixels[i] >> 8 & 0xFF, pixels[i] & 0xFF));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(control, screen);
    return colours;
}

Ink InkOf(HWND control)
{
    const std::vector<COLORREF> pixels = Capture(control);
    Ink ink{pixels.at(0), 1.0};
    for (COLORREF c : pixels) {
        const double contrast = forms::ContrastRatio(c, pixels[0]);
        if (contrast > ink.contrast) ink = {c, contrast};
    }
    return ink;
}

long PixelsOf(HWND control, COLORREF colour)
{
    const std::vector<COLORREF> pixels = Capture(control);
    return static_cast<long>(std::count(pixels.begin(), pixels.end(), colour));
}

TEST_F(Win32LayoutWindow, BoxesHideTheirSelectionWhenTheyLoseTheFocus)
{
    const SystemColours highlight{{COLOR_HIGHLIGHT, RGB(255, 0, 0)}};
    for (const char* name : {"txtEmail", "txtDecrypt"}) {
        HWND box = program.Control(name);
        EnableWindow(box, TRUE);
        SetWindowTextW(box, L"WWWWWWWW");
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
        EXPECT_GT(PixelsOf(box, RGB(255, 0, 0)), 50) << name << " shows its selection while focused";
        SetFocus(program.Control("btnExit"));
        EXPECT_EQ(PixelsOf(box, RGB(255, 0, 0)), 0) << name << " still shows its selection";
    }
}

TEST_F(Win32LayoutWindow, LabelsWriteInTheSystemButtonTextWhereItIsReadable)
{
    const SystemColours ordinary{{COLOR_BTNTEXT, RGB(128, 0, 0)}};
    for (const char* label : {"Label4", "Label3", "Label1"}) {
        const Ink ink = InkOf(program.Control(label));
        EXPECT_EQ(ink.colour, RGB(128, 0, 0)) << label;
        std::printf("%s, dark red button text: contrast %.2f:1\n", label, ink.contrast);
    }
}

TEST_F(Win32LayoutWindow, LabelsStayReadableWhenTheSystemButtonTextIsLight)
{
    const SystemColours light{{COLOR_BTNTEXT, RGB(240, 240, 240)}};
    for (const char* label : {"Label4", "Label3", "Label1"}) {
        const Ink ink = InkOf(program.Control(label));
        EXPECT_GE(ink.contrast, forms::kReadableContrast) << label;
        std::printf("%s, light button text: contrast %.2f:1\n", label, ink.contrast);
    }
}

TEST_F(Win32LayoutWindow, HighContrastTakesTheUsersColoursAndFollowsThem)
{
    HIGHCONTRASTW on{sizeof on, HCF_HIGHCONTRASTON, nullptr}, off{sizeof off, 0, nullptr};
    if (!SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof on, &on, SPIF_SENDCHANGE))
        GTEST_SKIP() << "this system cannot be put in high-contrast mode";
    {
        const SystemColours black{{COLOR_BTNFACE, RGB(0, 0, 0)}, {COLOR_BTNTEXT, RGB(255, 255, 255)}};
        EXPECT_EQ(Pixel(2, 2), RGB(0, 0, 0)) << "window";
        EXPECT_EQ(Pixel(10, 66), RGB(0, 0, 0)) << "Label3";
        const Ink ink = InkOf(program.Control("Label3"));
        EXPECT_EQ(ink.colour, RGB(255, 255, 255));
        std::printf("Label3, high contrast black: contrast %.2f:1\n", ink.contrast);
    }
    SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof off, &off, SPIF_SENDCHANGE);
    forms::win32::PumpPending();
    EXPECT_EQ(Pixel(2, 2), kLightBlue) << "back to the design when high contrast ends";
}

}  // namespace
}  // namespace ravelon::testing
