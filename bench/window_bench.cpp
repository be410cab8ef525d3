// Paste and Decrypt through the real Qt window (offscreen), each followed by
// a paint, beside the decoder's own time for the same request.

#include <benchmark/benchmark.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTimer>
#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/resource.h>
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

// ---- Big texts: the window stays calm ----

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Resident memory now, and its peak since the last ResetPeakMemory, in bytes.
std::size_t StatusBytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stoull(line.substr(std::strlen(field))) * 1024;
    return 0;
}
std::size_t ResidentBytes() { return StatusBytes("VmRSS:"); }
std::size_t PeakBytes() { return StatusBytes("VmHWM:"); }
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

// One long line of words, as a pasted code can be: `length` units.
std::u16string Words(std::size_t length)
{
    const std::u16string_view words[] = {u"licence ", u"seats ", u"renews ", u"every ", u"year ", u"covers "};
    std::u16string text;
    text.reserve(length + 8);
    for (std::size_t i = 0; text.size() < length; ++i) text += words[i % std::size(words)];
    text.resize(length);
    return text;
}

// The event loop alone, as the program idles (QTest::qWait wakes every 10 ms).
void Idle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// A key or click, with the paint it causes: how long until the box shows it.
template <class Input>
double AnswerSeconds(QWidget* painted, Input input)
{
    const auto t0 = Clock::now();
    input();
    QCoreApplication::processEvents();
    painted->repaint();
    return Seconds(Clock::now() - t0);
}

// A 10 MB text in a box with the focus: the idle program's share of a core,
// the slowest answer to keys and clicks, and memory beyond the text's size.
void BM_BigTextIdle(benchmark::State& state)
{
    const bool code = state.range(0) == 0;
    const auto length = static_cast<std::size_t>(state.range(1));
    const bool invisible = state.range(2) != 0;  // zero-width spaces only
    const char* name = code ? "txtDecrypt" : "txtEmail";
    state.SetLabel(std::string(code ? "code box" : "address box") + (invisible ? ", zero-width spaces" : ""));
    for (auto _ : state) {
        ravelon::testing::QtProgram program;
        program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
        QWidget* box = program.Widget(name);
        QWidget* painted = code ? static_cast<QPlainTextEdit*>(box)->viewport() : box;
        box->setFocus();
        QGuiApplication::clipboard()->setText(invisible ? QString(static_cast<qsizetype>(length), QChar(0x200B))
                                                        : ravelon::forms::qt::ToQString(Words(length)));
        QCoreApplication::processEvents();
        const std::size_t before = ResidentBytes();  // the clipboard's copy included
        ResetPeakMemory();

        const auto t0 = Clock::now();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        painted->repaint();
        const double paste = Seconds(Clock::now() - t0);

        Idle(500);  // settle
        const double cpu0 = CpuSeconds();
        const auto idle0 = Clock::now();
        Idle(5000);
        const double idle = (CpuSeconds() - cpu0) / Seconds(Clock::now() - idle0);

        double slowest = 0;
        const auto note = [&](double seconds) { slowest = std::max(slowest, seconds); };
        note(AnswerSeconds(painted, [&] { QTest::keyClick(box, Qt::Key_X); }));
        note(AnswerSeconds(painted, [&] { QTest::keyClick(box, Qt::Key_Backspace); }));
        note(AnswerSeconds(painted, [&] { QTest::keyClick(box, Qt::Key_Home, code ? Qt::ControlModifier : Qt::NoModifier); }));
        note(AnswerSeconds(painted, [&] { QTest::keyClick(box, Qt::Key_Y); }));
        note(AnswerSeconds(painted, [&] { QTest::keyClick(box, Qt::Key_End, code ? Qt::ControlModifier : Qt::NoModifier); }));
        note(AnswerSeconds(painted, [&] { QTest::keyClick(box, Qt::Key_Z); }));
        note(AnswerSeconds(painted, [&] { QTest::mouseClick(painted, Qt::LeftButton, {}, QPoint(40, 8)); }));
        note(AnswerSeconds(painted, [&] { QTest::keyClick(box, Qt::Key_Down); }));

        state.counters["paste_s"] = paste;
        state.counters["idle_cpu_pct"] = idle * 100;
        state.counters["slowest_answer_ms"] = slowest * 1e3;
        state.counters["peak_x_text"] = static_cast<double>(PeakBytes() - before) / static_cast<double>(length);
    }
}

BENCHMARK(BM_BigTextIdle)
    ->ArgNames({"box", "units", "invisible"})
    ->ArgsProduct({{0, 1}, {1'000, 10'000'000}, {0}})
    ->Args({0, 1'000'000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// A screen reader on a big box: each caret move is told, and the reader asks
// for the character, word and line at the caret, as a reader does after a key.
void BM_ReaderOnBigText(benchmark::State& state)
{
    const auto length = static_cast<std::size_t>(state.range(0));
    std::u16string text = Words(length);
    for (std::size_t i = 78; i + 1 < text.size(); i += 80) text.replace(i, 2, u"\r\n");
    for (auto _ : state) {
        ravelon::testing::QtProgram program;
        program.form().TextBoxNamed("txtEmail").SetText(u"someone@example.com");
        program.form().TextBoxNamed("txtDecrypt").SetText(text);
        QWidget* box = program.Widget("txtDecrypt");
        box->setFocus();
        QAccessible::setActive(true);
        QAccessibleTextInterface* reader = QAccessible::queryAccessibleInterface(box)->textInterface();
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);  // where the mapping costs most
        constexpr int kMoves = 40;
        double slowest = 0;
        const auto t0 = Clock::now();
        for (int i = 0; i < kMoves; ++i) {
            const auto t = Clock::now();
            QTest::keyClick(box, i % 2 ? Qt::Key_Left : Qt::Key_Up);
            const int caret = reader->cursorPosition();
            int start = 0, end = 0;
            for (auto kind : {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::LineBoundary})
                benchmark::DoNotOptimize(reader->textAtOffset(caret, kind, &start, &end));
            slowest = std::max(slowest, Seconds(Clock::now() - t));
        }
        state.SetIterationTime(Seconds(Clock::now() - t0) / kMoves);
        state.counters["slowest_ms"] = slowest * 1e3;
        QAccessible::setActive(false);
    }
}

BENCHMARK(BM_ReaderOnBigText)
    ->ArgNames({"units"})
    ->Arg(1'000'000)
    ->Arg(10'000'000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// A code pasted and decrypted through the window, with the memory it took.
void BM_BigPasteAndDecrypt(benchmark::State& state)
{
    const auto length = static_cast<std::size_t>(state.range(0));
    const std::u16string code = ravelon::testing::Encode(Words(length * 2 / 3), kShift, 2);
    const std::u16string address(kShift, u'a');
    for (auto _ : state) {
        ravelon::testing::QtProgram program;
        program.form().TextBoxNamed("txtEmail").SetText(address);
        QGuiApplication::clipboard()->setText(ravelon::forms::qt::ToQString(code));
        QWidget* window = program.window();
        QCoreApplication::processEvents();
        const std::size_t before = ResidentBytes();
        ResetPeakMemory();

        const auto t0 = Clock::now();
        QTest::mouseClick(program.Widget("btnPaste"), Qt::LeftButton);
        window->repaint();
        const auto t1 = Clock::now();
        QTest::mouseClick(program.Widget("btnDecrypt"), Qt::LeftButton);
        window->repaint();
        const auto t2 = Clock::now();

        state.SetIterationTime(Seconds(t2 - t0));
        state.counters["paste_s"] = Seconds(t1 - t0);
        state.counters["decrypt_s"] = Seconds(t2 - t1);
        state.counters["peak_x_code"] = static_cast<double>(PeakBytes() - before) / static_cast<double>(code.size());
    }
}

BENCHMARK(BM_BigPasteAndDecrypt)
    ->ArgNames({"units"})
    ->Arg(10'000'000)
    ->Arg(25'000'000)
    ->Arg(50'000'000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
