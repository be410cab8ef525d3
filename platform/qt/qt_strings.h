#pragma once

#include <QString>
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

// A place in the text, moved from between the halves of a surrogate pair to
// after the pair.
inline std::size_t PastSurrogatePair(std::u16string_view text, std::size_t at)
{
    const bool inside =
        at > 0 && at < text.size() && QChar::isHighSurrogate(text[at - 1]) && QChar::isLowSurrogate(text[at]);
    return inside ? at + 1 : at;
}

}  // namespace ravelon::forms::qt
