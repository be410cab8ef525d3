#include "window/form1_layout.h"

#include <array>

namespace ravelon {

namespace {

using forms::Alignment;
using forms::ControlDesign;
using forms::ControlKind;
using forms::FontDesign;

constexpr forms::Colour kLightBlue = 0x00FCD6ABu;
constexpr FontDesign kTahoma{u"Tahoma", 97500, 400};
constexpr FontDesign kTahomaTitle{u"Tahoma", 142500, 700};

constexpr ControlKind kButton = ControlKind::CommandButton;
constexpr ControlKind kBox = ControlKind::TextBox;
constexpr ControlKind kLabel = ControlKind::Label;

constexpr std::array<ControlDesign, 9> kControls{{
    // name        kind     left   top  width height text                                     font          tab
    {"btnCopy",    kButton, 2040, 3960, 1575, 495,  u"Copy",                                  kTahoma,      8},
    {"btnPaste",   kButton,  120, 3960, 1575, 495,  u"Paste",                                 kTahoma,      7},
    {"btnExit",    kButton, 4800, 4680, 1575, 495,  u"Exit",                                  kTahoma,      3},
    {"txtEmail",   kBox,     120, 1320, 6375, 375,  u"",                                      kTahoma,      0,
     Alignment::Left, 0, false, "Label3"},
    {"btnDecrypt", kButton,  120, 4680, 3495, 495,  u"Decrypt",                               kTahoma,      2},
    {"txtDecrypt", kBox,     120, 2400, 6375, 1455, u"",                                      kTahoma,      1,
     Alignment::Left, 0, true, "Label1"},
    {"Label4",     kLabel,   120,  120, 6375, 495,  u"Ravelon",                               kTahomaTitle, 6,
     Alignment::Centre, kLightBlue},
    {"Label3",     kLabel,   120,  960, 6375, 375,  u"Please enter the email address here:",  kTahoma,      5,
     Alignment::Centre, kLightBlue},
    {"Label1",     kLabel,   120, 2040, 6375, 375,  u"Please paste the encrypted code here:", kTahoma,      4,
     Alignment::Centre, kLightBlue},
}};

}  // namespace

const forms::FormDesign kForm1Design{
    .caption = u"Ravelon ",
    .backColor = kLightBlue,
    .clientWidth = 6630,
    .clientHeight = 5340,
    .clientLeft = 60,
    .clientTop = 345,
    .startUpPosition = 3,
    .icon = "ravelon",
    .controls = kControls,
};

}  // namespace ravelon
