// Writes a picture of the window after a decryption, for the README:
//   QT_QPA_PLATFORM=offscreen qt_screenshot docs/screenshot.png

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "tests/decoder/reference_decoder.h"
#include "tests/window/qt_driver.h"

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    ravelon::testing::QtProgram program;
    QTest::keyClicks(program.Get<QLineEdit>("txtEmail"), QStringLiteral("me@mail.org"));
    const std::u16string code = ravelon::testing::Encode(
        u"Licence for 12 seats###NEWLINE###Key: 7Q4M-XR2D-99KA###NEWLINE###Valid until 31 Dec 2027", 11, 2);
    program.form().TextBoxNamed("txtDecrypt").SetText(code);
    QTest::mouseClick(program.Widget("btnDecrypt"), Qt::LeftButton);
    return program.window()->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
