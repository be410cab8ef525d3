#pragma once

#include "decoder/warning_sink.h"

namespace ravelon {

// Warnings as modal message boxes titled "Error" with a single OK button.
class MessageBoxSink final : public WarningSink {
public:
    void ShowWarning(std::u16string_view message, WarningIcon icon) override;
};

}  // namespace ravelon
