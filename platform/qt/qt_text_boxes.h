#pragma once

// The Qt backend's text boxes, for the forms and their tests.

#include "platform/line_breaks.h"
#include "platform/qt/light_routing.h"
#include "platform/qt/line_text_box.h"
#include "platform/qt/multi_line_text_box.h"
#include "platform/qt/qt_strings.h"
