// ravelon-decode: the command-line companion of the Ravelon window.

#include <cstdio>
#include <vector>

#include "cli/decode_command.h"
#include "cli/text_encoding.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

int wmain(int argc, wchar_t** argv)
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<ravelon::cli::Argument> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::wstring wide(argv[i]);
        arguments.push_back({std::u16string(wide.begin(), wide.end()), std::filesystem::path(wide)});
    }
    return ravelon::cli::RunDecodeCommand(arguments, stdin, stdout, stderr);
}
#else
int main(int argc, char** argv)
{
    std::vector<ravelon::cli::Argument> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::optional<std::u16string> text = ravelon::cli::FromUtf8(argv[i]);
        if (!text) {
            std::fprintf(stderr, "ravelon-decode: argument %d is not valid UTF-8\n", i);
            return ravelon::cli::kUsage;
        }
        arguments.push_back({*text, std::filesystem::path(argv[i])});
    }
    return ravelon::cli::RunDecodeCommand(arguments, stdin, stdout, stderr);
}
#endif
