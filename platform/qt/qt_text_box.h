#pragma once

// What the two Qt text boxes share: a window handle, a back colour, the exact
// text, and the LightText that shows a big one.

#include <QColor>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "platform/forms.h"
#include "platform/qt/light_text.h"
#include "platform/qt/window_handles.h"

namespace ravelon::forms::qt {

// From how many code units on a box shows its text through LightText rather
// than the toolkit's own box, which lays the whole text out at every blink of
// the cursor.
std::size_t LightTextFrom();

// The colour a BackColor value paints in now.
QColor Resolve(Colour colour);

// The clipboard's text, if it holds any.
std::optional<std::u16string> ClipboardText();

class QtTextBox : public TextBox, public ClipboardTarget {
public:
    Colour BackColor() const override { return backColor_; }
    WindowHandle hWnd() const override { return handle_; }
    bool Enabled() const override { return widget_->isEnabled(); }
    void SetEnabled(bool enabled) override { widget_->setEnabled(enabled); }
    void SetFocus() override { widget_->setFocus(Qt::OtherFocusReason); }

protected:
    // `widget` is the box's, which belongs to the window.
    explicit QtTextBox(QWidget* widget) : widget_(widget), handle_(RegisterHandle(this)) {}
    ~QtTextBox() { UnregisterHandle(handle_); }
    // Tells the form of a change, unless the program has ended.
    void Changed() const;

    QWidget* const widget_;
    Colour backColor_ = 0x80000005u;
    const WindowHandle handle_;
    std::u16string exact_;
    std::unique_ptr<LightText> light_;
};

}  // namespace ravelon::forms::qt
