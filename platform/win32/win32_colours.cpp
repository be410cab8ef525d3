#include "platform/win32/win32_colours.h"

#include "platform/readable_colour.h"
#include "platform/win32/win32_support.h"

namespace ravelon::forms::win32 {

namespace {

bool HighContrast()
{
    HIGHCONTRASTW settings{sizeof settings, 0, nullptr};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
           (settings.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

LabelColours LabelColoursOn(Colour designed)
{
    return ChooseLabelColours(ToColorRef(designed),
                              {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT), HighContrast()});
}

}  // namespace

COLORREF SurfaceColour(Colour designed)
{
    return LabelColoursOn(designed).surface;
}

COLORREF LabelTextColour(Colour designed)
{
    return LabelColoursOn(designed).text;
}

}  // namespace ravelon::forms::win32
