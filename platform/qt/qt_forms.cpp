// The forms layer on Qt 6 Widgets.

#include <xcb/xcb.h>
#include <QAbstractNativeEventFilter>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <map>
#include <stdexcept>
#include <vector>

#include "platform/named_controls.h"
#include "platform/qt/qt_forms.h"
#include "platform/qt/qt_text_boxes.h"
#include "platform/readable_colour.h"

namespace ravelon::forms {

namespace qt {

namespace {

bool g_ended = false;
bool g_running = false;  // inside Run's event loop
QWidget* g_mainWindow = nullptr;

// Another X client may destroy the window outright, without asking it to
// close first; the program ends with its only window all the same.
class WindowDestroyedFromOutside final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t" || !g_mainWindow || g_ended) return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) return false;
        const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
        if (destroyed->window == g_mainWindow->internalWinId()) End();
        return false;
    }
};

QApplication& Application()
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
    // The program takes no command line; Qt gets only a name.
    static int argc = 1;
    static char name[] = "ravelon";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    static WindowDestroyedFromOutside destroyedFromOutside;
    app->installNativeEventFilter(&destroyedFromOutside);
    // A plain top-level widget would be announced as a client area, not as the window it is.
    QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
        if (!g_mainWindow || object != g_mainWindow) return nullptr;
        return new QAccessibleWidget(g_mainWindow, QAccessible::Window);
    });
#ifdef RAVELON_APP_NAME
    QApplication::setApplicationName(QStringLiteral(RAVELON_APP_NAME));
    QApplication::setApplicationVersion(QStringLiteral(RAVELON_APP_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(RAVELON_DESKTOP_ID));
#endif
    return *app;
}

void SetBackground(QWidget* widget, QPalette::ColorRole role, Colour colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, Resolve(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

Colour ToColour(const QColor& c)
{
    return static_cast<Colour>(c.red()) | static_cast<Colour>(c.green()) << 8 | static_cast<Colour>(c.blue()) << 16;
}

// Calls onChange when the desktop's palette changes under the program.
class ThemeWatcher final : public QObject {
public:
    std::function<void()> onChange;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange && onChange) onChange();
        return false;
    }
};

class Button final : public CommandButton {
public:
    explicit Button(QWidget* parent) : button_(new QPushButton(parent))
    {
        button_->setAutoDefault(false);
        button_->setDefault(false);
        button_->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(button_, &QPushButton::clicked, button_, [this] {
            if (onClick && !Ended()) onClick();
        });
    }
    QPushButton* widget() { return button_; }
    bool Enabled() const override { return button_->isEnabled(); }
    void SetEnabled(bool enabled) override { button_->setEnabled(enabled); }

private:
    QPushButton* button_;
};

class QtForm final : public Form {
public:
    explicit QtForm(const FormDesign& design) : design_(design)
    {
        QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                                   {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                                    QStringLiteral("Liberation Sans")});
        window_.setWindowTitle(ToQString(design.caption));
        window_.setWindowIcon(
            QIcon(QStringLiteral(":/ravelon/%1.png")
                      .arg(QString::fromUtf8(design.icon.data(), static_cast<qsizetype>(design.icon.size())))));
        SetBackground(&window_, QPalette::Window, design.backColor);

        std::vector<std::pair<int, QWidget*>> tabOrder;
        for (const ControlDesign& control : design.controls) {
            QWidget* widget = Create(control);
            widget->setObjectName(QString::fromUtf8(control.name.data(), static_cast<qsizetype>(control.name.size())));
            widget->setFont(FontOf(control.font));
            widgets_.push_back({&control, widget});
            if (control.kind == ControlKind::Label) {
                widget->lower();  // boxes and buttons are drawn over labels
            } else {
                tabOrder.push_back({control.tabIndex, widget});
            }
        }
        NameBoxesAfterTheirLabels();
        FollowThemeChanges();
        std::sort(tabOrder.begin(), tabOrder.end(), [](auto& a, auto& b) { return a.first < b.first; });
        for (std::size_t i = 1; i < tabOrder.size(); ++i)
            QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
        if (!tabOrder.empty()) tabOrder.front().second->setFocus();
        LayOut();
        g_mainWindow = &window_;
        g_ended = false;
    }

    ~QtForm() override
    {
        if (g_mainWindow == &window_) g_mainWindow = nullptr;
    }

    TextBox& TextBoxNamed(std::string_view name) override { return FindNamed(boxes_, name); }
    CommandButton& ButtonNamed(std::string_view name) override { return FindNamed(buttons_, name); }

    QWidget& window() { return window_; }

    // Twips to pixels at the screen's logical DPI; the frame is the platform's.
    void LayOut()
    {
        const int dpi = Dpi();
        for (auto& [control, widget] : widgets_) {
            widget->setGeometry(TwipsToPixels(control->left, dpi), TwipsToPixels(control->top, dpi),
                                TwipsToPixels(control->width, dpi), TwipsToPixels(control->height, dpi));
        }
        window_.resize(TwipsToPixels(design_.clientWidth, dpi), TwipsToPixels(design_.clientHeight, dpi));
    }

private:
    int Dpi() const
    {
        const QScreen* screen = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
        return screen ? static_cast<int>(screen->logicalDotsPerInch() + 0.5) : 96;
    }

    static QFont FontOf(const FontDesign& design)
    {
        QFont font(ToQString(design.face));
        font.setPointSizeF(design.tenThousandthsOfPoint / 10000.0);
        font.setWeight(design.weight >= 700 ? QFont::Bold : QFont::Normal);
        font.setItalic(design.italic);
        font.setUnderline(design.underline);
        font.setStrikeOut(design.strikethrough);
        font.setStyleHint(QFont::SansSerif);
        return font;
    }

    template <class Box>
    QWidget* AddBox(std::unique_ptr<Box> box, const ControlDesign& control)
    {
        QWidget* widget = box->widget();
        box->SetText(control.text);
        boxes_.emplace(control.name, std::move(box));
        return widget;
    }

    // Labels write in the theme's button-text colour, unless that colour
    // would be hard to read on their fixed background (a dark theme's light
    // text on the light blue, say).
    static void ColourLabelText(QLabel* label, const ControlDesign& control)
    {
        const QColor theme = QApplication::palette().color(QPalette::ButtonText);
        const Colour text = ReadableTextColour(ToColour(theme), control.backColor);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Resolve(text));
        label->setPalette(palette);
    }

    void FollowThemeChanges()
    {
        // Only the window hears of a new palette; its controls are told here.
        themeWatcher_.onChange = [this] {
            for (const auto& [design, widget] : widgets_)
                if (design->kind == ControlKind::Label) ColourLabelText(static_cast<QLabel*>(widget), *design);
            for (const auto& [name, box] : boxes_) box->SetBackColor(box->BackColor());  // system colours anew
        };
        window_.installEventFilter(&themeWatcher_);
    }

    // A screen reader names each box after its label, as a sighted user does.
    void NameBoxesAfterTheirLabels()
    {
        for (const auto& [design, widget] : widgets_) {
            if (design->namedBy.empty()) continue;
            for (const auto& [labelDesign, labelWidget] : widgets_) {
                if (labelDesign->name != design->namedBy) continue;
                static_cast<QLabel*>(labelWidget)->setBuddy(widget);
                widget->setAccessibleName(ToQString(labelDesign->text));
            }
        }
    }

    QWidget* Create(const ControlDesign& control)
    {
        switch (control.kind) {
            case ControlKind::Label: {
                auto* label = new QLabel(ToQString(control.text), &window_);
                label->setAlignment((control.alignment == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft) |
                                    Qt::AlignTop);
                label->setTextFormat(Qt::PlainText);
                label->setWordWrap(false);
                SetBackground(label, QPalette::Window, control.backColor);
                ColourLabelText(label, control);
                return label;
            }
            case ControlKind::TextBox:
                return control.multiLine ? AddBox(std::make_unique<MultiLineTextBox>(&window_), control)
                                         : AddBox(std::make_unique<LineTextBox>(&window_), control);
            case ControlKind::CommandButton: {
                auto button = std::make_unique<Button>(&window_);
                QPushButton* widget = button->widget();
                widget->setText(ToQString(control.text));
                buttons_.emplace(control.name, std::move(button));
                return widget;
            }
        }
        throw std::logic_error("unknown control kind");
    }

    const FormDesign& design_;
    QApplication& application_ = Application();  // before any widget
    QWidget window_;
    std::vector<std::pair<const ControlDesign*, QWidget*>> widgets_;
    ThemeWatcher themeWatcher_;
    NamedControls<TextBox> boxes_;
    NamedControls<CommandButton> buttons_;
};

}  // namespace

bool Ended()
{
    return g_ended;
}

QWidget* MainWindow()
{
    return g_mainWindow;
}

}  // namespace qt

std::unique_ptr<Form> CreateForm(const FormDesign& design)
{
    return std::make_unique<qt::QtForm>(design);
}

void ShowForm(Form& form)
{
    if (form.onLoad) form.onLoad();
    QWidget& window = static_cast<qt::QtForm&>(form).window();
    window.show();
    window.activateWindow();
}

int Run(Form& form)
{
    ShowForm(form);
    if (qt::Ended()) return 0;
    qt::g_running = true;
    const int status = QApplication::exec();
    qt::g_running = false;
    return status;
}

int MessageBox(std::u16string_view text, std::u16string_view title, std::uint32_t style)
{
    QMessageBox box(qt::MainWindow());
    box.setWindowTitle(qt::ToQString(title));
    box.setText(qt::ToQString(text));
    box.setTextFormat(Qt::PlainText);
    switch (style & 0xF0) {
        case 0x10:
            box.setIcon(QMessageBox::Critical);
            break;
        case 0x20:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONWARNING:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    // The control that had the focus has it again when the box closes, even
    // where the window manager leaves the window inactive.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    box.exec();
    if (QWidget* window = qt::MainWindow(); window && !qt::Ended()) {
        window->activateWindow();
        if (focus) focus->setFocus(Qt::ActiveWindowFocusReason);
    }
    return 1;  // IDOK
}

std::int32_t SendMessageA(WindowHandle window, std::uint32_t message, std::uint32_t, std::int32_t)
{
    qt::ClipboardTarget* target = qt::TargetOf(window);
    if (!target) return 0;
    if (message == WM_COPY) target->CopySelection();
    if (message == WM_PASTE) target->PasteClipboard();
    return 0;
}

void End()
{
    qt::g_ended = true;
    if (QWidget* window = qt::MainWindow()) window->close();
    // Only a running loop is told to end: told outside one, Qt would end
    // every loop started afterwards at once, message boxes' included.
    if (qt::g_running) QCoreApplication::exit(0);
}

}  // namespace ravelon::forms
