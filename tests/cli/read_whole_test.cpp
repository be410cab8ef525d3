// An input read whole: a regular file is held once, at its own size.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/read_whole.h"

namespace ravelon::cli {
namespace {

TEST(ReadWhole, AFileJustOverAPowerOfTwoIsHeldAtItsOwnSize)
{
    const std::size_t size = (std::size_t{1} << 22) + 17;
    std::string written(size, '\0');
    for (std::size_t i = 0; i < size; ++i) written[i] = static_cast<char>('a' + i % 26);
    std::FILE* f = std::tmpfile();
    ASSERT_EQ(std::fwrite(written.data(), 1, size, f), size);
    std::rewind(f);
    std::string read;
    ASSERT_TRUE(ReadWhole(f, read));
    std::fclose(f);
    EXPECT_TRUE(read == written);
    // Grown by doubling, the buffer would hold twice the file.
    EXPECT_LE(read.capacity(), size + 64) << "the file's " << size << " bytes took " << read.capacity();
}

}  // namespace
}  // namespace ravelon::cli
