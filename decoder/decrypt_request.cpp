#include "decoder/decrypt_request.h"

#include "decoder/code_stream.h"
#include "decoder/detail/kernels.h"

namespace ravelon {

std::optional<DecryptedText> DecryptRequest(std::u16string_view address, std::u16string_view code, WarningSink& sink,
                                            const CipherTables& tables)
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
    if (!scheme) return DecryptedText();

    const detail::ShiftMap& map = detail::ShiftMapFor(shift, tables);
    DecryptedText plain;
    if (!detail::DecodePlainText(detail::BodyOf(code), tables.FillerSpacingAt(*scheme), map, plain))
        throw OutOfRangeError();
    return plain;
}

}  // namespace ravelon
