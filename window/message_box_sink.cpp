#include "window/message_box_sink.h"

#include "platform/forms.h"

namespace ravelon {

void MessageBoxSink::ShowWarning(std::u16string_view message, WarningIcon icon)
{
    const std::uint32_t style =
        forms::MB_OK | (icon == WarningIcon::Information ? forms::MB_ICONINFORMATION : forms::MB_ICONWARNING);
    (void)forms::MessageBox(message, u"Error", style);
}

}  // namespace ravelon
