#pragma once

#include <string_view>

namespace ravelon {

enum class WarningIcon { Information, Exclamation };

// Where the decoder reports a problem the user caused: shown modally, titled
// "Error", with a single OK button; returns once the user has closed it.
class WarningSink {
public:
    virtual void ShowWarning(std::u16string_view message, WarningIcon icon) = 0;

protected:
    ~WarningSink() = default;
};

}  // namespace ravelon
