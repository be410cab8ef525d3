#pragma once

// Drives the real program (or the recording fake) the way a user would and
// reads back what the user would see. One implementation per backend.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ravelon::testing {

struct MessageBoxSeen {
    std::u16string text;
    std::u16string title;
    std::uint32_t icon;  // MB_ICONINFORMATION, MB_ICONWARNING
    std::vector<std::u16string> buttons;
    friend bool operator==(const MessageBoxSeen&, const MessageBoxSeen&) = default;
    friend void PrintTo(const MessageBoxSeen& box, std::ostream* os);
};

enum class Key { Tab, ShiftTab, Enter, Escape };

// The desktop's system colours while the scenarios run, 0x00BBGGRR, chosen
// here so that the window background (5) and the active border (10) differ.
inline constexpr std::uint32_t kTestColourWindow = 0x00E6FFFF;        // index 5: ivory
inline constexpr std::uint32_t kTestColourActiveBorder = 0x00C8A0A0;  // index 10: greyish blue

class ScenarioDriver {
public:
    virtual ~ScenarioDriver() = default;

    // The user's actions. Message boxes that open meanwhile are read and closed with OK.
    virtual void TypeIntoEmail(std::u16string_view text) = 0;  // one keystroke per unit, at the end
    virtual void Backspace(std::size_t times) = 0;              // in txtEmail
    virtual void ReplaceEmail(std::u16string_view text) = 0;    // select all, paste over it
    virtual void ReplaceCodeByHand(std::u16string_view text) = 0;
    virtual void PasteIntoEmail() = 0;                           // the paste keystroke, at the end
    virtual void TypeIntoCode(std::u16string_view text) = 0;     // at the end; u'\r' is the Enter key
    virtual void BackspaceInCode(std::size_t times) = 0;        // at the end
    virtual void Click(std::string_view button) = 0;
    virtual void CloseWindow() = 0;  // the title bar's close button
    virtual bool SupportsKeys() const = 0;  // and a focus that follows the platform's rules
    virtual void MinimiseAndRestore() = 0;
    virtual void SwitchAwayAndBack() = 0;  // to another window of the desktop and back
    virtual void Press(Key key) = 0;

    // What the user sees.
    virtual std::u16string Text(std::string_view box) = 0;
    virtual bool Enabled(std::string_view control) = 0;
    virtual std::uint32_t PaintedColour(std::string_view box) = 0;  // 0x00BBGGRR inside the box
    std::uint32_t SystemColour(int index) const { return index == 5 ? kTestColourWindow : kTestColourActiveBorder; }
    virtual std::string Focused() = 0;
    virtual std::vector<MessageBoxSeen> TakeMessageBoxes() = 0;
    virtual bool Ended() = 0;  // the window is gone and the event loop is ending

    virtual std::optional<std::u16string> Clipboard() = 0;
    virtual void SetClipboard(std::optional<std::u16string> text) = 0;
};

// Starts a fresh program on this backend.
std::unique_ptr<ScenarioDriver> StartProgram();

}  // namespace ravelon::testing
