#include "platform/qt/qt_text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPalette>

#include "platform/qt/qt_forms.h"
#include "platform/qt/qt_strings.h"
#include "platform/qt/testing_hooks.h"

namespace ravelon::forms::qt {

namespace {

std::size_t g_lightTextFrom = 32768;

// The palette roles that stand for the system colours a BackColor may name.
QPalette::ColorRole RoleOfSystemColour(std::uint32_t index)
{
    switch (index) {
        case 5:
            return QPalette::Base;  // COLOR_WINDOW: the background of text boxes
        case 8:
            return QPalette::Text;  // COLOR_WINDOWTEXT
        case 10:
            return QPalette::Window;  // COLOR_ACTIVEBORDER: the frame around active windows
        case 13:
            return QPalette::Highlight;  // COLOR_HIGHLIGHT
        case 15:
            return QPalette::Button;  // COLOR_BTNFACE
        case 18:
            return QPalette::ButtonText;
        case 24:
            return QPalette::ToolTipBase;
        default:
            return QPalette::Window;
    }
}

}  // namespace

std::size_t LightTextFrom()
{
    return g_lightTextFrom;
}
void SetLightTextFrom(std::size_t units)
{
    g_lightTextFrom = units;
}

QColor Resolve(Colour colour)
{
    if (IsSystemColour(colour))
        return QApplication::palette().color(QPalette::Active, RoleOfSystemColour(SystemColourIndex(colour)));
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                  static_cast<int>(colour >> 16 & 0xFF));
}

std::optional<std::u16string> ClipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    return FromQString(data->text());
}

void QtTextBox::Changed() const
{
    if (onChange && !Ended()) onChange();
}

}  // namespace ravelon::forms::qt
