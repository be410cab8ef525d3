#pragma once

#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/forms.h"
#include "window/form1.h"

namespace ravelon::testing {

// The real program on Qt, loaded and shown, without entering the event loop.
class QtProgram {
public:
    QtProgram();
    ~QtProgram();

    QWidget* window() const { return window_; }
    forms::Form& form() { return *form_; }
    QWidget* Widget(std::string_view name) const;
    template <class W>
    W* Get(std::string_view name) const
    {
        return qobject_cast<W*>(Widget(name));
    }

private:
    std::unique_ptr<forms::Form> form_;
    std::unique_ptr<Form1> form1_;
    QWidget* window_ = nullptr;
};

std::uint32_t ToColourRef(QColor c);

// A key as a test presses it, with its modifiers.
struct Keys {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

void Press(QWidget* widget, const std::vector<Keys>& keys);

}  // namespace ravelon::testing
