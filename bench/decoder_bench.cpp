// Decoding beside memcpy of the same bytes, measured in the same iterations,
// and the peak heap of one request beside its input and output.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "decoder/decrypt_request.h"
#include "decoder/detail/vector_kernels.h"

namespace {

std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};

}  // namespace

void* operator new(std::size_t size)
{
    void* p = std::malloc(size + 16);
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = size;
    const std::size_t live = g_live += size;
    std::size_t peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return static_cast<char*>(p) + 16;
}

void operator delete(void* p) noexcept
{
    if (!p) return;
    void* block = static_cast<char*>(p) - 16;
    g_live -= *static_cast<std::size_t*>(block);
    std::free(block);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

struct QuietSink final : ravelon::WarningSink {
    void ShowWarning(std::u16string_view, ravelon::WarningIcon) override {}
};

constexpr std::u16string_view kTags[] = {u"qotmz", u"pulxa", u"ze4vb"};
constexpr std::u16string_view kAlphabet =
    u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890!\"\u00A3$%^&*()-_=+[{]};:#~'@,.<>/?\\| ";

constexpr std::u16string_view kProse = u"Dear customer, your licence for 12 seats costs \u00A3240 (VAT incl.)###NEWLINE###";
constexpr std::u16string_view kMarkersOnly = u"###NEWLINE###";

// A code of `bytes` bytes whose plain text repeats `line` (prose with a marker
// about every 80 characters, by default), encoded with a shift of 17.
std::u16string MakeCode(std::size_t bytes, int scheme, std::u16string_view line = kProse)
{
    constexpr int kShift = 17;
    const std::size_t spacing = static_cast<std::size_t>(scheme);
    std::u16string code(kTags[scheme - 1]);
    std::size_t kept = 0;
    for (std::size_t i = 0; code.size() < bytes / 2; ++i) {
        const std::size_t p = kAlphabet.find(line[i % line.size()]);
        code += kAlphabet[(p + kShift) % kAlphabet.size()];
        if (++kept == spacing) {
            code += u'~';
            kept = 0;
        }
    }
    return code;
}

struct PageBuffer {
    PageBuffer(std::size_t bytes, char fill)
        : data(static_cast<char*>(std::aligned_alloc(4096, (bytes + 4095) / 4096 * 4096)))
    {
        std::memset(data, fill, bytes);
    }
    ~PageBuffer() { std::free(data); }
    PageBuffer(const PageBuffer&) = delete;
    PageBuffer& operator=(const PageBuffer&) = delete;
    char* data;
};

void BM_Decrypt(benchmark::State& state)
{
    const auto path = static_cast<ravelon::detail::KernelPath>(state.range(2));
    if (!ravelon::detail::Available(path)) {
        state.SkipWithError("this CPU lacks the path");
        return;
    }
    ravelon::detail::ForceKernelPath(path);
    state.SetLabel(std::string(ravelon::detail::NameOf(path)) + (state.range(3) ? ", markers only" : ""));
    const auto bytes = static_cast<std::size_t>(state.range(0));
    const std::u16string code =
        MakeCode(bytes, static_cast<int>(state.range(1)), state.range(3) ? kMarkersOnly : kProse);
    const std::u16string address(17, u'a');
    // Page-aligned, as big buffers are: with the two a few bytes apart modulo
    // a page, some CPUs copy many times slower, which would flatter the ratio.
    const PageBuffer from(bytes, 'x'), to(bytes, 0);
    QuietSink sink;

    using Clock = std::chrono::steady_clock;
    Clock::duration decoding{}, copying{};
    std::size_t outputBytes = 0, peakBytes = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        std::memcpy(to.data, from.data, bytes);
        benchmark::DoNotOptimize(to.data);
        benchmark::ClobberMemory();
        auto t1 = Clock::now();
        const std::size_t before = g_live;
        g_peak = before;
        std::optional<ravelon::DecryptedText> plain = ravelon::DecryptRequest(address, code, sink);
        benchmark::DoNotOptimize(plain);
        auto t2 = Clock::now();
        peakBytes = g_peak - before;
        outputBytes = plain->Size() * sizeof(char16_t);
        copying += t1 - t0;
        decoding += t2 - t1;
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    const double input = static_cast<double>(code.size() * sizeof(char16_t));
    state.counters["x_memcpy"] = std::chrono::duration<double>(decoding) / std::chrono::duration<double>(copying);
    state.counters["peak_vs_in_out"] = (input + static_cast<double>(peakBytes)) / (input + static_cast<double>(outputBytes));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

BENCHMARK(BM_Decrypt)
    ->ArgNames({"bytes", "scheme", "path", "markers_only"})
    ->ArgsProduct({{64 << 10, 1 << 20, 8 << 20}, {1, 2, 3}, {0, 1, 2, 3, 4}, {0}})
    ->ArgsProduct({{1 << 20}, {1, 2, 3}, {0, 1, 2, 3, 4}, {1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
