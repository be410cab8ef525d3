#pragma once

// A plain decoder that follows the written rules step by step, with its own
// copy of the tables, and a runner that records what a request did. The fast
// decoder must agree with it on every input.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/warning_sink.h"

namespace ravelon::testing {

inline constexpr std::u16string_view kReferenceAlphabet =
    u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890"
    u"!\"\u00A3$%^&*()-_=+[{]};:#~'@,.<>/?\\| ";

struct Warning {
    std::u16string message;
    WarningIcon icon;
    friend bool operator==(const Warning&, const Warning&) = default;
};

class RecordingSink final : public WarningSink {
public:
    void ShowWarning(std::u16string_view message, WarningIcon icon) override
    {
        warnings.push_back({std::u16string(message), icon});
    }
    std::vector<Warning> warnings;
};

enum class Failure { None, Overflow, OutOfRange };

// Everything a request shows and yields.
struct Outcome {
    std::vector<Warning> warnings;
    std::optional<std::u16string> text;
    Failure failure = Failure::None;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

Outcome ReferenceRequest(std::u16string_view address, std::u16string_view code);
Outcome DecoderRequest(std::u16string_view address, std::u16string_view code);

// Literal versions of the two routines; ReferenceShift throws Failure::OutOfRange.
std::u16string ReferenceStrip(std::u16string_view code, WarningSink& sink);
std::u16string ReferenceShift(std::u16string_view text, int shift);

// The other side of the format: shifts each symbol forward cyclically and puts
// `filler` after every `spacing` symbols.
std::u16string Encode(std::u16string_view plain, int shift, int scheme, char16_t filler = u'x');

std::string Printable(std::u16string_view text);
void PrintTo(const Outcome& outcome, std::ostream* os);
void PrintTo(const Warning& warning, std::ostream* os);

}  // namespace ravelon::testing

