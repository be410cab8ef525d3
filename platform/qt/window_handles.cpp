#include "platform/qt/window_handles.h"

#include <map>

namespace ravelon::forms::qt {

namespace {

std::map<WindowHandle, ClipboardTarget*>& Handles()
{
    static std::map<WindowHandle, ClipboardTarget*> handles;
    return handles;
}

}  // namespace

WindowHandle RegisterHandle(ClipboardTarget* target)
{
    static WindowHandle next = 0x10010;
    const WindowHandle handle = next;
    next += 0x10;
    Handles()[handle] = target;
    return handle;
}

void UnregisterHandle(WindowHandle handle)
{
    Handles().erase(handle);
}

ClipboardTarget* TargetOf(WindowHandle handle)
{
    const auto it = Handles().find(handle);
    return it == Handles().end() ? nullptr : it->second;
}

}  // namespace ravelon::forms::qt
