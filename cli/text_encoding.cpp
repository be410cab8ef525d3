#include "cli/text_encoding.h"

#include <cstring>

namespace ravelon::cli {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

unsigned char Byte(std::string_view text, std::size_t i)
{
    return static_cast<unsigned char>(text[i]);
}

bool IsUtf16(Encoding encoding)
{
    return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be;
}

// One code point of UTF-8 at text[i]: its value, and how many bytes it takes;
// 0 bytes when it is not valid (shortest form only, no surrogates, at most U+10FFFF).
struct CodePoint {
    char32_t value;
    std::size_t bytes;
};
CodePoint DecodeUtf8(std::string_view text, std::size_t i)
{
    const unsigned char lead = Byte(text, i);
    std::size_t length = 0;
    char32_t value = 0, least = 0;
    if (lead < 0x80) return {lead, 1};
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, value = lead & 0x1Fu, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, value = lead & 0x0Fu, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, value = lead & 0x07u, least = 0x10000;
    else
        return {0, 0};
    for (std::size_t k = 1; k < length; ++k) {
        if (i + k >= text.size() || (Byte(text, i + k) & 0xC0) != 0x80) return {0, 0};
        value = value << 6 | (Byte(text, i + k) & 0x3Fu);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {0, 0};
    return {value, length};
}

}  // namespace

Announced AnnouncedEncoding(std::string_view bytes)
{
    if (bytes.starts_with(kUtf8Mark)) return {Encoding::Utf8WithMark, kUtf8Mark.size()};
    if (bytes.starts_with(kUtf16LeMark)) return {Encoding::Utf16Le, kUtf16LeMark.size()};
    if (bytes.starts_with(kUtf16BeMark)) return {Encoding::Utf16Be, kUtf16BeMark.size()};
    return {Encoding::Utf8, 0};
}

std::size_t FinalLineBreakBytes(std::string_view text, Encoding encoding)
{
    if (!IsUtf16(encoding)) {
        if (text.ends_with("\r\n")) return 2;
        return text.ends_with('\n') || text.ends_with('\r') ? 1 : 0;
    }
    const auto unitFromEnd = [&](std::size_t k) -> int {  // the k-th unit from the end, 1-based
        if (text.size() % 2 != 0 || text.size() < 2 * k) return -1;
        const std::size_t i = text.size() - 2 * k;
        return encoding == Encoding::Utf16Le ? Byte(text, i) | Byte(text, i + 1) << 8
                                             : Byte(text, i) << 8 | Byte(text, i + 1);
    };
    if (unitFromEnd(1) == '\n') return unitFromEnd(2) == '\r' ? 4 : 2;
    return unitFromEnd(1) == '\r' ? 2 : 0;
}

TextReader::TextReader(std::string_view text, Encoding encoding, std::size_t firstOffset)
    : text_(text), encoding_(encoding), firstOffset_(firstOffset)
{
}

bool TextReader::Next(std::u16string& units, std::size_t most)
{
    units.clear();
    if (at_ >= text_.size()) return false;
    if (IsUtf16(encoding_)) {
        const bool little = encoding_ == Encoding::Utf16Le;
        const std::size_t end = std::min(text_.size() - text_.size() % 2, at_ + 2 * most);
        const auto unitAt = [&](std::size_t i) -> char16_t {
            return static_cast<char16_t>(little ? Byte(text_, i) | Byte(text_, i + 1) << 8
                                                : Byte(text_, i) << 8 | Byte(text_, i + 1));
        };
        for (; at_ < end; at_ += 2) {
            const char16_t unit = unitAt(at_);
            if (unit >= 0xD800 && unit <= 0xDBFF) {  // a pair: its second half must follow
                if (at_ + 3 >= text_.size() || unitAt(at_ + 2) < 0xDC00 || unitAt(at_ + 2) > 0xDFFF)
                    throw NotText{firstOffset_ + at_};
                units += unit;
                at_ += 2;
                units += unitAt(at_);
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                throw NotText{firstOffset_ + at_};
            } else {
                units += unit;
            }
        }
        if (at_ < text_.size() && text_.size() - at_ == 1) throw NotText{firstOffset_ + at_};  // half a unit
        return true;
    }
    const std::size_t end = std::min(text_.size(), at_ + most);
    while (at_ < end) {
        // Plain ASCII goes eight bytes at a time.
        if (at_ + 8 <= end) {
            std::uint64_t eight;
            std::memcpy(&eight, text_.data() + at_, 8);
            if ((eight & 0x8080808080808080ull) == 0) {
                for (std::size_t k = 0; k < 8; ++k) units += static_cast<char16_t>(text_[at_ + k]);
                at_ += 8;
                continue;
            }
        }
        const CodePoint c = DecodeUtf8(text_, at_);
        if (c.bytes == 0) throw NotText{firstOffset_ + at_};  // the sequence's first byte, however it is bad
        if (c.value >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((c.value - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c.value - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(c.value);
        }
        at_ += c.bytes;
    }
    return true;
}

void AppendEncoded(std::u16string_view units, Encoding encoding, bool lf, std::string& bytes)
{
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (lf && unit == u'\r' && i + 1 < units.size() && units[i + 1] == u'\n') continue;
        switch (encoding) {
            case Encoding::Utf16Le:
                bytes += static_cast<char>(unit & 0xFF);
                bytes += static_cast<char>(unit >> 8);
                break;
            case Encoding::Utf16Be:
                bytes += static_cast<char>(unit >> 8);
                bytes += static_cast<char>(unit & 0xFF);
                break;
            default:
                if (unit < 0x80) {
                    bytes += static_cast<char>(unit);
                } else if (unit < 0x800) {
                    bytes += static_cast<char>(0xC0 | unit >> 6);
                    bytes += static_cast<char>(0x80 | (unit & 0x3F));
                } else {
                    bytes += static_cast<char>(0xE0 | unit >> 12);
                    bytes += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
                    bytes += static_cast<char>(0x80 | (unit & 0x3F));
                }
        }
    }
}

std::string_view MarkOf(Encoding encoding)
{
    switch (encoding) {
        case Encoding::Utf8WithMark:
            return kUtf8Mark;
        case Encoding::Utf16Le:
            return kUtf16LeMark;
        case Encoding::Utf16Be:
            return kUtf16BeMark;
        default:
            return {};
    }
}

std::u16string FromUtf8Replacing(std::string_view text)
{
    std::u16string units;
    for (std::size_t i = 0; i < text.size();) {
        const CodePoint c = DecodeUtf8(text, i);
        if (c.bytes == 0) {
            units += u'\uFFFD';
            ++i;
        } else if (c.value >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((c.value - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c.value - 0x10000) & 0x3FF));
            i += c.bytes;
        } else {
            units += static_cast<char16_t>(c.value);
            i += c.bytes;
        }
    }
    return units;
}

std::optional<std::u16string> FromUtf8(std::string_view text)
{
    TextReader reader(text, Encoding::Utf8, 0);
    std::u16string units, all;
    try {
        while (reader.Next(units, 1 << 16)) all += units;
    } catch (const NotText&) {
        return std::nullopt;
    }
    return all;
}

}  // namespace ravelon::cli
