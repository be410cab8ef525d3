#include "tests/window/qt_box_actions.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <random>
#include <sstream>
#include <utility>

namespace ravelon::testing {

namespace {

QString g_menuShown;

void SendMouse(QWidget* surface, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, surface->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(surface, &event);
}

// Clicks as a hand does (the second press brings a double click) and holds
// the last press down while the pointer moves in steps to `to`.
void ClickAndDrag(QWidget* surface, QPoint at, QPoint to, int clicks)
{
    for (int i = 1; i <= clicks; ++i) {
        SendMouse(surface, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        if (i == 2) SendMouse(surface, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        if (i < clicks) SendMouse(surface, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    constexpr int kSteps = 4;
    for (int i = 1; i <= kSteps; ++i)
        SendMouse(surface, QEvent::MouseMove, at + (to - at) * i / kSteps, Qt::NoButton, Qt::LeftButton);
    SendMouse(surface, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

}  // namespace

QString TakeMenuShown()
{
    return std::exchange(g_menuShown, QString());
}

std::string Describe(const Action& action)
{
    std::ostringstream out;
    switch (action.kind) {
        case Action::kKey:
            out << QKeySequence(QKeyCombination(action.modifiers, action.key)).toString().toStdString();
            break;
        case Action::kClick:
            out << "click" << (action.modifiers ? "+shift" : "") << " at " << action.at.x() << ',' << action.at.y();
            break;
        case Action::kDoubleClick:
            out << "double click at " << action.at.x() << ',' << action.at.y();
            break;
        case Action::kTripleClick:
            out << "triple click at " << action.at.x() << ',' << action.at.y();
            break;
        case Action::kDrag:
            out << "drag after " << action.delta << " clicks from " << action.at.x() << ',' << action.at.y() << " to "
                << action.to.x() << ',' << action.to.y();
            break;
        case Action::kWheel:
            out << "wheel " << action.delta << (action.modifiers ? " with a modifier" : "");
            break;
        case Action::kCommit:
            out << "commit '" << action.text.toStdString() << "'";
            break;
        case Action::kCompose:
            out << "compose '" << action.text.toStdString() << "'";
            break;
        case Action::kMenu:
            out << "context menu, its action " << action.delta;
            break;
    }
    return out.str();
}

void Apply(const Action& action, QWidget* box)
{
    QWidget* surface = box;
    if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) surface = edit->viewport();
    // An input method takes the keys while it composes: anything else comes after it stopped.
    const char* composing = "ravelon_composing";
    if (action.kind != Action::kCompose && box->property(composing).toBool()) {
        QInputMethodEvent stop;
        QApplication::sendEvent(box, &stop);
    }
    box->setProperty(composing, action.kind == Action::kCompose && !action.text.isEmpty());
    const QPoint at(static_cast<int>(action.at.x() * surface->width()),
                    static_cast<int>(action.at.y() * surface->height()));
    switch (action.kind) {
        case Action::kKey:
            QTest::keyClick(box, action.key, action.modifiers);
            break;
        case Action::kClick:
            QTest::mouseClick(surface, Qt::LeftButton, action.modifiers, at);
            break;
        case Action::kDoubleClick:
            QTest::mouseDClick(surface, Qt::LeftButton, Qt::NoModifier, at);
            break;
        case Action::kTripleClick:
            QTest::mouseDClick(surface, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, at);
            break;
        case Action::kDrag:
            ClickAndDrag(surface, at,
                         QPoint(static_cast<int>(action.to.x() * surface->width()),
                                static_cast<int>(action.to.y() * surface->height())),
                         action.delta);
            break;
        case Action::kWheel: {
            QWheelEvent wheel(at, surface->mapToGlobal(at), QPoint(), QPoint(0, action.delta), Qt::NoButton,
                              action.modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(surface, &wheel);
            break;
        }
        case Action::kMenu: {
            // The menu runs its own loop: read it and choose from inside.
            QTimer::singleShot(0, [index = action.delta] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!menu) return;
                int n = 0;
                for (QAction* item : menu->actions()) {
                    if (item->isSeparator()) continue;
                    g_menuShown += item->text() + (item->isEnabled() ? QString() : QStringLiteral(" (off)")) + u';';
                    if (n++ == index && item->isEnabled()) item->trigger();
                }
                menu->close();
            });
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, surface->mapToGlobal(at));
            QApplication::sendEvent(surface, &menu);
            break;
        }
        case Action::kCompose: {
            const auto length = static_cast<int>(action.text.size());
            QInputMethodEvent compose(action.text, {{QInputMethodEvent::Cursor, length, 1, {}}});
            QApplication::sendEvent(box, &compose);
            break;
        }
        case Action::kCommit: {
            QInputMethodEvent commit;
            commit.setCommitString(action.text);
            QApplication::sendEvent(box, &commit);
            break;
        }
    }
    QApplication::processEvents();
}

std::vector<Action> RandomActions(unsigned seed, int count, const std::vector<Action>& kinds)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> share(0.02, 0.98);
    std::vector<Action> actions;
    for (int i = 0; i < count; ++i) {
        Action action = kinds[std::uniform_int_distribution<std::size_t>(0, kinds.size() - 1)(random)];
        action.at = QPointF(share(random), share(random));
        if (action.kind == Action::kDrag) action.to = QPointF(share(random), share(random));
        actions.push_back(action);
    }
    return actions;
}

std::vector<Action> KeyPresses(std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers modifiers)
{
    std::vector<Action> actions;
    for (Qt::Key key : keys) {
        Action action;
        action.key = key;
        action.modifiers = modifiers;
        actions.push_back(action);
    }
    return actions;
}

Action Of(Action::Kind kind, Qt::KeyboardModifiers modifiers, QString text)
{
    Action action;
    action.kind = kind;
    action.modifiers = modifiers;
    action.text = std::move(text);
    return action;
}

std::vector<Action> operator+(std::vector<Action> a, const std::vector<Action>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Action Drag(int clicks)
{
    Action action = Of(Action::kDrag);
    action.delta = clicks;
    return action;
}

Action Wheel(int delta, Qt::KeyboardModifiers modifiers)
{
    Action action = Of(Action::kWheel, modifiers);
    action.delta = delta;
    return action;
}
std::vector<Action> MenuItems(int first, int last)
{
    std::vector<Action> actions;
    for (int item = first; item <= last; ++item) {
        Action action = Of(Action::kMenu);
        action.delta = item;
        actions.push_back(action);
    }
    return actions;
}

}  // namespace ravelon::testing
