#include "decoder/code_decoding.h"

#include "decoder/detail/kernels.h"

namespace ravelon {

OverflowError::OverflowError()
    : DecodeError("The email address is too long: an address of at most 32767 characters can decrypt a code.")
{
}

OutOfRangeError::OutOfRangeError()
    : DecodeError("This code cannot be decrypted with an email address of this length.")
{
}

std::u16string StripCode(std::u16string_view code, WarningSink& sink, const CipherTables& tables)
{
    const std::optional<Position> scheme = detail::MatchScheme(code, tables);
    if (!scheme) {
        sink.ShowWarning(u"Invalid Code!", WarningIcon::Exclamation);
        return {};
    }
    const std::u16string_view body = detail::BodyOf(code);
    const int spacing = tables.FillerSpacingAt(*scheme);
    std::u16string kept;
    kept.reserve(detail::KeptLength(body.size(), spacing));
    for (std::size_t i = 0; i < body.size(); ++i) {
        if ((i + 1) % static_cast<std::size_t>(spacing + 1) != 0) kept.push_back(body[i]);
    }
    return kept;
}

std::u16string ShiftDecode(std::u16string_view text, Shift shift, const CipherTables& tables)
{
    const detail::ShiftMap map = detail::MakeShiftMap(shift, tables);
    std::u16string decoded(text.size(), u'\0');
    if (!detail::StripShift(text, 0, map, decoded.data())) throw OutOfRangeError();
    return decoded;
}

}  // namespace ravelon
