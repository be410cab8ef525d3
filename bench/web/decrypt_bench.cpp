// The decoder in WebAssembly, timed in the browser on the code the page
// benchmark decrypts: DecryptRequest alone, as the native benchmark times it.
// Prints the median of its runs in milliseconds.

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "decoder/decrypt_request.h"

namespace {

class Quiet final : public ravelon::WarningSink {
public:
    void ShowWarning(std::u16string_view, ravelon::WarningIcon) override {}
};

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE double ravelon_bench_decrypt(const char16_t* address, int addressLength,
                                                             const char16_t* code, int codeLength, int runs)
{
    const std::u16string_view to(address, static_cast<std::size_t>(addressLength));
    const std::u16string_view coded(code, static_cast<std::size_t>(codeLength));
    Quiet quiet;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = emscripten_get_now();
        const auto plain = ravelon::DecryptRequest(to, coded, quiet);
        times.push_back(emscripten_get_now() - start);
        if (!plain) return -1;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int main() {}
