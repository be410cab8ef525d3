#pragma once

// The toolkit's own context menu of a text box, with its actions found by
// what they do, so that a box can take them over and keep the menu's look:
// its texts, shortcuts and icons as the platform gives them.

class QAction;
class QMenu;

namespace ravelon::forms::qt {

struct EditMenuActions {
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    QAction* paste = nullptr;
    QAction* remove = nullptr;
    QAction* selectAll = nullptr;
};

EditMenuActions FindEditActions(const QMenu& menu);

}  // namespace ravelon::forms::qt
