// The window as built on real Qt widgets. Run at 96 dpi and, with
// QT_FONT_DPI=144, at 1.5 device pixels to a 96-dpi pixel.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <cstdio>
#include <cstdlib>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "platform/readable_colour.h"
#include "tests/row_name.h"
#include "tests/window/qt_driver.h"

namespace ravelon::testing {
namespace {

constexpr std::uint32_t kLightBlue = 0x00FCD6AB;

struct Placement {
    const char* name;
    QRect pixelsAt96;
    const char* text;
    int fontPixels;
    bool bold;
    friend void PrintTo(const Placement& row, std::ostream* os) { *os << row.name; }
};

class QtLayout : public ::testing::TestWithParam<Placement> {
protected:
    QtProgram program;
    double scale = program.window()->devicePixelRatioF();
};

TEST_P(QtLayout, ControlSitsOnItsDesignRectangleWithItsCaptionAndFont)
{
    const Placement& row = GetParam();
    QWidget* widget = program.Widget(row.name);
    EXPECT_EQ(widget->geometry(), row.pixelsAt96);
    EXPECT_EQ(widget->grab().size(), (row.pixelsAt96.size().toSizeF() * scale).toSize()) << "device pixels";
    QString text;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        text = label->text();
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        text = button->text();
    }
    EXPECT_EQ(text.toStdString(), row.text);
    EXPECT_EQ(QFontInfo(widget->font()).pixelSize(), row.fontPixels);
    EXPECT_EQ(QFontInfo(widget->font()).bold(), row.bold);
    EXPECT_FALSE(text.contains('&')) << "no access keys";
}

INSTANTIATE_TEST_SUITE_P(
    Controls, QtLayout,
    ::testing::Values(Placement{"btnCopy", {136, 264, 105, 33}, "Copy", 13, false},
                      Placement{"btnPaste", {8, 264, 105, 33}, "Paste", 13, false},
                      Placement{"btnExit", {320, 312, 105, 33}, "Exit", 13, false},
                      Placement{"txtEmail", {8, 88, 425, 25}, "", 13, false},
                      Placement{"btnDecrypt", {8, 312, 233, 33}, "Decrypt", 13, false},
                      Placement{"txtDecrypt", {8, 160, 425, 97}, "", 13, false},
                      Placement{"Label4", {8, 8, 425, 33}, "Ravelon", 19, true},
                      Placement{"Label3", {8, 64, 425, 25}, "Please enter the email address here:", 13, false},
                      Placement{"Label1", {8, 136, 425, 25}, "Please paste the encrypted code here:", 13, false}),
    RowName{});

class QtWindow : public ::testing::Test {
protected:
    std::uint32_t Pixel(const QImage& image, int x, int y) const
    {
        return ToColourRef(image.pixelColor(static_cast<int>(x * scale), static_cast<int>(y * scale)));
    }

    QtProgram program;
    double scale = program.window()->devicePixelRatioF();
};

TEST_F(QtWindow, RunsAtTheScaleItWasStartedFor)
{
    const char* dpi = std::getenv("RAVELON_EXPECTED_DPI");
    EXPECT_DOUBLE_EQ(scale, (dpi ? std::atof(dpi) : 96.0) / 96.0);
}

TEST_F(QtWindow, TitleIconAndClientArea)
{
    EXPECT_EQ(program.window()->windowTitle().toStdString(), "Ravelon ");
    EXPECT_FALSE(program.window()->windowIcon().isNull());
    EXPECT_EQ(program.window()->windowIcon().availableSizes().value(0), QSize(32, 32));
    EXPECT_EQ(program.window()->size(), QSize(442, 356));
    EXPECT_EQ(program.window()->grab().size(), (QSizeF(442, 356) * scale).toSize());
}

TEST_F(QtWindow, PaintsLightBlueAroundAndBehindTheLabels)
{
    const QImage image = program.window()->grab().toImage();
    EXPECT_EQ(Pixel(image, 2, 2), kLightBlue) << "window";
    EXPECT_EQ(Pixel(image, 10, 66), kLightBlue) << "Label3 shows no rectangle of its own";
    EXPECT_EQ(Pixel(image, 10, 138), kLightBlue) << "Label1";
    EXPECT_EQ(Pixel(image, 438, 350), kLightBlue) << "right of and below every control";
}

TEST_F(QtWindow, BoxesAreDrawnOverTheRowTheyShareWithALabel)
{
    const QImage image = program.window()->grab().toImage();
    // The bottom rows of Label3 and Label1 lie under the top rows of the boxes.
    EXPECT_NE(Pixel(image, 200, 88), kLightBlue);
    EXPECT_NE(Pixel(image, 200, 160), kLightBlue);
    EXPECT_EQ(Pixel(image, 200, 87), kLightBlue);
    EXPECT_EQ(Pixel(image, 200, 159), kLightBlue);
}

TEST_F(QtWindow, BothBoxesAreFramedAlikeToTheLastDevicePixel)
{
    // The boxes share their left and right edges, and their top and bottom
    // edges fall on the same fraction of a device pixel at 1.5x. An address
    // enables the code box, so that both are in the same state.
    program.form().TextBoxNamed("txtEmail").SetText(u"me@mail.org");
    program.Widget("btnExit")->setFocus();  // neither box shows the focus
    const QImage image = program.window()->grab().toImage();
    const auto device = [&](int x, int y) { return ToColourRef(image.pixelColor(x, y)); };
    const int left = static_cast<int>(8 * scale), right = static_cast<int>(433 * scale);
    const int emailMiddle = static_cast<int>(100 * scale), codeMiddle = static_cast<int>(200 * scale);
    for (int d = -1; d <= 2; ++d) {
        EXPECT_EQ(device(left + d, codeMiddle), device(left + d, emailMiddle)) << "left edge, " << d;
        EXPECT_EQ(device(right - d, codeMiddle), device(right - d, emailMiddle)) << "right edge, " << d;
        EXPECT_EQ(device(codeMiddle, static_cast<int>(257 * scale) - d), device(codeMiddle, static_cast<int>(113 * scale) - d))
            << "bottom edge, " << d;
    }
    EXPECT_EQ(device(codeMiddle, static_cast<int>(160 * scale)), device(codeMiddle, static_cast<int>(88 * scale))) << "top edge";
    EXPECT_NE(device(left + 1, codeMiddle), kLightBlue) << "no light blue inside the frame";
}

TEST_F(QtWindow, EnlargingMovesNothingAndShowsTheLightBlue)
{
    program.window()->resize(700, 600);
    EXPECT_EQ(program.Widget("txtDecrypt")->geometry(), QRect(8, 160, 425, 97));
    EXPECT_EQ(program.Widget("btnExit")->geometry(), QRect(320, 312, 105, 33));
    const QImage image = program.window()->grab().toImage();
    EXPECT_EQ(Pixel(image, 690, 590), kLightBlue);
}

// The painted pixel of a label that stands out most from its background, and by how much.
struct Ink {
    std::uint32_t colour;
    double contrast;
};
Ink InkOf(QWidget* label)
{
    const QImage image = label->grab().toImage();
    const std::uint32_t background = ToColourRef(image.pixelColor(0, 0));
    Ink ink{background, 1.0};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const std::uint32_t colour = ToColourRef(image.pixelColor(x, y));
            const double contrast = forms::ContrastRatio(colour, background);
            if (contrast > ink.contrast) ink = {colour, contrast};
        }
    return ink;
}

class ThemePalette {
public:
    explicit ThemePalette(QColor buttonText) : saved_(QApplication::palette())
    {
        QPalette palette = saved_;
        palette.setColor(QPalette::ButtonText, buttonText);
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
    }
    ~ThemePalette() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

TEST_F(QtWindow, LabelsWriteInTheThemesButtonTextWhereItIsReadable)
{
    const ThemePalette ordinary(QColor(128, 0, 0));
    for (const char* label : {"Label4", "Label3", "Label1"}) {
        const Ink ink = InkOf(program.Widget(label));
        EXPECT_EQ(ink.colour, 0x000080u) << label;
        std::printf("%s, dark red button text: contrast %.2f:1\n", label, ink.contrast);
    }
}

TEST_F(QtWindow, LabelsStayReadableWhenADarkThemeBringsLightText)
{
    // Adwaita dark's button text, changed while the program runs.
    const ThemePalette dark(QColor(240, 240, 240));
    for (const char* label : {"Label4", "Label3", "Label1"}) {
        const Ink ink = InkOf(program.Widget(label));
        EXPECT_GE(ink.contrast, forms::kReadableContrast) << label;
        std::printf("%s, light button text: contrast %.2f:1\n", label, ink.contrast);
    }
}

}  // namespace
}  // namespace ravelon::testing
