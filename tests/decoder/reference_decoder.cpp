#include "tests/decoder/reference_decoder.h"

#include <cstdint>
#include <cstdio>

#include "decoder/decrypt_request.h"

namespace ravelon::testing {

namespace {

constexpr std::u16string_view kTags[] = {u"qotmz", u"pulxa", u"ze4vb"};
constexpr std::int16_t kSpacing[] = {1, 2, 3};
constexpr std::u16string_view kMarker = u"###NEWLINE###";

int ReferenceIndex(std::u16string_view symbol)
{
    int result = 0;
    for (std::size_t i = 1; i <= kReferenceAlphabet.size(); ++i) {
        if (kReferenceAlphabet.substr(i - 1, 1) == symbol) {
            result = static_cast<int>(i);
            break;
        }
    }
    return result;
}

}  // namespace

std::u16string ReferenceStrip(std::u16string_view code, WarningSink& sink)
{
    const std::u16string_view candidate = code.size() < 5 ? code : code.substr(0, 5);
    const std::u16string_view body = code.size() <= 5 ? std::u16string_view{} : code.substr(5);
    int scheme = 0;
    for (int j = 1; j <= 3; ++j) {
        if (kTags[j - 1] == candidate) {
            scheme = j;
            break;
        }
    }
    if (scheme == 0) {
        sink.ShowWarning(u"Invalid Code!", WarningIcon::Exclamation);
        return {};
    }
    const std::int16_t m = kSpacing[scheme - 1];
    std::u16string result;
    std::int16_t k = 0;
    for (char16_t c : body) {
        k = static_cast<std::int16_t>(k + 1);
        if (k == m + 1) {
            k = 0;
        } else {
            result += c;
        }
    }
    return result;
}

std::u16string ReferenceShift(std::u16string_view text, int shift)
{
    std::u16string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int p = ReferenceIndex(text.substr(i, 1));
        const int n = p > shift ? p - shift : 95 - (shift - p);
        if (n < 1) throw Failure::OutOfRange;
        result += kReferenceAlphabet[static_cast<std::size_t>(n - 1)];
    }
    return result;
}

Outcome ReferenceRequest(std::u16string_view address, std::u16string_view code)
{
    Outcome outcome;
    RecordingSink sink;
    auto finish = [&](std::optional<std::u16string> text) {
        outcome.warnings = sink.warnings;
        outcome.text = std::move(text);
        return outcome;
    };
    if (address.empty()) {
        sink.ShowWarning(u"Please enter an email address", WarningIcon::Information);
        return finish(std::nullopt);
    }
    if (code.empty()) {
        sink.ShowWarning(u"Please enter an encrypted code", WarningIcon::Information);
        return finish(std::nullopt);
    }
    const std::u16string stripped = ReferenceStrip(code, sink);
    if (address.size() > 32767) {
        outcome.failure = Failure::Overflow;
        return finish(std::nullopt);
    }
    std::u16string plain;
    try {
        plain = ReferenceShift(stripped, static_cast<int>(address.size()));
    } catch (Failure failure) {
        outcome.failure = failure;
        return finish(std::nullopt);
    }
    std::u16string restored;
    std::size_t i = 0;
    while (i < plain.size()) {
        if (plain.compare(i, kMarker.size(), kMarker) == 0) {
            restored += u"\r\n";
            i += kMarker.size();
        } else {
            restored += plain[i];
            ++i;
        }
    }
    return finish(restored);
}

Outcome DecoderRequest(std::u16string_view address, std::u16string_view code)
{
    Outcome outcome;
    RecordingSink sink;
    try {
        if (std::optional<DecryptedText> text = DecryptRequest(address, code, sink)) outcome.text = std::u16string(text->View());
    } catch (const OverflowError&) {
        outcome.failure = Failure::Overflow;
    } catch (const OutOfRangeError&) {
        outcome.failure = Failure::OutOfRange;
    }
    outcome.warnings = sink.warnings;
    return outcome;
}

std::u16string Encode(std::u16string_view plain, int shift, int scheme, char16_t filler)
{
    std::u16string code(kTags[scheme - 1]);
    const int m = kSpacing[scheme - 1];
    int kept = 0;
    for (char16_t c : plain) {
        const int p = ReferenceIndex(std::u16string_view(&c, 1));
        const int forward = (p - 1 + shift) % 95;
        code += kReferenceAlphabet[static_cast<std::size_t>(forward)];
        if (++kept == m) {
            code += filler;
            kept = 0;
        }
    }
    return code;
}

std::string Printable(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != u'\\') {
            out += static_cast<char>(c);
        } else {
            char buffer[12];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}

void PrintTo(const Warning& warning, std::ostream* os)
{
    *os << '"' << Printable(warning.message) << '"'
        << (warning.icon == WarningIcon::Information ? " (information)" : " (exclamation)");
}

void PrintTo(const Outcome& outcome, std::ostream* os)
{
    *os << "{warnings:";
    for (const Warning& w : outcome.warnings) {
        *os << ' ';
        PrintTo(w, os);
    }
    *os << "; text: " << (outcome.text ? '"' + Printable(*outcome.text) + '"' : std::string("none"));
    *os << "; failure: "
        << (outcome.failure == Failure::None ? "none" : outcome.failure == Failure::Overflow ? "overflow" : "out of range")
        << '}';
}

}  // namespace ravelon::testing
