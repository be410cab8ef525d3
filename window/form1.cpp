#include "window/form1.h"

#include "decoder/decrypt_request.h"

namespace ravelon {

namespace {

constexpr forms::Colour kActiveBorder = 0x8000000Au;  // the code box while disabled
constexpr forms::Colour kWindowBackground = 0x80000005u;

std::u16string Widen(const char* ascii)
{
    std::u16string text;
    for (; *ascii; ++ascii) text += static_cast<char16_t>(static_cast<unsigned char>(*ascii));
    return text;
}

}  // namespace

Form1::Form1(forms::Form& form)
    : txtEmail(form.TextBoxNamed("txtEmail")),
      txtDecrypt(form.TextBoxNamed("txtDecrypt")),
      btnDecrypt(form.ButtonNamed("btnDecrypt")),
      btnCopy(form.ButtonNamed("btnCopy")),
      btnPaste(form.ButtonNamed("btnPaste")),
      btnExit(form.ButtonNamed("btnExit"))
{
    form.onLoad = [this] { Form_Load(); };
    txtEmail.onChange = [this] { txtEmail_Change(); };
    btnDecrypt.onClick = [this] { btnDecrypt_Click(); };
    btnCopy.onClick = [this] { btnCopy_Click(); };
    btnPaste.onClick = [this] { btnPaste_Click(); };
    btnExit.onClick = [this] { btnExit_Click(); };
}

void Form1::Form_Load()
{
    txtDecrypt.SetBackColor(kActiveBorder);
    txtDecrypt.SetEnabled(false);
    btnCopy.SetEnabled(false);
    btnPaste.SetEnabled(false);
    tables_ = BuildCipherTables();
}

void Form1::txtEmail_Change()
{
    if (txtEmail.Text().empty()) {
        txtDecrypt.SetEnabled(false);
        txtDecrypt.SetBackColor(kActiveBorder);
        btnCopy.SetEnabled(false);
        btnPaste.SetEnabled(false);
    } else {
        txtDecrypt.SetEnabled(true);
        txtDecrypt.SetBackColor(kWindowBackground);
        btnCopy.SetEnabled(true);
        btnPaste.SetEnabled(true);
    }
}

void Form1::btnDecrypt_Click()
{
    const std::u16string address = txtEmail.Text();
    const std::u16string code = txtDecrypt.Text();
    try {
        if (std::optional<DecryptedText> plain = DecryptRequest(address, code, sink_, *tables_))
            txtDecrypt.SetText(plain->View());
    } catch (const DecodeError& failure) {
        // The code box keeps its text and the program goes on.
        (void)forms::MessageBox(Widen(failure.what()), u"Error", forms::MB_OK | forms::MB_ICONWARNING);
    }
}

void Form1::btnCopy_Click()
{
    txtDecrypt.SetSelStart(0);
    txtDecrypt.SetSelLength(txtDecrypt.Text().size());
    SendCopy(txtDecrypt.hWnd());
}

void Form1::btnPaste_Click()
{
    txtDecrypt.SetFocus();
    txtDecrypt.SetText(u"");
    SendPaste(txtDecrypt.hWnd());
}

void Form1::btnExit_Click() { forms::End(); }

void Form1::SendCopy(forms::WindowHandle window) { (void)forms::SendMessageA(window, forms::WM_COPY, 0, 0); }

void Form1::SendPaste(forms::WindowHandle window) { (void)forms::SendMessageA(window, forms::WM_PASTE, 0, 0); }

}  // namespace ravelon
