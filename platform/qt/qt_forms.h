#pragma once

// What the Qt backend offers beyond the forms layer, for its tests.

#include <QWidget>

#include "platform/forms.h"

namespace ravelon::forms {

// Loads and shows the form without entering the event loop.
void ShowForm(Form& form);

namespace qt {
bool Ended();
QWidget* MainWindow();
}  // namespace qt

}  // namespace ravelon::forms
