#include "cli/decode_command.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "cli/quoted_name.h"
#include "cli/read_whole.h"
#include "cli/text_encoding.h"
#include "decoder/code_stream.h"
#include "decoder/decode_error.h"
#include "decoder/kernel_choice.h"

namespace ravelon::cli {

namespace {

constexpr char kHelp[] =
    "Usage: ravelon-decode --address ADDRESS [OPTION]... [FILE]...\n"
    "   or: ravelon-decode --address-length N [OPTION]... [FILE]...\n"
    "Decrypts each FILE (standard input when there is none) as the Ravelon window\n"
    "decrypts a code with its e-mail address, and writes the plain text to standard\n"
    "output, each text followed by one line break.\n"
    "\n"
    "  -a, --address ADDRESS     the e-mail address; its length in UTF-16 code units\n"
    "                            is the shift, as the window counts it\n"
    "  -n, --address-length N    the shift itself, without the address\n"
    "      --lf                  line breaks as LF; without it CR LF, as the window shows them\n"
    "  -h, --help                show this and end\n"
    "  -V, --version             show the version and end\n"
    "\n"
    "Each file holds one code: UTF-8, or UTF-16 when it starts with a byte-order\n"
    "mark. One final line break at the end of a file (CR LF, LF or CR) is not part\n"
    "of the code. The plain text comes out in the encoding of its input, mark and all.\n"
    "Messages go to standard error; for a code that yields no text nothing goes to\n"
    "standard output.\n"
    "\n"
    "Exit status:\n"
    "  0  every code decoded\n"
    "  1  a file could not be read, or the output not written\n"
    "  2  the command line is wrong\n"
    "  3  an input is not valid text (its first bad byte is named)\n"
    "  4  Please enter an email address (the address is empty)\n"
    "  5  Please enter an encrypted code (a code is empty)\n"
    "  6  Invalid Code! (a code's scheme tag is none of the three)\n"
    "  7  the address is longer than 32767 code units\n"
    "  8  a code cannot be decrypted with an address of this length\n"
    "With several files, each is decoded in turn and the status is the first failure's.\n";

constexpr std::size_t kPiece = 1 << 16;  // code units decoded at a time

struct Options {
    std::optional<std::size_t> addressLength;
    bool lf = false;
    std::vector<const Argument*> files;
};

std::string Narrow(std::u16string_view text)
{
    std::string bytes;
    AppendEncoded(text, Encoding::Utf8, false, bytes);
    return bytes;
}

class Command {
public:
    Command(std::FILE* in, std::FILE* out, std::FILE* err) : in_(in), out_(out), err_(err) {}

    int Run(const std::vector<Argument>& arguments)
    {
        Options options;
        if (const std::optional<int> ended = Parse(arguments, options)) return *ended;
        if (const std::optional<std::string> problem = KernelChoiceProblem())
            std::fprintf(err_, "ravelon-decode: %s\n", problem->c_str());
        if (*options.addressLength == 0) return Say("Please enter an email address", kNoAddress);
        int status = kDecoded;
        if (options.files.empty()) return DecodeInput(in_, "standard input", options);
        for (const Argument* file : options.files) {
            const int one = DecodeFile(*file, options);
            if (status == kDecoded) status = one;
        }
        return status;
    }

private:
    std::optional<int> Parse(const std::vector<Argument>& arguments, Options& options)
    {
        bool onlyFiles = false;
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const Argument& argument = arguments[i];
            const std::u16string& a = argument.text;
            if (onlyFiles || a == u"-" || !a.starts_with(u"-")) {
                options.files.push_back(&argument);
                continue;
            }
            if (!argument.isText) return NotUtf8(i);
            // An option's value: the next argument, or what follows '=' in the long form.
            std::optional<std::u16string> value;
            const auto valued = [&](std::u16string_view shortName, std::u16string_view longName) -> std::optional<int> {
                if (a == shortName || a == longName) {
                    if (i + 1 >= arguments.size()) return Usage(Narrow(longName) + " needs a value");
                    if (!arguments[++i].isText) return NotUtf8(i);
                    value = arguments[i].text;
                } else if (a.size() > longName.size() && a.starts_with(longName) && a[longName.size()] == u'=') {
                    value = a.substr(longName.size() + 1);
                }
                return std::nullopt;
            };
            if (a == u"--") {
                onlyFiles = true;
            } else if (a == u"-h" || a == u"--help") {
                return Show(kHelp);
            } else if (a == u"-V" || a == u"--version") {
                return Show("ravelon-decode 1.01\n");
            } else if (a == u"--lf") {
                options.lf = true;
            } else if (const std::optional<int> ended = valued(u"-a", u"--address"); ended || value) {
                if (ended) return ended;
                options.addressLength = value->size();
            } else if (const std::optional<int> wrong = valued(u"-n", u"--address-length"); wrong || value) {
                if (wrong) return wrong;
                const std::optional<std::size_t> n = Count(*value);
                if (!n) return Usage("--address-length needs a number");
                options.addressLength = *n;
            } else {
                return Usage("unknown option " + QuotedName(Narrow(a)));
            }
        }
        if (!options.addressLength) return Usage("give the address (--address) or its length (--address-length)");
        return std::nullopt;
    }

    // A count in decimal digits; one too big for any address stays too big.
    static std::optional<std::size_t> Count(std::u16string_view digits)
    {
        if (digits.empty()) return std::nullopt;
        constexpr std::size_t kTooBig = std::size_t{1} << 40;
        std::size_t n = 0;
        for (char16_t c : digits) {
            if (c < u'0' || c > u'9') return std::nullopt;
            n = std::min(kTooBig, n * 10 + static_cast<std::size_t>(c - u'0'));
        }
        return n;
    }

    int NotUtf8(std::size_t index) { return Usage("argument " + std::to_string(index + 1) + " is not valid UTF-8"); }

    // --help and --version: what they show, or why it could not be written.
    int Show(const char* text)
    {
        if (std::fputs(text, out_) >= 0 && std::fflush(out_) == 0) return kDecoded;
        std::fprintf(err_, "ravelon-decode: cannot write the output: %s\n", std::strerror(errno));
        return kCannotReadOrWrite;
    }

    int Usage(const std::string& problem)
    {
        std::fprintf(err_, "ravelon-decode: %s\nTry 'ravelon-decode --help'.\n", problem.c_str());
        return kUsage;
    }

    // The window's own words; when files are named, after the file's name.
    int Say(const std::string& message, int status)
    {
        std::fprintf(err_, "%s%s\n", about_.c_str(), message.c_str());
        return status;
    }

    // A message of a pass over the input, said once the input is known to be text.
    int Note(const std::string& message, int status)
    {
        notes_.push_back(message);
        return status;
    }

    int DecodeFile(const Argument& file, const Options& options)
    {
        if (file.text == u"-" && file.isText) {
            about_ = "ravelon-decode: standard input: ";
            return DecodeInput(in_, "standard input", options);
        }
        about_ = "ravelon-decode: " + file.Shown() + ": ";
#ifdef _WIN32
        std::FILE* f = _wfopen(file.path.c_str(), L"rb");
#else
        std::FILE* f = std::fopen(file.path.c_str(), "rb");
#endif
        if (!f) {
            std::fprintf(err_, "ravelon-decode: %s: %s\n", file.Shown().c_str(), std::strerror(errno));
            return kCannotReadOrWrite;
        }
        const int status = DecodeInput(f, file.Shown(), options);
        std::fclose(f);
        return status;
    }

    int DecodeInput(std::FILE* f, const std::string& name, const Options& options)
    {
        std::string bytes;
        if (!ReadWhole(f, bytes)) {
            std::fprintf(err_, "ravelon-decode: %s: %s\n", name.c_str(), std::strerror(errno));
            return kCannotReadOrWrite;
        }
        return Decode(bytes, name, options);
    }

    // Twice over the input: first to learn that it is text and yields a text
    // (so that a failure writes nothing), then to write it, a piece at a time.
    int Decode(std::string_view bytes, const std::string& name, const Options& options)
    {
        const Announced announced = AnnouncedEncoding(bytes);
        std::string_view text = bytes.substr(announced.markBytes);
        text.remove_suffix(FinalLineBreakBytes(text, announced.encoding));
        if (text.empty()) return Say("Please enter an encrypted code", kNoCode);

        std::optional<int> failure;
        notes_.clear();
        try {
            failure = Pass(text, announced, options, nullptr);
        } catch (const NotText& bad) {
            std::fprintf(
                err_, "ravelon-decode: %s: not valid %s text at byte %zu\n", name.c_str(),
                announced.encoding == Encoding::Utf16Le || announced.encoding == Encoding::Utf16Be ? "UTF-16" : "UTF-8",
                bad.offset);
            return kNotText;
        }
        for (const std::string& note : notes_) Say(note, 0);
        if (failure) return *failure;
        std::string written(MarkOf(announced.encoding));
        Pass(text, announced, options, &written);
        AppendEncoded(options.lf ? u"\n" : u"\r\n", announced.encoding, false, written);
        if (!Write(written)) return kCannotReadOrWrite;
        return kDecoded;
    }

    // Decodes `text`; with `written`, writes the plain text as it comes. A
    // failure: its status, its message said.
    std::optional<int> Pass(std::string_view text, Announced announced, const Options& options, std::string* written)
    {
        TextReader reader(text, announced.encoding, announced.markBytes);
        std::u16string units, plain;
        std::u16string tag;
        std::optional<CodeStream> stream;
        std::optional<int> failure;
        while (reader.Next(units, kPiece)) {
            std::u16string_view body = units;
            if (!stream && !failure) {
                const std::size_t wanted = std::min<std::size_t>(5 - tag.size(), body.size());
                tag.append(body.substr(0, wanted));
                body.remove_prefix(wanted);
                if (tag.size() == 5) failure = Start(tag, *options.addressLength, stream);
            }
            if (!stream || failure) continue;  // on to the end: the rest must be text too
            try {
                stream->Feed(body, plain);
            } catch (const OutOfRangeError& e) {
                failure = Note(e.what(), kOutOfRange);
                stream.reset();
            }
            Flush(plain, announced.encoding, options.lf, written);
        }
        if (!stream && !failure) failure = Start(tag, *options.addressLength, stream);  // shorter than a tag
        if (stream && !failure) {
            try {
                stream->Finish(plain);
            } catch (const OutOfRangeError& e) {
                failure = Note(e.what(), kOutOfRange);
            }
            Flush(plain, announced.encoding, options.lf, written);
        }
        return failure;
    }

    // As the Decrypt request does: the tag first, then the address's length.
    std::optional<int> Start(std::u16string_view tag, std::size_t addressLength, std::optional<CodeStream>& stream)
    {
        const std::optional<int> spacing = SchemeSpacing(tag);
        if (!spacing) Note("Invalid Code!", kInvalidCode);
        try {
            const int shift = ShiftOf(addressLength);
            if (!spacing) return kInvalidCode;
            stream.emplace(shift, *spacing);
            return std::nullopt;
        } catch (const OverflowError& e) {
            return Note(e.what(), kAddressTooLong);
        }
    }

    void Flush(std::u16string& plain, Encoding encoding, bool lf, std::string* written)
    {
        if (written) {
            AppendEncoded(plain, encoding, lf, *written);
            if (written->size() >= (1 << 20) && !Write(*written)) written = nullptr;
        }
        plain.clear();
    }

    bool Write(std::string& bytes)
    {
        const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out_) == bytes.size() && std::fflush(out_) == 0;
        if (!ok && !writeFailed_)
            std::fprintf(err_, "ravelon-decode: cannot write the output: %s\n", std::strerror(errno));
        writeFailed_ = writeFailed_ || !ok;
        bytes.clear();
        return ok;
    }

    std::FILE* in_;
    std::FILE* out_;
    std::FILE* err_;
    std::string about_;  // what messages of the window's own words start with
    bool writeFailed_ = false;
    std::vector<std::string> notes_;
};

}  // namespace

int RunDecodeCommand(const std::vector<Argument>& arguments, std::FILE* in, std::FILE* out, std::FILE* err)
{
    return Command(in, out, err).Run(arguments);
}

}  // namespace ravelon::cli
