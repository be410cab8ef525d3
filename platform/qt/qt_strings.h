#pragma once

#include <QString>
#include <algorithm>
#include <string>
#include <string_view>

namespace ravelon::forms::qt {

inline QString ToQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

// A caret's place brought within the text and onto a whole character: from
// past the end to the end, from between the halves of a surrogate pair to
// after the pair.
inline std::size_t CaretWithin(std::u16string_view text, std::size_t at)
{
    at = std::min(at, text.size());
    const bool inside =
        at > 0 && at < text.size() && QChar::isHighSurrogate(text[at - 1]) && QChar::isLowSurrogate(text[at]);
    return inside ? at + 1 : at;
}

}  // namespace ravelon::forms::qt
