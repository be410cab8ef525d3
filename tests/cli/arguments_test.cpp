// The command line as the system gives it: a file name is the system's bytes.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/decode_command.h"

namespace ravelon::cli {
namespace {

#ifndef _WIN32
TEST(Arguments, AFileNameThatIsNotUtf8IsDecodedAndNamedByItsBytes)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "ravelon-cli-arguments";
    std::filesystem::create_directories(folder);
    const std::string good = (folder / "caf\xE9.txt").native();
    const std::string missing = (folder / "gon\xE9.txt").native();
    std::FILE* f = std::fopen(good.c_str(), "wb");
    std::fputs("pulxaab\nc\ndef", f);  // ">/?<| " with a six-unit address
    std::fclose(f);

    std::vector<std::string> words = {"ravelon-decode", "-n", "6", good, missing};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    const std::vector<Argument> arguments = ArgumentsOf(static_cast<int>(argv.size()), argv.data());
    ASSERT_EQ(arguments.size(), 4u);
    EXPECT_TRUE(arguments[1].isText);
    EXPECT_FALSE(arguments[2].isText);
    EXPECT_EQ(arguments[2].path.native(), good);

    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = RunDecodeCommand(arguments, stdin, out, err);
    std::string written(64, '\0'), said(512, '\0');
    std::rewind(out);
    std::rewind(err);
    written.resize(std::fread(written.data(), 1, written.size(), out));
    said.resize(std::fread(said.data(), 1, said.size(), err));
    std::fclose(out);
    std::fclose(err);
    std::filesystem::remove_all(folder);

    EXPECT_EQ(status, kCannotReadOrWrite);  // the second file is not there
    EXPECT_EQ(written, ">/?<| \r\n");
    EXPECT_NE(said.find("gon'$'\\351''.txt': "), std::string::npos) << said;
}

TEST(Arguments, AnOptionOrAddressThatIsNotUtf8IsRefused)
{
    for (std::vector<std::string> words :
         {std::vector<std::string>{"x", "-a", "caf\xE9"}, std::vector<std::string>{"x", "--l\xE9"}}) {
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        std::FILE* err = std::tmpfile();
        EXPECT_EQ(RunDecodeCommand(ArgumentsOf(static_cast<int>(argv.size()), argv.data()), stdin, stdout, err),
                  kUsage);
        std::fclose(err);
    }
}
#endif

}  // namespace
}  // namespace ravelon::cli
