#include "decoder/decrypt_request.h"

#include "decoder/code_stream.h"
#include "decoder/detail/kernels.h"

namespace ravelon {

std::optional<std::u16string> DecryptRequest(std::u16string_view address, std::u16string_view code,
                                             WarningSink& sink, const CipherTables& tables)
{
    if (address.empty()) {
        sink.ShowWarning(u"Please enter an email address", WarningIcon::Information);
        return std::nullopt;
    }
    if (code.empty()) {
        sink.ShowWarning(u"Please enter an encrypted code", WarningIcon::Information);
        return std::nullopt;
    }

    const std::optional<Position> scheme = detail::MatchScheme(code, tables);
    if (!scheme) sink.ShowWarning(u"Invalid Code!", WarningIcon::Exclamation);
    const int shift = ShiftOf(address.size());
    if (!scheme) return std::u16string{};

    // Strip and shift in one pass into a buffer sized once; the markers then
    // shrink it in place, so it is never copied.
    const std::u16string_view body = detail::BodyOf(code);
    const int spacing = tables.FillerSpacingAt(*scheme);
    const detail::ShiftMap map = detail::MakeShiftMap(shift, tables);
    std::u16string plain(detail::KeptLength(body.size(), spacing), u'\0');
    if (!detail::StripShift(body, spacing, map, plain.data())) throw OutOfRangeError();
    plain.resize(detail::RestoreLineBreaks(plain.data(), plain.size()));
    return plain;
}

}  // namespace ravelon
