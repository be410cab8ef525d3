#include "cli/read_whole.h"

#include <sys/stat.h>

#include <algorithm>

namespace ravelon::cli {

namespace {

// The size of a regular file, when `f` is one; 0 otherwise.
std::size_t RegularFileSize(std::FILE* f)
{
#ifdef _WIN32
    struct _stat64 status;
    if (_fstat64(_fileno(f), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) return 0;
#else
    struct stat status;
    if (fstat(fileno(f), &status) != 0 || !S_ISREG(status.st_mode)) return 0;
#endif
    return status.st_size > 0 ? static_cast<std::size_t>(status.st_size) : 0;
}

}  // namespace

bool ReadWhole(std::FILE* f, std::string& bytes)
{
    // One byte more than the file's size, to see its end (or that it grew) at once.
    std::size_t room = std::max<std::size_t>(RegularFileSize(f) + 1, 1 << 16);
    bytes.clear();
    for (;;) {
        const std::size_t at = bytes.size();
        bytes.resize(at + room);
        const std::size_t n = std::fread(bytes.data() + at, 1, room, f);
        bytes.resize(at + n);
        if (n < room) return !std::ferror(f);
        room = std::max<std::size_t>(bytes.size(), 1 << 16);  // a pipe, or a file that grew: doubles
    }
}

}  // namespace ravelon::cli
