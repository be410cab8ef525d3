// ravelon-decode as a script uses it: arguments, bytes in, bytes and a status out.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/decode_command.h"
#include "cli/quoted_name.h"
#include "cli/text_encoding.h"
#include "tests/decoder/random_inputs.h"
#include "tests/decoder/reference_decoder.h"
#include "tests/row_name.h"

namespace ravelon::cli {
namespace {

using testing::Encode;
using testing::Printable;

struct Result {
    int status;
    std::string out, err;
};

std::string Contents(std::FILE* f)
{
    std::string bytes;
    std::rewind(f);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    return bytes;
}

std::string Utf8(std::u16string_view text)
{
    std::string bytes;
    AppendEncoded(text, Encoding::Utf8, false, bytes);
    return bytes;
}

Argument Arg(const std::u16string& word)
{
#ifdef _WIN32
    return {word, std::filesystem::path(std::wstring(word.begin(), word.end()))};
#else
    return {word, std::filesystem::path(Utf8(word))};
#endif
}

// Runs the command with `input` on standard input (and `out` as standard output, if given).
Result RunCommand(std::vector<std::u16string> words, const std::string& input, std::FILE* out = nullptr)
{
    std::vector<Argument> arguments;
    for (auto& w : words) arguments.push_back(Arg(w));
    std::FILE* in = std::tmpfile();
    const bool ownOut = !out;
    if (ownOut) out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    const int status = RunDecodeCommand(arguments, in, out, err);
    Result result{status, ownOut ? Contents(out) : std::string(), Contents(err)};
    std::fclose(in);
    if (ownOut) std::fclose(out);
    std::fclose(err);
    return result;
}

TEST(DecodeCommand, AgreesWithTheWrittenRulesOnRandomRequests)
{
#ifdef _WIN32
    constexpr int kRequests = 300;  // each opens three files, slow under Wine
#else
    constexpr int kRequests = 3000;
#endif
    testing::RandomInputs inputs(99);
    for (int i = 0; i < kRequests; ++i) {
        const std::u16string address(1 + static_cast<std::size_t>(i % 150), u'@');
        std::u16string code = i % 2 ? inputs.Code() : inputs.EncodedCode(static_cast<int>(address.size()));
        // A text file carries no lone surrogates; the window's own tests cover those.
        for (char16_t& c : code)
            if (c >= 0xD800 && c <= 0xDFFF) c = u'?';
        while (!code.empty() && (code.back() == u'\r' || code.back() == u'\n')) code.pop_back();
        const testing::Outcome expected = testing::ReferenceRequest(address, code);
        const Result got = RunCommand({u"--address", address}, Utf8(code) + "\n");
        const std::string context = "code \"" + Printable(code) + '"';
        if (expected.text && expected.warnings.empty() && expected.failure == testing::Failure::None) {
            EXPECT_EQ(got.status, kDecoded) << context;
            EXPECT_EQ(got.out, Utf8(*expected.text) + "\r\n") << context;
        } else {
            EXPECT_NE(got.status, kDecoded) << context;
            EXPECT_EQ(got.out, "") << "nothing on standard output when no text comes; " << context;
        }
    }
}

struct Refusal {
    const char* name;
    std::vector<std::u16string> arguments;
    std::string input;
    int status;
    std::string message;  // the start of what standard error says
};

class Refusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refusals, SayWhyOnStandardErrorWithTheirOwnStatusAndWriteNothing)
{
    const Refusal& row = GetParam();
    const Result got = RunCommand(row.arguments, row.input);
    EXPECT_EQ(got.status, row.status);
    EXPECT_EQ(got.err.substr(0, row.message.size()), row.message) << got.err;
    EXPECT_EQ(got.out, "");
}

const std::string kMarkerCode = Utf8(Encode(u"ab###NEWLINE###cd", 3, 2));

INSTANTIATE_TEST_SUITE_P(
    Messages, Refusals,
    ::testing::Values(
        Refusal{"empty_address", {u"--address", u""}, kMarkerCode, kNoAddress, "Please enter an email address\n"},
        Refusal{"zero_length", {u"-n", u"0"}, kMarkerCode, kNoAddress, "Please enter an email address\n"},
        Refusal{"empty_code", {u"-n", u"3"}, "", kNoCode, "Please enter an encrypted code\n"},
        Refusal{"only_a_line_break", {u"-n", u"3"}, "\r\n", kNoCode, "Please enter an encrypted code\n"},
        Refusal{"only_a_mark", {u"-n", u"3"}, "\xEF\xBB\xBF", kNoCode, "Please enter an encrypted code\n"},
        Refusal{"unknown_tag", {u"-n", u"3"}, "qotmy abc", kInvalidCode, "Invalid Code!\n"},
        Refusal{"shorter_than_a_tag", {u"-n", u"3"}, "qotm", kInvalidCode, "Invalid Code!\n"},
        Refusal{"unknown_tag_then_too_long",
                {u"-n", u"32768"},
                "qotmy",
                kAddressTooLong,
                "Invalid Code!\nThe email address is too long"},
        Refusal{"address_too_long", {u"-n", u"32768"}, kMarkerCode, kAddressTooLong, "The email address is too long"},
        Refusal{"out_of_range", {u"-n", u"95"}, "qotmz`", kOutOfRange, "This code cannot be decrypted"},
        Refusal{"no_address", {}, kMarkerCode, kUsage, "ravelon-decode: give the address"},
        Refusal{
            "unknown_option", {u"-n", u"3", u"--fast"}, kMarkerCode, kUsage, "ravelon-decode: unknown option --fast"},
        Refusal{"length_not_a_number", {u"-n", u"3x"}, kMarkerCode, kUsage, "ravelon-decode: --address-length needs"},
        Refusal{"missing_file",
                {u"-n", u"3", u"/nonexistent/code.txt"},
                "",
                kCannotReadOrWrite,
                "ravelon-decode: /nonexistent/code.txt: "},
        Refusal{"length_without_its_number",
                {u"-n"},
                kMarkerCode,
                kUsage,
                "ravelon-decode: --address-length needs a value\n"},
        Refusal{"long_length_without_its_number",
                {u"--address-length"},
                kMarkerCode,
                kUsage,
                "ravelon-decode: --address-length needs a value\n"},
        Refusal{"address_without_its_value",
                {u"-n", u"3", u"-a"},
                kMarkerCode,
                kUsage,
                "ravelon-decode: --address needs a value\n"},
        Refusal{"long_address_without_its_value",
                {u"--address"},
                kMarkerCode,
                kUsage,
                "ravelon-decode: --address needs a value\n"},
        Refusal{"length_of_twenty_digits",
                {u"-n", u"99999999999999999999"},
                kMarkerCode,
                kAddressTooLong,
                "The email address is too long"},
        Refusal{"length_of_thirteen_digits",
                {u"--address-length=1000000000000"},
                kMarkerCode,
                kAddressTooLong,
                "The email address is too long"},
        Refusal{"unknown_option_with_a_control_character",
                {u"-n", u"3",
                 u"-\x1f"
                 u"a"},
                kMarkerCode,
                kUsage,
                "ravelon-decode: unknown option '-'$'\\037''a'\n"},
        Refusal{"file_name_with_a_terminal_escape",
                {u"-n", u"3", u"/nonexistent/a\x1b[31mred"},
                "",
                kCannotReadOrWrite,
                "ravelon-decode: '/nonexistent/a'$'\\033''[31mred': "}),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    BadText, Refusals,
    ::testing::Values(Refusal{"stray_continuation_byte",
                              {u"-n", u"3"},
                              "qotmzab\x80",
                              kNotText,
                              "ravelon-decode: standard input: not valid UTF-8 text at byte 7\n"},
                      Refusal{"sequence_cut_short",
                              {u"-n", u"3"},
                              "qotmz\xC3",
                              kNotText,
                              "ravelon-decode: standard input: not valid UTF-8 text at byte 5\n"},
                      Refusal{"sequence_cut_short_by_a_letter",
                              {u"-n", u"3"},
                              "qotmz\xE2\x82"
                              "a",
                              kNotText,
                              "ravelon-decode: standard input: not valid UTF-8 text at byte 5\n"},
                      Refusal{"overlong_form",
                              {u"-n", u"3"},
                              "qotmz\xC0\x80",
                              kNotText,
                              "ravelon-decode: standard input: not valid UTF-8 text at byte 5\n"},
                      Refusal{"encoded_surrogate",
                              {u"-n", u"3"},
                              "qotmzab\xED\xA0\x80",
                              kNotText,
                              "ravelon-decode: standard input: not valid UTF-8 text at byte 7\n"},
                      Refusal{"past_the_last_code_point",
                              {u"-n", u"3"},
                              "qotmz\xF4\x90\x80\x80",
                              kNotText,
                              "ravelon-decode: standard input: not valid UTF-8 text at byte 5\n"},
                      Refusal{"bad_byte_after_a_bad_tag",
                              {u"-n", u"3"},
                              "xxxxxab\xFF",
                              kNotText,
                              "ravelon-decode: standard input: not valid UTF-8 text at byte 7\n"},
                      Refusal{"utf16_half_a_unit",
                              {u"-n", u"3"},
                              std::string("\xFF\xFEq\0o\0t\0m\0z\0a", 13),
                              kNotText,
                              "ravelon-decode: standard input: not valid UTF-16 text at byte 12\n"},
                      Refusal{"utf16_lone_low_half",
                              {u"-n", u"3"},
                              std::string("\xFF\xFEq\0o\0t\0m\0z\0\x00\xDC", 14),
                              kNotText,
                              "ravelon-decode: standard input: not valid UTF-16 text at byte 12\n"},
                      Refusal{"utf16_high_half_alone",
                              {u"-n", u"3"},
                              std::string("\xFE\xFF\0q\0o\0t\0m\0z\xD8\x00\0a", 16),
                              kNotText,
                              "ravelon-decode: standard input: not valid UTF-16 text at byte 12\n"}),
    RowName());

struct Round {
    const char* name;
    std::string input;
    std::vector<std::u16string> options;
    std::string output;
};

class Encodings : public ::testing::TestWithParam<Round> {};

TEST_P(Encodings, PlainTextComesOutInTheInputsEncodingAfterOneFinalLineBreakIsDropped)
{
    const Round& row = GetParam();
    std::vector<std::u16string> arguments{u"--address", u"sixsix"};
    arguments.insert(arguments.end(), row.options.begin(), row.options.end());
    const Result got = RunCommand(arguments, row.input);
    EXPECT_EQ(got.status, kDecoded) << got.err;
    EXPECT_EQ(got.out, row.output);
}

// "pulxa" "ab" LF "c" LF "def" with a six-unit address: ">/?<| " (see the window's tests).
INSTANTIATE_TEST_SUITE_P(
    Rows, Encodings,
    ::testing::Values(Round{"utf8", "pulxaab\nc\ndef", {}, ">/?<| \r\n"},
                      Round{"utf8_final_lf_dropped", "pulxaab\nc\ndef\n", {}, ">/?<| \r\n"},
                      Round{"utf8_final_crlf_dropped", "pulxaab\nc\ndef\r\n", {}, ">/?<| \r\n"},
                      Round{"utf8_only_one_final_break_dropped", "pulxaab\nc\nde\n\n", {}, ">/?<|<\r\n"},
                      Round{"utf8_with_mark", "\xEF\xBB\xBFpulxaab\nc\ndef\n", {}, "\xEF\xBB\xBF>/?<| \r\n"},
                      Round{"utf16_little_endian",
                            std::string("\xFF\xFEp\0u\0l\0x\0a\0a\0b\0\n\0c\0\n\0d\0e\0f\0\r\0\n\0", 32),
                            {},
                            std::string("\xFF\xFE>\0/\0?\0<\0|\0 \0\r\0\n\0", 18)},
                      Round{"utf16_big_endian",
                            std::string("\xFE\xFF\0p\0u\0l\0x\0a\0a\0b\0\n\0c\0\n\0d\0e\0f", 28),
                            {},
                            std::string("\xFE\xFF\0>\0/\0?\0<\0|\0 \0\r\0\n", 18)},
                      Round{"pound_sign_in_utf8", Utf8(Encode(u"\u00A3 5", 6, 1)), {}, "\xC2\xA3 5\r\n"},
                      Round{"markers_as_crlf", Utf8(Encode(u"a###NEWLINE###b", 6, 3)), {}, "a\r\nb\r\n"},
                      Round{"markers_as_lf", Utf8(Encode(u"a###NEWLINE###b", 6, 3)), {u"--lf"}, "a\nb\n"}),
    RowName());

TEST(DecodeCommand, ShiftIsTheAddressLengthInUtf16CodeUnits)
{
    // An address with a character outside the BMP: two code units, as the window counts it.
    const std::string code = Utf8(Encode(u"Meet at noon", 3, 1));
    EXPECT_EQ(RunCommand({u"--address", u"a\U0001F600"}, code).out, "Meet at noon\r\n");
    EXPECT_EQ(RunCommand({u"--address-length", u"3"}, code).out, "Meet at noon\r\n");
    EXPECT_EQ(RunCommand({u"--address=abc"}, code).out, "Meet at noon\r\n");
}

TEST(DecodeCommand, BigCodeArrivesWholeThroughManyPieces)
{
    std::u16string plain, expected;
    while (plain.size() < (3u << 20)) {
        plain += u"Dear customer, 12 seats cost \u00A3240.###NEWLINE###";
        expected += u"Dear customer, 12 seats cost \u00A3240.\r\n";
    }
    const Result got = RunCommand({u"-n", u"17"}, Utf8(Encode(plain, 17, 2)));
    EXPECT_EQ(got.status, kDecoded);
    EXPECT_TRUE(got.out == Utf8(expected) + "\r\n")
        << "sizes " << got.out.size() << " and " << Utf8(expected).size() + 2;
}

TEST(DecodeCommand, HelpAndVersion)
{
    EXPECT_EQ(RunCommand({u"--version"}, "").out, "ravelon-decode 1.01\n");
    const Result help = RunCommand({u"--help"}, "");
    EXPECT_EQ(help.status, kDecoded);
    EXPECT_NE(help.out.find("One final line break at the end of a file"), std::string::npos);
    EXPECT_NE(help.out.find("  8  a code cannot be decrypted"), std::string::npos);
}

TEST(DecodeCommand, LeadingZerosOfALengthCountForNothing)
{
    const std::string code = Utf8(Encode(u"Meet at noon", 3, 1));
    EXPECT_EQ(RunCommand({u"-n", u"0000000000003"}, code).out, "Meet at noon\r\n");
}

#ifndef _WIN32
TEST(DecodeCommand, HelpAndVersionThatCannotBeWrittenFailWithAMessage)
{
    for (const std::u16string option : {u"--help", u"--version"}) {
        std::FILE* full = std::fopen("/dev/full", "w");
        ASSERT_NE(full, nullptr);
        const Result got = RunCommand({option}, "", full);
        std::fclose(full);
        EXPECT_EQ(got.status, kCannotReadOrWrite);
        EXPECT_EQ(got.err.rfind("ravelon-decode: cannot write the output: ", 0), 0u) << got.err;
    }
}
#endif

// Files in a folder of their own, removed after the test.
class CodeFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("ravelon-cli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::u16string File(const std::string& name, const std::string& bytes)
    {
        std::FILE* f = std::fopen((folder_ / name).string().c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return FromUtf8((folder_ / name).string()).value();
    }

    std::filesystem::path folder_;
};

TEST_F(CodeFiles, EachFilesMessageNamesItAndTheStatusIsTheFirstFailures)
{
    const std::u16string good = File("good.txt", Utf8(Encode(u"Meet at noon", 3, 1)));
    const std::u16string invalid = File("invalid.txt", "qotmy abc");
    const std::u16string empty = File("empty.txt", "");
    const Result first = RunCommand({u"-n", u"3", good, invalid, empty}, "");
    EXPECT_EQ(first.status, kInvalidCode);
    EXPECT_EQ(first.out, "Meet at noon\r\n");
    EXPECT_NE(first.err.find("ravelon-decode: " + QuotedName(Utf8(invalid)) + ": Invalid Code!\n"), std::string::npos)
        << first.err;
    EXPECT_NE(first.err.find("ravelon-decode: " + QuotedName(Utf8(empty)) + ": Please enter an encrypted code\n"),
              std::string::npos)
        << first.err;
    EXPECT_EQ(RunCommand({u"-n", u"3", empty, good, invalid}, "").status, kNoCode);
}

TEST(DecodeCommand, AnUnknownKernelIsWarnedOfOnceAndTheCodeStillDecodes)
{
#ifdef _WIN32
    _putenv("RAVELON_KERNEL=nonsense");
#else
    setenv("RAVELON_KERNEL", "nonsense", 1);
#endif
    const Result got = RunCommand({u"-n", u"3"}, Utf8(Encode(u"Meet at noon", 3, 1)));
#ifdef _WIN32
    _putenv("RAVELON_KERNEL=");
#else
    unsetenv("RAVELON_KERNEL");
#endif
    EXPECT_EQ(got.status, kDecoded);
    EXPECT_EQ(got.out, "Meet at noon\r\n");
    EXPECT_EQ(got.err.rfind("ravelon-decode: RAVELON_KERNEL=nonsense: not a decoder path (scalar, ", 0), 0u) << got.err;
    EXPECT_EQ(std::count(got.err.begin(), got.err.end(), '\n'), 1) << got.err;
}

}  // namespace
}  // namespace ravelon::cli
