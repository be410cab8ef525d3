// What a screen reader is told about each control of the Linux window, read
// through Qt's accessibility interface, the one its AT-SPI bridge serves.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <vector>

#include "platform/qt/qt_text_boxes.h"
#include "platform/qt/testing_hooks.h"
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

// ---- A box whose text LightText shows ----

struct AccountRow {
    const char* name;
    const char* box;
    std::u16string text;
    std::vector<Keys> keys;
    friend void PrintTo(const AccountRow& row, std::ostream* os) { *os << row.name; }
};

// What a screen reader is told of a box after some keys.
struct Account {
    QAccessible::Role role;
    QString name;
    bool multiLine, editable, focused;
    int count, caret, selectionStart, selectionEnd;
    QString text, line;
    int lineStart, lineEnd;
    QRect caretCharacter;
    int offsetAtCaretCharacter;
    QRect box;
    QRect caretPainted;  // as the toolkit's box reports it to input methods
};

Account AccountAfterKeys(const AccountRow& row, std::size_t lightFrom)
{
    forms::qt::SetLightTextFrom(lightFrom);
    QtProgram program;
    program.form().TextBoxNamed(row.box).SetText(row.text);
    QWidget* widget = program.Widget(row.box);
    widget->setFocus();
    QApplication::processEvents();
    Press(widget, row.keys);
    QApplication::processEvents();
    Account account{};
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
    QAccessibleTextInterface* text = control ? control->textInterface() : nullptr;
    if (text) {
        account.role = control->role();
        account.name = control->text(QAccessible::Name);
        account.multiLine = control->state().multiLine;
        account.editable = control->state().editable;
        account.focused = control->state().focused;
        account.count = text->characterCount();
        account.text = text->text(0, account.count);
        account.caret = text->cursorPosition();
        text->selection(0, &account.selectionStart, &account.selectionEnd);
        account.line = text->textAtOffset(account.caret, QAccessible::LineBoundary, &account.lineStart, &account.lineEnd);
        account.caretCharacter = text->characterRect(account.caret);
        account.offsetAtCaretCharacter = text->offsetAtPoint(account.caretCharacter.center());
        account.box = QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
        const QRect caret = widget->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        account.caretPainted = QRect(widget->mapToGlobal(caret.topLeft()), caret.size());
    }
    forms::qt::SetLightTextFrom(32768);
    EXPECT_EQ(forms::qt::LightTextOf(widget) != nullptr, lightFrom == 1);
    return account;
}

std::u16string Paragraphs(int count)
{
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        for (int word = 0; word < 30; ++word) text += u"licence seats renews ";
        text += u"\r\n";
    }
    return text;
}

class QtAccessibleBigText : public ::testing::TestWithParam<AccountRow> {};

// Each row runs on the toolkit's own box and on LightText, after the same keys.
TEST_P(QtAccessibleBigText, IsToldAsTheToolkitsBoxWouldBe)
{
    const AccountRow& row = GetParam();
    const Account toolkit = AccountAfterKeys(row, std::size_t(-1));
    const Account light = AccountAfterKeys(row, 1);
    EXPECT_EQ(light.role, toolkit.role);
    EXPECT_EQ(light.name, toolkit.name);
    EXPECT_EQ(light.multiLine, toolkit.multiLine);
    EXPECT_EQ(light.editable, toolkit.editable);
    EXPECT_EQ(light.focused, toolkit.focused);
    EXPECT_EQ(light.count, toolkit.count);
    EXPECT_TRUE(light.text == toolkit.text) << "the text differs";
    EXPECT_EQ(light.caret, toolkit.caret);
    EXPECT_EQ(light.selectionStart, toolkit.selectionStart);
    EXPECT_EQ(light.selectionEnd, toolkit.selectionEnd);
    EXPECT_EQ(light.line.toStdString(), toolkit.line.toStdString());
    EXPECT_EQ(light.lineStart, toolkit.lineStart);
    EXPECT_EQ(light.lineEnd, toolkit.lineEnd);
    // Where the character is: where the toolkit's box paints its caret (its
    // own account of a character's place leaves out its margin and scroll).
    EXPECT_NEAR(light.caretCharacter.left(), toolkit.caretPainted.center().x(), 1);
    EXPECT_NEAR(light.caretCharacter.top(), toolkit.caretPainted.top(), 1);
    EXPECT_NEAR(light.caretCharacter.bottom(), toolkit.caretPainted.bottom(), 1);
    EXPECT_TRUE(light.box.contains(light.caretCharacter));
    EXPECT_EQ(light.offsetAtCaretCharacter, light.caret);
}

INSTANTIATE_TEST_SUITE_P(Boxes, QtAccessibleBigText, ::testing::Values(
    AccountRow{"code_down_through_wrapped_lines", "txtDecrypt", Paragraphs(4),
               {{Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Right, Qt::ControlModifier}}},
    AccountRow{"code_selected_across_a_line_break", "txtDecrypt", Paragraphs(3),
               {{Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_End}, {Qt::Key_Left},
                {Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Right, Qt::ShiftModifier}}},
    AccountRow{"code_typed_into", "txtDecrypt", Paragraphs(2), {{Qt::Key_Down}, {Qt::Key_X}, {Qt::Key_Y}}},
    AccountRow{"address_home_then_a_word_on", "txtEmail", Paragraphs(1).substr(0, 300),
               {{Qt::Key_Home}, {Qt::Key_Right, Qt::ControlModifier}, {Qt::Key_Right, Qt::ShiftModifier}}}),
    RowName());


// The toolkit's own account of a plain string: what Qt finds by default.
class PlainAccount final : public QAccessibleTextInterface {
public:
    explicit PlainAccount(QString text) : text_(std::move(text)) {}
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override { return text_.mid(startOffset, endOffset - startOffset); }
    int characterCount() const override { return static_cast<int>(text_.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        return {};
    }

private:
    QString text_;
};

// A big box finds characters, words and sentences in the paragraph around an
// offset; inside a paragraph that is what Qt finds in the whole text.
TEST(QtAccessibleBigTextItems, AreTheToolkitsWithinAParagraph)
{
    forms::qt::SetLightTextFrom(1);
    QtProgram program;
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
    program.form().TextBoxNamed("txtDecrypt").SetText(
        u"First one, two. Then \U0001F600 na\u0308ive words! Last?\r\nNext paragraph here.");
    QAccessibleTextInterface* big = QAccessible::queryAccessibleInterface(program.Widget("txtDecrypt"))->textInterface();
    const QString told = big->text(0, big->characterCount());
    PlainAccount plain(told);
    const int firstParagraphEnd = static_cast<int>(told.indexOf(u'\n'));
    for (auto kind : {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary})
        for (int offset = 0; offset < firstParagraphEnd; ++offset) {
            int bigStart = 0, bigEnd = 0, start = 0, end = 0;
            const QString found = big->textAtOffset(offset, kind, &bigStart, &bigEnd);
            EXPECT_EQ(found, plain.textAtOffset(offset, kind, &start, &end)) << "kind " << kind << " at " << offset;
            EXPECT_EQ(bigStart, start) << "kind " << kind << " at " << offset;
            EXPECT_EQ(bigEnd, end) << "kind " << kind << " at " << offset;
        }
    forms::qt::SetLightTextFrom(32768);
}

}  // namespace
}  // namespace ravelon::testing
