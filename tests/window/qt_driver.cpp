// The scenario suite's driver for the Qt backend: real widgets on the
// offscreen platform, the real clipboard, real modal message boxes read and
// closed from a timer inside their own event loop.

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "platform/qt/qt_forms.h"
#include "platform/qt/qt_text_boxes.h"
#include "tests/decoder/reference_decoder.h"
#include "tests/window/qt_driver.h"
#include "tests/window/scenario_driver.h"
#include "window/form1.h"
#include "window/form1_layout.h"

namespace ravelon::testing {

using forms::qt::FromQString;
using forms::qt::ToQString;

std::uint32_t ToColourRef(QColor c)
{
    return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue()) << 16;
}

QtProgram::QtProgram() : form_(forms::CreateForm(kForm1Design)), form1_(std::make_unique<Form1>(*form_))
{
    forms::ShowForm(*form_);
    window_ = forms::qt::MainWindow();
    if (!QTest::qWaitForWindowActive(window_)) throw std::runtime_error("the window did not become active");
}

QtProgram::~QtProgram()
{
    form1_.reset();
    form_.reset();
    QGuiApplication::clipboard()->clear();
}

QWidget* QtProgram::Widget(std::string_view name) const
{
    auto* widget = window_->findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (!widget) throw std::out_of_range("no control named " + std::string(name));
    return widget;
}

namespace {

// The desktop's palette while the scenarios run: the test's own colours in
// the roles Qt gives a text box's background and the frame around windows.
class TestPalette {
public:
    TestPalette() : saved_(QApplication::palette())
    {
        QPalette palette = saved_;
        const auto colour = [](std::uint32_t c) { return QColor(c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF); };
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setColor(group, QPalette::Base, colour(kTestColourWindow));
            palette.setColor(group, QPalette::Window, colour(kTestColourActiveBorder));
        }
        QApplication::setPalette(palette);
    }
    ~TestPalette() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

class QtDriver final : public ScenarioDriver {
public:
    QtDriver()
    {
        watcher_.setInterval(5);
        QObject::connect(&watcher_, &QTimer::timeout, [this] { CloseMessageBox(); });
        watcher_.start();
    }

    void TypeIntoEmail(std::u16string_view text) override
    {
        QTest::keyClick(Email(), Qt::Key_End);
        QTest::keyClicks(Email(), ToQString(text));
    }
    void Backspace(std::size_t times) override
    {
        QTest::keyClick(Email(), Qt::Key_End);
        for (std::size_t i = 0; i < times; ++i) QTest::keyClick(Email(), Qt::Key_Backspace);
    }
    void ReplaceEmail(std::u16string_view text) override
    {
        Email()->selectAll();
        Email()->insert(ToQString(text));
    }
    void ReplaceCodeByHand(std::u16string_view text) override
    {
        auto* code = program_.Get<QPlainTextEdit>("txtDecrypt");
        code->selectAll();
        QTest::keyClick(code, Qt::Key_Delete);
        QTest::keyClicks(code, ToQString(text));
    }
    void PasteIntoEmail() override
    {
        QTest::keyClick(Email(), Qt::Key_End);
        QTest::keyClick(Email(), Qt::Key_V, Qt::ControlModifier);
    }
    void TypeIntoCode(std::u16string_view text) override
    {
        QTest::keyClick(Code(), Qt::Key_End, Qt::ControlModifier);
        for (char16_t c : text) {
            if (c == u'\r')
                QTest::keyClick(Code(), Qt::Key_Return);
            else
                QTest::keyClicks(Code(), QString(QChar(c)));
        }
    }
    void BackspaceInCode(std::size_t times) override
    {
        Code()->moveCursor(QTextCursor::End);
        for (std::size_t i = 0; i < times; ++i) QTest::keyClick(Code(), Qt::Key_Backspace);
    }
    void Click(std::string_view button) override { QTest::mouseClick(program_.Widget(button), Qt::LeftButton); }
    void CloseWindow() override { program_.window()->close(); }
    void MinimiseAndRestore() override
    {
        program_.window()->showMinimized();
        QTest::qWait(20);
        program_.window()->showNormal();
        program_.window()->activateWindow();
        Activated(program_.window());
    }
    void SwitchAwayAndBack() override
    {
        QWidget other;
        other.setWindowTitle(QStringLiteral("Another program"));
        other.show();
        other.activateWindow();
        Activated(&other);
        other.close();
        program_.window()->activateWindow();
        Activated(program_.window());
    }
    bool SupportsKeys() const override { return true; }
    void Press(Key key) override
    {
        QWidget* target = QApplication::focusWidget();
        if (!target) target = program_.window();
        switch (key) {
            case Key::Tab:
                QTest::keyClick(target, Qt::Key_Tab);
                break;
            case Key::ShiftTab:
                QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
                break;
            case Key::Enter:
                QTest::keyClick(target, Qt::Key_Return);
                break;
            case Key::Escape:
                QTest::keyClick(target, Qt::Key_Escape);
                break;
        }
    }

    // The box's exact text, after checking that the widget shows just that:
    // the same units, each kind of line break as one break of the document.
    std::u16string Text(std::string_view box) override
    {
        const std::u16string exact = program_.form().TextBoxNamed(box).Text();
        const bool email = box == "txtEmail";
        bool shown;
        if (forms::qt::LightText* light = forms::qt::LightTextOf(program_.Widget(box)))
            shown = light->Lines().ShownText() == (email ? exact : forms::AsInDocument(exact));
        else
            shown = email ? FromQString(Email()->text()) == exact
                          : FromQString(Code()->document()->toRawText()) == forms::AsInDocument(exact);
        if (!shown)
            throw std::runtime_error(std::string(box) +
                                     " shows another text than it holds: " + Printable(exact.substr(0, 200)));
        return exact;
    }
    bool Enabled(std::string_view control) override { return program_.Widget(control)->isEnabled(); }
    std::uint32_t PaintedColour(std::string_view box) override
    {
        QCoreApplication::processEvents();  // as the screen shows it: after pending events
        QWidget* widget = program_.Widget(box);
        const QImage image = widget->grab().toImage();
        return ToColourRef(image.pixelColor(image.width() - 4, image.height() - 4));
    }
    std::string Focused() override
    {
        QCoreApplication::processEvents();  // activation arrives as a window-system event
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName().toStdString() : std::string();
    }
    std::vector<MessageBoxSeen> TakeMessageBoxes() override { return std::exchange(boxes_, {}); }
    // Outside exec() Qt does not announce the last window's closing; what it
    // decides on is checked instead: no window left that keeps the loop running.
    bool Ended() override
    {
        const auto windows = QApplication::topLevelWidgets();
        const bool anyOpen = std::any_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); });
        return QGuiApplication::quitOnLastWindowClosed() && program_.window()->testAttribute(Qt::WA_QuitOnClose) &&
               !anyOpen;
    }

    std::optional<std::u16string> Clipboard() override
    {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (!data || !data->hasText()) return std::nullopt;
        return FromQString(data->text());
    }
    void SetClipboard(std::optional<std::u16string> text) override
    {
        if (text)
            QGuiApplication::clipboard()->setText(ToQString(*text));
        else
            QGuiApplication::clipboard()->clear();
    }

private:
    static void Activated(QWidget* window)
    {
        if (!QTest::qWaitForWindowActive(window)) throw std::runtime_error("a window did not become active");
    }

    QLineEdit* Email() { return program_.Get<QLineEdit>("txtEmail"); }
    QPlainTextEdit* Code() { return program_.Get<QPlainTextEdit>("txtDecrypt"); }

    void CloseMessageBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        MessageBoxSeen seen{FromQString(box->text()), FromQString(box->windowTitle()), 0, {}};
        switch (box->icon()) {
            case QMessageBox::Information:
                seen.icon = 0x40;
                break;
            case QMessageBox::Warning:
                seen.icon = 0x30;
                break;
            case QMessageBox::Critical:
                seen.icon = 0x10;
                break;
            case QMessageBox::Question:
                seen.icon = 0x20;
                break;
            default:
                break;
        }
        for (QAbstractButton* button : box->buttons()) seen.buttons.push_back(FromQString(button->text().remove('&')));
        boxes_.push_back(std::move(seen));
        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
        // As a window manager may: nothing is active once the box has gone,
        // where the offscreen platform would activate the window again itself.
        QApplication::setActiveWindow(nullptr);
    }

    QtProgram program_;
    TestPalette palette_;  // after the program: it changes under the running window
    QTimer watcher_;
    std::vector<MessageBoxSeen> boxes_;
};

}  // namespace

std::unique_ptr<ScenarioDriver> StartProgram()
{
    return std::make_unique<QtDriver>();
}

void Press(QWidget* widget, const std::vector<Keys>& keys)
{
    for (const Keys& key : keys) QTest::keyClick(widget, key.key, key.modifiers);
}

}  // namespace ravelon::testing
