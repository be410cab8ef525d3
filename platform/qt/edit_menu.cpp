#include "platform/qt/edit_menu.h"

#include <QAction>
#include <QMenu>
#include <array>
#include <string_view>

namespace ravelon::forms::qt {

// The text edit names its actions; the line edit (before Qt 6.5) does not,
// but puts them in the same order.
EditMenuActions FindEditActions(const QMenu& menu)
{
    EditMenuActions found;
    const std::array<std::pair<std::string_view, QAction**>, 7> roles = {{{"edit-undo", &found.undo},
                                                                          {"edit-redo", &found.redo},
                                                                          {"edit-cut", &found.cut},
                                                                          {"edit-copy", &found.copy},
                                                                          {"edit-paste", &found.paste},
                                                                          {"edit-delete", &found.remove},
                                                                          {"select-all", &found.selectAll}}};
    std::size_t index = 0;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        const QByteArray name = action->objectName().toLatin1();
        for (std::size_t role = 0; role < roles.size(); ++role) {
            const bool named = !name.isEmpty() && std::string_view(name.constData()) == roles[role].first;
            if (named || (name.isEmpty() && role == index)) *roles[role].second = action;
        }
        ++index;
    }
    return found;
}

}  // namespace ravelon::forms::qt
