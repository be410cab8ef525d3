// What a screen reader is told about each control of the Linux window, read
// through Qt's accessibility interface, the one its AT-SPI bridge serves.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>

#include "platform/qt/qt_text_boxes.h"
#include "tests/row_name.h"
#include "tests/window/qt_driver.h"

namespace ravelon::testing {
namespace {

struct Spoken {
    const char* name;  // of the control
    QAccessible::Role role;
    const char16_t* spokenName;
    bool multiLine;
    const char* labelledBy;
    friend void PrintTo(const Spoken& row, std::ostream* os) { *os << row.name; }
};

class QtAccessible : public ::testing::TestWithParam<Spoken> {
protected:
    QtProgram program;
};

TEST_P(QtAccessible, ControlIsAnnouncedWithItsRoleAndName)
{
    const Spoken& row = GetParam();
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(program.Widget(row.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->role(), row.role);
    EXPECT_EQ(forms::qt::FromQString(control->text(QAccessible::Name)), row.spokenName);
    EXPECT_EQ(control->state().multiLine, row.multiLine);
    if (row.labelledBy) {
        const auto labels = control->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels.front().first->object(), program.Widget(row.labelledBy));
    }
}

INSTANTIATE_TEST_SUITE_P(Controls, QtAccessible, ::testing::Values(
    Spoken{"txtEmail", QAccessible::EditableText, u"Please enter the email address here:", false, "Label3"},
    Spoken{"txtDecrypt", QAccessible::EditableText, u"Please paste the encrypted code here:", true, "Label1"},
    Spoken{"btnDecrypt", QAccessible::Button, u"Decrypt", false, nullptr},
    Spoken{"btnCopy", QAccessible::Button, u"Copy", false, nullptr},
    Spoken{"btnPaste", QAccessible::Button, u"Paste", false, nullptr},
    Spoken{"btnExit", QAccessible::Button, u"Exit", false, nullptr}), RowName());

TEST(QtAccessibleWindow, IsAnnouncedByItsCaption)
{
    QtProgram program;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(program.window());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(forms::qt::FromQString(window->text(QAccessible::Name)), u"Ravelon ");
}

}  // namespace
}  // namespace ravelon::testing
