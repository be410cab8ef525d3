// Paste and Decrypt through the real Qt window (offscreen), each followed by
// a paint, beside the decoder's own time for the same request.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <chrono>
#include <random>

#include "decoder/decrypt_request.h"
#include "platform/qt/qt_text_boxes.h"
#include "tests/decoder/reference_decoder.h"
#include "tests/window/qt_driver.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kShift = 11;

// Plain text of `bytes` bytes: prose in lines of about 70 symbols, or one
// unbroken line without a space.
std::u16string Plain(std::size_t bytes, bool shortLines)
{
    std::u16string plain;
    std::mt19937 rng(1);
    const std::u16string_view line = u"The licence covers twelve seats and renews every year on 1 May.";
    while (plain.size() * 2 < bytes) {
        if (shortLines) {
            plain += line;
            plain += u"###NEWLINE###";
        } else {
            plain += static_cast<char16_t>(u'a' + rng() % 26);
        }
    }
    plain.resize(bytes / 2);
    return plain;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_PasteAndDecrypt(benchmark::State& state)
{
    const bool shortLines = state.range(1) != 0;
    const std::u16string code = ravelon::testing::Encode(Plain(static_cast<std::size_t>(state.range(0)), shortLines), kShift, 2);
    const std::u16string address(kShift, u'a');
    ravelon::testing::RecordingSink sink;

    double paste = 0, decrypt = 0, decoder = 0;
    for (auto _ : state) {
        ravelon::testing::QtProgram program;
        program.form().TextBoxNamed("txtEmail").SetText(address);
        QGuiApplication::clipboard()->setText(ravelon::forms::qt::ToQString(code));
        QWidget* window = program.window();

        const auto t0 = Clock::now();
        QTest::mouseClick(program.Widget("btnPaste"), Qt::LeftButton);
        benchmark::DoNotOptimize(window->grab());
        const auto t1 = Clock::now();
        QTest::mouseClick(program.Widget("btnDecrypt"), Qt::LeftButton);
        benchmark::DoNotOptimize(window->grab());
        const auto t2 = Clock::now();
        benchmark::DoNotOptimize(ravelon::DecryptRequest(address, code, sink));
        const auto t3 = Clock::now();

        paste += Seconds(t1 - t0);
        decrypt += Seconds(t2 - t1);
        decoder += Seconds(t3 - t2);
        state.SetIterationTime(Seconds(t2 - t0));
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["paste_ms"] = paste / n * 1e3;
    state.counters["decrypt_ms"] = decrypt / n * 1e3;
    state.counters["decoder_share"] = decoder / (paste + decrypt);
}

BENCHMARK(BM_PasteAndDecrypt)
    ->ArgNames({"bytes", "short_lines"})
    ->ArgsProduct({{64 << 10, 256 << 10, 1 << 20, 4 << 20}, {1, 0}})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
