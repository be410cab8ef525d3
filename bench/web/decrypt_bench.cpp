// The decoder in WebAssembly, timed in the browser on the code the page
// benchmark decrypts: DecryptRequest alone, as the native benchmark times it.
// Answers a decryption's time in milliseconds.

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

// The median, over `batches` batches of `runs` decryptions each, of a
// decryption's time in milliseconds, after as many warming up: a browser's
// clock is coarse, and its compiler takes over a hot module in steps.
extern "C" EMSCRIPTEN_KEEPALIVE double ravelon_bench_decrypt(const char16_t* address, int addressLength,
                                                             const char16_t* code, int codeLength, int runs,
                                                             int batches)
{
    const std::u16string_view to(address, static_cast<std::size_t>(addressLength));
    const std::u16string_view coded(code, static_cast<std::size_t>(codeLength));
    Quiet quiet;
    std::vector<double> times;
    for (int batch = -1; batch < batches; ++batch) {
        const double start = emscripten_get_now();
        for (int i = 0; i < runs; ++i)
            if (!ravelon::DecryptRequest(to, coded, quiet)) return -1;
        if (batch >= 0) times.push_back((emscripten_get_now() - start) / runs);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int main() {}
