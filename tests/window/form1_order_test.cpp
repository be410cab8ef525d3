// The order in which each handler sets properties and sends requests.

#include <gtest/gtest.h>

#include "tests/window/fake_forms.h"

namespace ravelon::testing {
namespace {

using Steps = std::vector<std::string>;

class Form1Order : public ::testing::Test {
protected:
    void SetUp() override { program = StartProgram(); }

    Steps During(const std::function<void()>& action)
    {
        fake::Log().clear();
        action();
        return fake::Log();
    }

    std::unique_ptr<ScenarioDriver> program;
};

TEST_F(Form1Order, LoadDisablesBeforeTheWindowIsShown)
{
    program.reset();
    fake::Log().clear();
    program = StartProgram();
    // StartProgram clears the log before it loads the form.
    EXPECT_EQ(fake::Log(), (Steps{"Load", "txtDecrypt.BackColor=0x8000000A", "txtDecrypt.Enabled=false",
                                  "btnCopy.Enabled=false", "btnPaste.Enabled=false", "Show"}));
}

TEST_F(Form1Order, EveryChangeSetsAllFourInTheirOrder)
{
    const Steps present{"txtDecrypt.Enabled=true", "txtDecrypt.BackColor=0x80000005", "btnCopy.Enabled=true",
                        "btnPaste.Enabled=true"};
    const Steps empty{"txtDecrypt.Enabled=false", "txtDecrypt.BackColor=0x8000000A", "btnCopy.Enabled=false",
                      "btnPaste.Enabled=false"};
    EXPECT_EQ(During([&] { program->TypeIntoEmail(u"a"); }), present);
    EXPECT_EQ(During([&] { program->TypeIntoEmail(u"b"); }), present) << "also when the state stays";
    EXPECT_EQ(During([&] { program->Backspace(1); }), present);
    EXPECT_EQ(During([&] { program->Backspace(1); }), empty);
}

TEST_F(Form1Order, CopySelectsAllThenSendsWmCopy)
{
    program->TypeIntoEmail(u"a");
    program->ReplaceCodeByHand(u"line\r\nnext");
    EXPECT_EQ(During([&] { program->Click("btnCopy"); }),
              (Steps{"txtDecrypt.SelStart=0", "txtDecrypt.SelLength=10", "txtDecrypt.hWnd",
                     "SendMessageA(0x00000301, 0, 0)"}));
}

TEST_F(Form1Order, PasteFocusesEmptiesThenSendsWmPaste)
{
    program->TypeIntoEmail(u"a");
    EXPECT_EQ(During([&] { program->Click("btnPaste"); }),
              (Steps{"txtDecrypt.SetFocus", "txtDecrypt.Text=\"\"", "txtDecrypt.hWnd", "SendMessageA(0x00000302, 0, 0)"}));
}

TEST_F(Form1Order, WarningsAreErrorBoxesWithTheirIcon)
{
    EXPECT_EQ(During([&] { program->Click("btnDecrypt"); }),
              (Steps{"MessageBox(\"Please enter an email address\", \"Error\", 0x00000040)"}));
    program->TypeIntoEmail(u"a");
    program->ReplaceCodeByHand(u"bad code");
    EXPECT_EQ(During([&] { program->Click("btnDecrypt"); }),
              (Steps{"MessageBox(\"Invalid Code!\", \"Error\", 0x00000030)", "txtDecrypt.Text=\"\""}));
}

TEST_F(Form1Order, ExitEndsAndNoHandlerRunsAfterwards)
{
    EXPECT_EQ(During([&] { program->Click("btnExit"); }), (Steps{"End"}));
    EXPECT_EQ(During([&] {
                  program->Click("btnDecrypt");
                  program->TypeIntoEmail(u"a");
              }),
              Steps{});
}

}  // namespace
}  // namespace ravelon::testing
