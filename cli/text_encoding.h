#pragma once

// The encodings ravelon-decode reads and writes: UTF-8, or UTF-16 in either
// byte order when a byte-order mark says so.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ravelon::cli {

enum class Encoding { Utf8, Utf8WithMark, Utf16Le, Utf16Be };

// The encoding the first bytes announce, and how many bytes the mark takes.
struct Announced {
    Encoding encoding;
    std::size_t markBytes;
};
Announced AnnouncedEncoding(std::string_view bytes);

// How many bytes at the end of `text` (no mark) are one final line break:
// CR LF, LF or CR; 0 when there is none.
std::size_t FinalLineBreakBytes(std::string_view text, Encoding encoding);

// The byte offset, from the start of the input, of the first byte that is not
// part of valid text.
struct NotText {
    std::size_t offset;
};

// Reads text (without its mark) as UTF-16 code units, a piece at a time.
class TextReader {
public:
    TextReader(std::string_view text, Encoding encoding, std::size_t firstOffset);
    // Replaces `units` with up to about `most` more units; false at the end.
    // Throws NotText.
    bool Next(std::u16string& units, std::size_t most);

private:
    std::string_view text_;
    Encoding encoding_;
    std::size_t firstOffset_;
    std::size_t at_ = 0;
};

// Plain text (which holds no surrogates) in `encoding`, appended to `bytes`; with `lf`, CR LF becomes LF.
void AppendEncoded(std::u16string_view units, Encoding encoding, bool lf, std::string& bytes);

// The byte-order mark that starts output in `encoding`, if any.
std::string_view MarkOf(Encoding encoding);

// UTF-8 as UTF-16 code units; none when it is not valid UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view text);
// The same, each byte that is not part of valid UTF-8 shown as U+FFFD.
std::u16string FromUtf8Replacing(std::string_view text);

}  // namespace ravelon::cli
