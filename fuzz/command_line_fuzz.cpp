// ravelon-decode as a whole, with the command line and standard input from
// the fuzzer: it must end with one of its documented statuses, and never crash.
// Input: arguments, each ended by a zero byte, up to an empty one; then the
// bytes of standard input. Files are looked for in a folder that does not exist.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "cli/decode_command.h"
#include "cli/text_encoding.h"

namespace {

// A stream that writes into memory, closed and freed at the end of the run.
struct MemoryStream {
    char* bytes = nullptr;
    std::size_t size = 0;
    std::FILE* f = open_memstream(&bytes, &size);
    ~MemoryStream()
    {
        std::fclose(f);
        std::free(bytes);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<ravelon::cli::Argument> arguments;
    for (std::size_t end; (end = rest.find('\0')) != std::string_view::npos && end > 0 && arguments.size() < 16;) {
        const std::string word(rest.substr(0, end));
        rest.remove_prefix(end + 1);
        const std::optional<std::u16string> text = ravelon::cli::FromUtf8(word);
        arguments.push_back({text ? *text : ravelon::cli::FromUtf8Replacing(word),
                             std::filesystem::path("/nonexistent-ravelon-fuzz/" + word), text.has_value()});
    }
    if (rest.starts_with('\0')) rest.remove_prefix(1);

    std::string input(rest);
    std::FILE* in = input.empty() ? std::fopen("/dev/null", "rb") : fmemopen(input.data(), input.size(), "rb");
    MemoryStream out, err;
    const int status = ravelon::cli::RunDecodeCommand(arguments, in, out.f, err.f);
    std::fclose(in);
    if (status < ravelon::cli::kDecoded || status > ravelon::cli::kOutOfRange) std::abort();
    std::fflush(err.f);
    // Every message is whole lines, and no control character but the line break reaches a terminal.
    const std::string_view said(err.bytes, err.size);
    if (!said.empty() && !said.ends_with('\n')) std::abort();
    for (char c : said)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) std::abort();
    return 0;
}
