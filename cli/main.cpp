// ravelon-decode: the command-line companion of the Ravelon window.

#include <cstdio>

#include "cli/arguments.h"
#include "cli/decode_command.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

int wmain(int argc, wchar_t** argv)
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    return ravelon::cli::RunDecodeCommand(ravelon::cli::ArgumentsOf(argc, argv), stdin, stdout, stderr);
}
#else
int main(int argc, char** argv)
{
    return ravelon::cli::RunDecodeCommand(ravelon::cli::ArgumentsOf(argc, argv), stdin, stdout, stderr);
}
#endif
