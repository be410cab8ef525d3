// What a user does with the window and what must follow, on any backend.

#include <gtest/gtest.h>

#include "tests/decoder/reference_decoder.h"
#include "tests/window/scenario_driver.h"

namespace ravelon::testing {

void PrintTo(const MessageBoxSeen& box, std::ostream* os)
{
    *os << '"' << Printable(box.text) << "\" titled \"" << Printable(box.title) << "\" icon 0x" << std::hex
        << box.icon << std::dec << " buttons";
    for (const auto& b : box.buttons) *os << " \"" << Printable(b) << '"';
}

namespace {

constexpr std::uint32_t kInformation = 0x40;
constexpr std::uint32_t kWarning = 0x30;

MessageBoxSeen Box(std::u16string_view text, std::uint32_t icon)
{
    return {std::u16string(text), u"Error", icon, {u"OK"}};
}

const std::u16string kPlain = u"Licence: 42 seats###NEWLINE###Key: AB-12 \u00A3";
const std::u16string kPlainRestored = u"Licence: 42 seats\r\nKey: AB-12 \u00A3";
const std::u16string kAddress = u"me@mail.org";  // shift 11

class Form1Scenario : public ::testing::Test {
protected:
    void SetUp() override { program = StartProgram(); }

    void ExpectCodeBoxState(bool enabled, int systemColour)
    {
        EXPECT_EQ(program->Enabled("txtDecrypt"), enabled);
        EXPECT_EQ(program->Enabled("btnCopy"), enabled);
        EXPECT_EQ(program->Enabled("btnPaste"), enabled);
        EXPECT_EQ(program->PaintedColour("txtDecrypt"), program->SystemColour(systemColour));
        EXPECT_TRUE(program->Enabled("txtEmail"));
        EXPECT_TRUE(program->Enabled("btnDecrypt"));
        EXPECT_TRUE(program->Enabled("btnExit"));
    }

    void EnterAddressAndCode(std::u16string_view address, std::u16string_view code)
    {
        program->ReplaceEmail(address);
        program->SetClipboard(std::u16string(code));
        program->Click("btnPaste");
    }

    std::vector<MessageBoxSeen> Boxes() { return program->TakeMessageBoxes(); }

    std::unique_ptr<ScenarioDriver> program;
};

TEST_F(Form1Scenario, StartsWithEmptyBoxesAndTheCodeBoxDisabled)
{
    EXPECT_EQ(program->Text("txtEmail"), u"");
    EXPECT_EQ(program->Text("txtDecrypt"), u"");
    ExpectCodeBoxState(false, 10);
    EXPECT_EQ(program->Focused(), "txtEmail");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Form1Scenario, FirstCharacterEnablesAndLastCharacterDisablesKeepingTheCode)
{
    program->TypeIntoEmail(u"x");
    ExpectCodeBoxState(true, 5);
    program->ReplaceCodeByHand(u"some code");
    program->TypeIntoEmail(u"y");
    program->Backspace(1);
    ExpectCodeBoxState(true, 5);
    program->Backspace(1);
    ExpectCodeBoxState(false, 10);
    EXPECT_EQ(program->Text("txtDecrypt"), u"some code");
}

TEST_F(Form1Scenario, SpacesCountAsAnAddress)
{
    program->TypeIntoEmail(u" ");
    ExpectCodeBoxState(true, 5);
}

TEST_F(Form1Scenario, DecryptWithoutAddressAsksForOneAndChangesNothing)
{
    program->Click("btnDecrypt");
    EXPECT_EQ(Boxes(), std::vector{Box(u"Please enter an email address", kInformation)});
    EXPECT_EQ(program->Text("txtDecrypt"), u"");
    ExpectCodeBoxState(false, 10);
}

TEST_F(Form1Scenario, DecryptWithoutCodeAsksForOne)
{
    program->TypeIntoEmail(u"ab");
    program->Click("btnDecrypt");
    EXPECT_EQ(Boxes(), std::vector{Box(u"Please enter an encrypted code", kInformation)});
    EXPECT_EQ(program->Text("txtDecrypt"), u"");
}

TEST_F(Form1Scenario, CodeEmptiedByHandAsksForOne)
{
    EnterAddressAndCode(kAddress, Encode(kPlain, 11, 2));
    program->ReplaceCodeByHand(u"");
    program->Click("btnDecrypt");
    EXPECT_EQ(Boxes(), std::vector{Box(u"Please enter an encrypted code", kInformation)});
}

TEST_F(Form1Scenario, DecryptShowsThePlainTextWithLineBreaks)
{
    for (int scheme = 1; scheme <= 3; ++scheme) {
        EnterAddressAndCode(kAddress, Encode(kPlain, 11, scheme));
        program->Click("btnDecrypt");
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(program->Text("txtDecrypt"), kPlainRestored) << "scheme " << scheme;
    }
}

TEST_F(Form1Scenario, InvalidCodeWarnsThenEmptiesTheCodeBox)
{
    EnterAddressAndCode(kAddress, u"Qotmz not a code");
    program->Click("btnDecrypt");
    EXPECT_EQ(Boxes(), std::vector{Box(u"Invalid Code!", kWarning)});
    EXPECT_EQ(program->Text("txtDecrypt"), u"");
}

TEST_F(Form1Scenario, PasteReplacesTheOldTextAndFocusesTheCodeBox)
{
    EnterAddressAndCode(kAddress, u"old text");
    program->SetClipboard(u"qotmzNEW");
    program->Click("btnPaste");
    EXPECT_EQ(program->Text("txtDecrypt"), u"qotmzNEW");
    EXPECT_EQ(program->Focused(), "txtDecrypt");
}

TEST_F(Form1Scenario, PasteFromAnEmptyClipboardLeavesTheCodeBoxEmpty)
{
    EnterAddressAndCode(kAddress, u"old text");
    program->SetClipboard(std::nullopt);
    program->Click("btnPaste");
    EXPECT_EQ(program->Text("txtDecrypt"), u"");
}

TEST_F(Form1Scenario, PastedTextComesBackUnitForUnit)
{
    // No-break space, line separator, lone line feed and carriage return, a
    // surrogate pair: each is one or two units of the code, decoded as such.
    const std::u16string code = u"qotmza\u00A0b\u2028c\nd\re\U0001F600f\r\ng";
    EnterAddressAndCode(kAddress, code);
    EXPECT_EQ(program->Text("txtDecrypt"), code);
    program->Click("btnDecrypt");
    EXPECT_EQ(program->Text("txtDecrypt"), *ReferenceRequest(kAddress, code).text);
}

TEST_F(Form1Scenario, AddressPastedWithALineBreakKeepsItsFirstLineOnly)
{
    // A whole line copied from a mail or a terminal brings its line break.
    for (const std::u16string pasted : {u"me@mail.org\n", u"me@mail.org\r\n", u"me@mail.org\nsecond line"}) {
        program->ReplaceEmail(u"");
        program->SetClipboard(pasted);
        program->PasteIntoEmail();
        EXPECT_EQ(program->Text("txtEmail"), kAddress) << Printable(pasted);
        program->SetClipboard(Encode(kPlain, 11, 2));
        program->Click("btnPaste");
        program->Click("btnDecrypt");
        EXPECT_EQ(program->Text("txtDecrypt"), kPlainRestored) << Printable(pasted);
    }
}

TEST_F(Form1Scenario, TypingInTheCodeBoxKeepsEveryUnitItDidNotEdit)
{
    // Lone line feeds and carriage returns and the units a text document
    // takes as line breaks; each is one unit of the code and shifts the
    // fillers after it.
    const std::u16string code = u"pulxaab\nc\ndef\rg\uFDD0h\uFDD1i\u2029j";
    EnterAddressAndCode(u"sixsix", code);
    program->TypeIntoCode(u"x");
    program->BackspaceInCode(1);
    EXPECT_EQ(program->Text("txtDecrypt"), code);
    program->Click("btnDecrypt");
    EXPECT_EQ(program->Text("txtDecrypt"), *ReferenceRequest(u"sixsix", code).text);
    EXPECT_EQ(program->Text("txtDecrypt").substr(0, 6), u">/?<| ");
}

TEST_F(Form1Scenario, TypedLineBreakInTheCodeBoxIsCrLf)
{
    EnterAddressAndCode(kAddress, u"qotmzab");
    program->TypeIntoCode(u"\rcd\r");
    EXPECT_EQ(program->Text("txtDecrypt"), u"qotmzab\r\ncd\r\n");
    program->BackspaceInCode(1);
    EXPECT_EQ(program->Text("txtDecrypt"), u"qotmzab\r\ncd");
}

TEST_F(Form1Scenario, LongPasteArrivesWhole)
{
    std::u16string plain;
    while (plain.size() < 30000) plain += u"A line of forty symbols, give or take.###NEWLINE###";
    const std::u16string code = Encode(plain, 11, 3);
    EnterAddressAndCode(kAddress, code);
    EXPECT_EQ(program->Text("txtDecrypt").size(), code.size());
    program->Click("btnDecrypt");
    EXPECT_EQ(program->Text("txtDecrypt"), *ReferenceRequest(kAddress, code).text);
}

TEST_F(Form1Scenario, CopyOfAnEmptyCodeBoxLeavesTheClipboardAsItWas)
{
    program->TypeIntoEmail(u"a");
    program->SetClipboard(u"kept");
    program->Click("btnCopy");
    EXPECT_EQ(program->Clipboard(), u"kept");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Form1Scenario, CopyPutsThePlainTextWithCrLfOnTheClipboard)
{
    EnterAddressAndCode(kAddress, Encode(kPlain, 11, 1));
    program->Click("btnDecrypt");
    program->SetClipboard(u"something else");
    program->Click("btnCopy");
    EXPECT_EQ(program->Clipboard(), kPlainRestored);
    EXPECT_EQ(program->Focused(), "btnCopy") << "the click focused the button; Copy leaves it there";
}

TEST_F(Form1Scenario, SecondDecryptTakesThePlainTextAsANewCode)
{
    const std::u16string inner = Encode(u"inner", 11, 1);
    EnterAddressAndCode(kAddress, Encode(inner, 11, 2));
    program->Click("btnDecrypt");
    EXPECT_EQ(program->Text("txtDecrypt"), inner);
    program->Click("btnDecrypt");
    EXPECT_EQ(program->Text("txtDecrypt"), u"inner");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Form1Scenario, ErasingTheAddressKeepsThePlainTextInTheDisabledBox)
{
    EnterAddressAndCode(u"abc", Encode(kPlain, 3, 1));
    program->Click("btnDecrypt");
    program->Backspace(3);
    ExpectCodeBoxState(false, 10);
    EXPECT_EQ(program->Text("txtDecrypt"), kPlainRestored);
    program->SetClipboard(u"clip");
    program->Click("btnPaste");
    program->Click("btnCopy");
    EXPECT_EQ(program->Text("txtDecrypt"), kPlainRestored);
    EXPECT_EQ(program->Clipboard(), u"clip");
}

TEST_F(Form1Scenario, AddressTooLongIsReportedAndTheProgramGoesOn)
{
    EnterAddressAndCode(std::u16string(32768, u'a'), u"qotmz");
    program->Click("btnDecrypt");
    EXPECT_EQ(Boxes(), std::vector{Box(u"The email address is too long: an address of at most 32767 characters can "
                                       u"decrypt a code.",
                                       kWarning)});
    EXPECT_EQ(program->Text("txtDecrypt"), u"qotmz");
    program->Backspace(1);  // 32,767 is a shift: the tag alone decodes to nothing
    program->Click("btnDecrypt");
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(program->Text("txtDecrypt"), u"");
}

TEST_F(Form1Scenario, InvalidCodeIsShownBeforeTheOverflow)
{
    EnterAddressAndCode(std::u16string(32768, u'a'), u"junk code");
    program->Click("btnDecrypt");
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(program->Text("txtDecrypt"), u"junk code");
}

TEST_F(Form1Scenario, CodeOutOfRangeForTheAddressIsReportedAndTheBoxKept)
{
    EnterAddressAndCode(std::u16string(95, u'a'), u"qotmz`-");
    program->Click("btnDecrypt");
    EXPECT_EQ(Boxes(), std::vector{Box(u"This code cannot be decrypted with an email address of this length.", kWarning)});
    EXPECT_EQ(program->Text("txtDecrypt"), u"qotmz`-");
    EXPECT_FALSE(program->Ended());
}

TEST_F(Form1Scenario, ExitEndsAtOnceWithoutAQuestion)
{
    EnterAddressAndCode(kAddress, u"text");
    program->Click("btnExit");
    EXPECT_TRUE(program->Ended());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Form1Scenario, ClosingTheWindowEndsTheProgramWithoutAQuestion)
{
    // The program has no closing handler: ending with the window is the platform's.
    if (!program->SupportsKeys()) GTEST_SKIP() << "no platform window on this backend";
    EnterAddressAndCode(kAddress, u"text");
    program->CloseWindow();
    EXPECT_TRUE(program->Ended());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Form1Scenario, FocusIsNeverLost)
{
    if (!program->SupportsKeys()) GTEST_SKIP() << "no focus rules on this backend";
    EnterAddressAndCode(kAddress, Encode(kPlain, 11, 1));
    ASSERT_EQ(program->Focused(), "txtDecrypt");  // Paste put it there
    program->MinimiseAndRestore();
    EXPECT_EQ(program->Focused(), "txtDecrypt") << "after minimise and restore";
    program->SwitchAwayAndBack();
    EXPECT_EQ(program->Focused(), "txtDecrypt") << "after switching to another window and back";

    program->ReplaceEmail(u"");
    program->Click("btnDecrypt");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(program->Focused(), "btnDecrypt") << "after the message box closed";
    program->SwitchAwayAndBack();
    EXPECT_EQ(program->Focused(), "btnDecrypt") << "after switching to another window and back";
}

TEST_F(Form1Scenario, TabFollowsTheDesignOrderSkippingDisabledControls)
{
    if (!program->SupportsKeys()) GTEST_SKIP() << "no keyboard on this backend";
    auto walk = [&](Key key, int steps) {
        std::vector<std::string> seen;
        for (int i = 0; i < steps; ++i) {
            program->Press(key);
            seen.push_back(program->Focused());
        }
        return seen;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(walk(Key::Tab, 3), (V{"btnDecrypt", "btnExit", "txtEmail"}));
    program->TypeIntoEmail(u"a");
    EXPECT_EQ(walk(Key::Tab, 6), (V{"txtDecrypt", "btnDecrypt", "btnExit", "btnPaste", "btnCopy", "txtEmail"}));
    EXPECT_EQ(walk(Key::ShiftTab, 6), (V{"btnCopy", "btnPaste", "btnExit", "btnDecrypt", "txtDecrypt", "txtEmail"}));
}

TEST_F(Form1Scenario, EnterAndEscapePressNothingAndCloseNothing)
{
    if (!program->SupportsKeys()) GTEST_SKIP() << "no keyboard on this backend";
    program->TypeIntoEmail(u"a");
    for (Key key : {Key::Enter, Key::Escape}) {
        program->Press(key);  // in txtEmail
        program->Press(Key::Tab);
        program->Press(key);  // in txtDecrypt
        program->Press(Key::Tab);
        program->Press(key);  // on btnDecrypt
        program->Press(Key::ShiftTab);
        program->Press(Key::ShiftTab);
    }
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(program->Ended());
    EXPECT_EQ(program->Text("txtEmail"), u"a");
}

}  // namespace
}  // namespace ravelon::testing
