// What a screen reader is told about each control of Ravelon.exe, read as
// screen readers read it: through oleacc's AccessibleObjectFromWindow.

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>

#include "tests/row_name.h"
#include "tests/window/win32_driver.h"

namespace ravelon::testing {
namespace {

struct Spoken {
    const char* name;  // of the control
    long role;
    const wchar_t* spokenName;
    friend void PrintTo(const Spoken& row, std::ostream* os) { *os << row.name; }
};

class Accessible {
public:
    Accessible(HWND window, DWORD object)
    {
        result_ = AccessibleObjectFromWindow(window, object, __uuidof(IAccessible), reinterpret_cast<void**>(&object_));
    }
    HRESULT result() const { return result_; }
    ~Accessible()
    {
        if (object_) object_->Release();
    }
    explicit operator bool() const { return object_ != nullptr; }

    std::wstring Name() const
    {
        BSTR name = nullptr;
        if (FAILED(object_->get_accName(Self(), &name)) || !name) return L"(no name)";
        std::wstring text(name, SysStringLen(name));
        SysFreeString(name);
        return text;
    }
    long Role() const
    {
        VARIANT role;
        VariantInit(&role);
        return SUCCEEDED(object_->get_accRole(Self(), &role)) && role.vt == VT_I4 ? role.lVal : -1;
    }

private:
    static VARIANT Self()
    {
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }
    IAccessible* object_ = nullptr;
    HRESULT result_ = E_FAIL;
};

// Wine's oleacc knows no button class: it announces a button as a client
// area (by its caption all the same). Windows announces a push button.
bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

class Win32Accessible : public ::testing::TestWithParam<Spoken> {
protected:
    Win32Program program;
};

TEST_P(Win32Accessible, ControlIsAnnouncedWithItsRoleAndName)
{
    const Spoken& row = GetParam();
    const Accessible control(program.Control(row.name), static_cast<DWORD>(OBJID_CLIENT));
    ASSERT_TRUE(control) << std::hex << control.result();
    if (!(row.role == ROLE_SYSTEM_PUSHBUTTON && UnderWine())) {
        EXPECT_EQ(control.Role(), row.role);
    }
    EXPECT_EQ(control.Name(), row.spokenName);
}

INSTANTIATE_TEST_SUITE_P(Controls, Win32Accessible, ::testing::Values(
    Spoken{"txtEmail", ROLE_SYSTEM_TEXT, L"Please enter the email address here:"},
    Spoken{"txtDecrypt", ROLE_SYSTEM_TEXT, L"Please paste the encrypted code here:"},
    Spoken{"btnDecrypt", ROLE_SYSTEM_PUSHBUTTON, L"Decrypt"},
    Spoken{"btnCopy", ROLE_SYSTEM_PUSHBUTTON, L"Copy"},
    Spoken{"btnPaste", ROLE_SYSTEM_PUSHBUTTON, L"Paste"},
    Spoken{"btnExit", ROLE_SYSTEM_PUSHBUTTON, L"Exit"}), RowName());

TEST(Win32AccessibleWindow, IsAnnouncedByItsCaption)
{
    Win32Program program;
    const Accessible window(program.window(), static_cast<DWORD>(OBJID_CLIENT));
    ASSERT_TRUE(window);
    EXPECT_EQ(window.Role(), ROLE_SYSTEM_CLIENT);
    EXPECT_EQ(window.Name(), L"Ravelon ");
}

}  // namespace
}  // namespace ravelon::testing
