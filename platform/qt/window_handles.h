#pragma once

// The window handles the forms layer gives text boxes, and what a message
// sent to one (SendMessageA) reaches.

#include "platform/forms.h"

namespace ravelon::forms::qt {

// What WM_COPY and WM_PASTE do to a text box.
class ClipboardTarget {
public:
    virtual void CopySelection() = 0;
    virtual void PasteClipboard() = 0;

protected:
    ~ClipboardTarget() = default;
};

WindowHandle RegisterHandle(ClipboardTarget* target);
void UnregisterHandle(WindowHandle handle);
ClipboardTarget* TargetOf(WindowHandle handle);

}  // namespace ravelon::forms::qt
