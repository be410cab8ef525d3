// The big-text view against the toolkit's own box as its oracle: the same
// seeded run of user actions is applied to a box shown by the toolkit and to
// one shown by LightText (the threshold lowered), and after every action both
// must agree on the exact text, the caret and anchor, the first line in view,
// the focus, and what a screen reader is told; every hundred actions, and
// after the last, both are painted and compared pixel for pixel. A failing
// seed is kept as a row.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRect>
#include <QStyleHints>
#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "platform/qt/qt_text_boxes.h"
#include "platform/qt/testing_hooks.h"
#include "tests/row_name.h"
#include "tests/window/qt_box_actions.h"
#include "tests/window/qt_box_observation.h"
#include "tests/window/qt_differential_rows.h"
#include "tests/window/qt_driver.h"

namespace ravelon::testing {
namespace {

// RAVELON_PAINTED_EVERY=1 paints after every action, to find the first that differs.
std::size_t PaintedEvery()
{
    const char* every = std::getenv("RAVELON_PAINTED_EVERY");
    return every ? std::max<std::size_t>(1, std::strtoul(every, nullptr, 10)) : 100;
}

struct ActionRun {
    std::vector<Observed> seen;   // before the first action, then after each
    std::vector<QImage> painted;  // after every PaintedEvery()-th action, and the last
};

// A click where a double click was is a third click while the double-click
// time lasts: the toolkit's boxes end it when their timer event comes, the big
// view when that time has passed. The two runs of a row take their own time,
// on a slow machine too, so that time outlasts every run.
struct DoubleClickTimeOutlastingTheRun {
    const int before = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    DoubleClickTimeOutlastingTheRun() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(3'600'000); }
    ~DoubleClickTimeOutlastingTheRun() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(before); }
};

ActionRun RunActions(const DifferentialRow& row, const std::vector<Action>& actions, std::size_t lightFrom)
{
    const DoubleClickTimeOutlastingTheRun doubleClickTime;
    forms::qt::SetLightTextFrom(lightFrom);
    QtProgram program;
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted\r\ntext"));
    program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
    forms::TextBox& control = program.form().TextBoxNamed(row.box);
    control.SetText(row.text);
    QWidget* box = program.Widget(row.box);
    box->setFocus();
    QApplication::processEvents();
    ActionRun run{{Observe(box, control)}, {}};
    for (std::size_t i = 0; i < actions.size(); ++i) {
        Apply(actions[i], box);
        // The line edit scrolls at each paint, and may scroll again at the
        // next (its caret blinks): compared where it settles.
        if (qobject_cast<QLineEdit*>(box)) {
            box->repaint();
            box->repaint();
        }
        run.seen.push_back(Observe(box, control));
        // As after a menu closes on a desktop: the window is active again, the box focused.
        if (!box->isActiveWindow()) {
            box->activateWindow();
            QApplication::processEvents();
        }
        box->setFocus();
        if ((i + 1) % PaintedEvery() == 0 || i + 1 == actions.size()) {
            QApplication::processEvents();
            run.painted.push_back(box->grab().toImage());
        }
    }
    forms::qt::SetLightTextFrom(32768);
    return run;
}

// Where two paintings differ: how many pixels, and the rectangle around them.
struct Apart {
    int pixels = 0;
    QRect around;
};

// Compared inside the frame, with b's text `shift` pixels lower than a's.
Apart PixelsApart(const QImage& a, const QImage& b, int shift = 0)
{
    if (a.size() != b.size()) return {a.width() * a.height(), a.rect()};
    const QRect inside = shift == 0 ? a.rect() : a.rect().adjusted(3, 3, -3, -3);
    Apart apart;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (inside.contains(x, y + shift) && a.pixel(x, y) != b.pixel(x, y + shift)) {
                ++apart.pixels;
                apart.around |= QRect(x, y, 1, 1);
            }
    return apart;
}

// The big view may place its lines a pixel above or below the toolkit's
// after some scrolls and edits (the README's differences): its painting
// is then compared a pixel off, and otherwise alike.
Apart PaintedApart(const QImage& toolkit, const QImage& light)
{
    const Apart same = PixelsApart(toolkit, light);
    if (same.pixels == 0) return same;
    for (const int shift : {-1, 1})
        if (PixelsApart(toolkit, light, shift).pixels == 0) return {};
    return same;
}

class LightTextDifferential : public ::testing::TestWithParam<DifferentialRow> {
protected:
    void SetUp() override
    {
        QAccessible::setActive(true);
        QApplication::setCursorFlashTime(0);  // the caret stays shown, in both
    }
    void TearDown() override
    {
        QAccessible::setActive(false);
        QApplication::setCursorFlashTime(1000);
    }
};

// Of a paragraph (or an address) over 4,096 units, the big view tells an
// input method the part around the caret, a difference the README lists:
// that part of what the toolkit's box tells, with the caret and anchor where
// they are in it.
bool ToldAPartOf(const Observed& toolkit, const Observed& light)
{
    constexpr qsizetype kToldWhole = 4096;
    const int offset = toolkit.inputMethodCaret - light.inputMethodCaret;
    return toolkit.inputMethodAround.size() > kToldWhole && light.inputMethodAround.size() <= kToldWhole &&
           offset >= 0 && toolkit.inputMethodAnchor - light.inputMethodAnchor == offset &&
           toolkit.inputMethodAround.mid(offset, light.inputMethodAround.size()) == light.inputMethodAround;
}

// RAVELON_SEED runs every row again from other seeds, RAVELON_ACTIONS longer.
unsigned SeedOf(const DifferentialRow& row)
{
    const char* seed = std::getenv("RAVELON_SEED");
    return seed ? row.seed + static_cast<unsigned>(std::strtoul(seed, nullptr, 10)) : row.seed;
}

int ActionsOf(const DifferentialRow& row)
{
    const char* actions = std::getenv("RAVELON_ACTIONS");
    return actions ? std::atoi(actions) : row.actions;
}

TEST_P(LightTextDifferential, AnswersEveryActionAsTheToolkitsBox)
{
    const DifferentialRow& row = GetParam();
    const unsigned seed = SeedOf(row);
    const std::vector<Action> actions = RandomActions(seed, ActionsOf(row), row.kinds);
    const ActionRun toolkitRun = RunActions(row, actions, std::size_t{1} << 30);  // never
    ActionRun lightRun = RunActions(row, actions, row.lightFrom);
    const std::vector<Observed>& toolkit = toolkitRun.seen;
    std::vector<Observed>& light = lightRun.seen;
    // The actions up to the i-th, the last few of them.
    const auto before = [&](std::size_t i) {
        std::ostringstream steps;
        for (std::size_t j = i > 8 ? i - 8 : 0; j < i; ++j)
            steps << "  " << j + 1 << ": " << Describe(actions[j]) << '\n';
        return steps.str();
    };
    for (std::size_t i = 0; i < toolkit.size(); ++i) {
        if (std::abs(light[i].inputMethodCaretTop - toolkit[i].inputMethodCaretTop) <= 1)
            light[i].inputMethodCaretTop = toolkit[i].inputMethodCaretTop;
        if (ToldAPartOf(toolkit[i], light[i])) {
            light[i].inputMethodCaret = toolkit[i].inputMethodCaret;
            light[i].inputMethodAnchor = toolkit[i].inputMethodAnchor;
            light[i].inputMethodAround = toolkit[i].inputMethodAround;
        }
        if (light[i] == toolkit[i]) continue;
        FAIL() << "after action " << i << " of seed " << seed << ":\n"
               << before(i) << "both before: " << (i > 0 ? Describe(toolkit[i - 1]) : "-")
               << "\ntoolkit: " << Describe(toolkit[i]) << "\nlight:   " << Describe(light[i]);
    }
    for (std::size_t k = 0; k < toolkitRun.painted.size(); ++k) {
        const Apart apart = PaintedApart(toolkitRun.painted[k], lightRun.painted[k]);
        if (apart.pixels == 0) continue;
        const QRect& r = apart.around;
        const std::size_t after = std::min((k + 1) * PaintedEvery(), actions.size());
        const QString stem = QStringLiteral("/tmp/ravelon-%1-%2-").arg(QString::fromUtf8(row.name)).arg(k);
        toolkitRun.painted[k].save(stem + QStringLiteral("toolkit.png"));
        lightRun.painted[k].save(stem + QStringLiteral("light.png"));
        ADD_FAILURE() << "painted otherwise (" << apart.pixels << " pixels within " << r.width() << 'x' << r.height()
                      << " at " << r.x() << ',' << r.y() << ") after action " << after << " of seed " << seed
                      << ", saved as " << stem.toStdString() << "{toolkit,light}.png:\n"
                      << before(after);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, LightTextDifferential, ::testing::ValuesIn(DifferentialRows()), RowName{});

}  // namespace
}  // namespace ravelon::testing
