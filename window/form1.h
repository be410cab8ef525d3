#pragma once

#include <optional>

#include "decoder/cipher_tables.h"
#include "platform/forms.h"
#include "window/message_box_sink.h"

namespace ravelon {

// The main window's behaviour, on a form built from kForm1Design.
class Form1 {
public:
    explicit Form1(forms::Form& form);

    void Form_Load();
    void txtEmail_Change();
    void btnDecrypt_Click();
    void btnCopy_Click();
    void btnPaste_Click();
    void btnExit_Click();

private:
    static void SendCopy(forms::WindowHandle window);
    static void SendPaste(forms::WindowHandle window);

    forms::TextBox& txtEmail;
    forms::TextBox& txtDecrypt;
    forms::CommandButton& btnDecrypt;
    forms::CommandButton& btnCopy;
    forms::CommandButton& btnPaste;
    forms::CommandButton& btnExit;

    std::optional<CipherTables> tables_;
    MessageBoxSink sink_;
};

}  // namespace ravelon
