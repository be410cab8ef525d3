#pragma once

// User actions on a text box, as the differential run of the big-text view
// applies them: keys, clicks, the wheel, input-method commits, the context menu.

#include <QPointF>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <vector>

namespace ravelon::testing {

struct Action {
    enum Kind { kKey, kClick, kDoubleClick, kTripleClick, kDrag, kWheel, kCommit, kCompose, kMenu } kind = kKey;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QPointF at;     // a click's place, as a share of the box's width and height
    QPointF to;     // where a drag ends, likewise
    int delta = 0;  // the wheel's turn; the menu's action chosen; the clicks a drag starts with
    QString text;
};

std::string Describe(const Action& action);
void Apply(const Action& action, QWidget* box);
// The context menu's items as the last menu action saw them (then forgotten).
QString TakeMenuShown();

std::vector<Action> RandomActions(unsigned seed, int count, const std::vector<Action>& kinds);
std::vector<Action> KeyPresses(std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
Action Of(Action::Kind kind, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QString text = {});
Action Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The button held down after the last of `clicks` clicks and dragged.
Action Drag(int clicks);
// The context menu's items, from Undo (0) to Select All (6).
std::vector<Action> MenuItems(int first, int last);
std::vector<Action> operator+(std::vector<Action> a, const std::vector<Action>& b);

}  // namespace ravelon::testing
