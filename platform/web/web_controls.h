#pragma once

// The window's controls as page elements: text boxes (an input, or a text
// area with its exact text beside it) and buttons.

#include <string>

#include "platform/forms.h"
#include "platform/web/shown_text.h"

namespace ravelon::forms::web {

class WebTextBox final : public TextBox {
public:
    WebTextBox(int id, bool multiLine);

    std::u16string Text() const override { return text_.Exact(); }
    void SetText(std::u16string_view text) override;
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;
    Colour BackColor() const override { return backColour_; }
    void SetBackColor(Colour colour) override;
    std::size_t SelStart() const override;
    void SetSelStart(std::size_t start) override;
    std::size_t SelLength() const override;
    void SetSelLength(std::size_t length) override;
    WindowHandle hWnd() const override { return static_cast<WindowHandle>(id_); }
    void SetFocus() override;

    // What the page tells of the user's edits.
    void Input(std::u16string_view value, std::size_t selStart, std::size_t selEnd, InputKind kind);
    void Paste(std::u16string_view text);  // exact text, at the selection
    void UndoOrRedo(bool redo);
    std::u16string SelectedText() const;
    void Copy() const;

private:
    void Show(std::size_t caret);  // the page's element takes the text again
    void Changed();

    const int id_;
    const bool multiLine_;
    ShownText text_;
    bool enabled_ = true;
    Colour backColour_ = 0x80000005u;
};

class WebButton final : public CommandButton {
public:
    explicit WebButton(int id) : id_(id) {}
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;

private:
    const int id_;
    bool enabled_ = true;
};

}  // namespace ravelon::forms::web
