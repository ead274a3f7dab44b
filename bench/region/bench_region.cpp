// Costs of the shaped image components: working an outline out of a large
// picture next to a plain read of the same pixels (the memory floor), and
// one frame switch (AddRgn + ApplyRgn of one 53 x 87 frame). Prints the
// machine it ran on.

#include "BitmapToRgnData.h"
#include "Form.h"
#include "Picture.h"
#include "SimulatedDesktop.h"
#include "TRgn.h"
#include "TRgnList.h"

#include <QApplication>

#include <benchmark/benchmark.h>
#include <sys/utsname.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace {

constexpr int kSide = 4096;
const Picture::Rgb kKey{0, 128, 192};
const Picture::Rgb kFigure{22, 235, 91};

// 100 runs in every row, shifted and widened from row to row so that hardly
// any two neighbouring rows merge: close to the worst case the run limit
// allows.
const Picture& bigPicture() {
    static const Picture picture = [] {
        Picture p(kSide, kSide, Picture::PixelFormat::pf24bit);
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x)
                p.setPixel(x, y, kKey);
            if (y == kSide - 1)
                continue; // the bottom-left pixel stays key
            for (int k = 0; k < 100; ++k) {
                const int start = k * 40 + y % 7, length = 10 + y % 5;
                for (int x = start; x < start + length; ++x)
                    p.setPixel(x, y, kFigure);
            }
        }
        return p;
    }();
    return picture;
}

// The floor: every pixel byte read once, eight at a time, and folded into a
// checksum.
std::uint64_t plainRead(const Picture& p) {
    std::uint64_t sum = 0;
    const std::size_t words = static_cast<std::size_t>(p.width()) * 3 / 8;
    for (int y = 0; y < p.height(); ++y) {
        const std::uint8_t* row = p.scanLine(y);
        for (std::size_t i = 0; i < words; ++i) {
            std::uint64_t w;
            std::memcpy(&w, row + 8 * i, 8);
            sum ^= w;
        }
    }
    return sum;
}

void BM_PlainRead(benchmark::State& state) {
    const Picture& p = bigPicture();
    for (auto _ : state)
        benchmark::DoNotOptimize(plainRead(p));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kSide) * kSide * 3);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void BM_BitmapToRgnData(benchmark::State& state) {
    Picture p = bigPicture();
    std::int32_t size = 0;
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> block;
        size = BitmapToRgnData(&p, block);
        benchmark::DoNotOptimize(block.get());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kSide) * kSide * 3);
    state.counters["block_bytes"] = size;
}
BENCHMARK(BM_BitmapToRgnData)->Unit(benchmark::kMillisecond);

// The mascot's situation: six 53 x 87 frames at 0, 0 on one form.
struct Mascot {
    Form form;
    std::array<TRgn*, 6> frames{};
    TRgnList* list = nullptr;
    Mascot() {
        Picture picture(53, 87, Picture::PixelFormat::pf24bit);
        for (int y = 0; y < 87; ++y)
            for (int x = 0; x < 53; ++x) {
                const int dx = x - 26, dy = y - 50;
                picture.setPixel(x, y,
                                 (y > 80 && x > 15 && x < 38) || dx * dx + dy * dy < 500 ? kFigure : kKey);
            }
        picture.setPixel(0, 86, kKey);
        for (auto& f : frames) {
            f = new TRgn(&form);
            f->setBounds(0, 0, 53, 87);
            f->setTransparent(true);
            f->setRgnBitmap(picture);
        }
        list = new TRgnList(&form);
    }
};

void BM_ApplyRgnOneFrame(benchmark::State& state) {
    installDesktop(std::make_unique<SimulatedDesktop>());
    Mascot mascot;
    std::size_t i = 0;
    for (auto _ : state) {
        mascot.list->AddRgn(mascot.frames[i++ % 6]);
        mascot.list->ApplyRgn();
    }
}
BENCHMARK(BM_ApplyRgnOneFrame)->Unit(benchmark::kMicrosecond);

std::string cpuModel() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    return "unknown";
}

// Runs both pixel passes a few times and prints their ratio.
void printRatio() {
    const Picture& source = bigPicture();
    double floorMs = 1e300, outlineMs = 1e300;
    for (int round = 0; round < 5; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(plainRead(source));
        auto t1 = std::chrono::steady_clock::now();
        Picture p = source;
        std::unique_ptr<std::uint8_t[]> block;
        auto t2 = std::chrono::steady_clock::now();
        BitmapToRgnData(&p, block);
        auto t3 = std::chrono::steady_clock::now();
        floorMs = std::min(floorMs, std::chrono::duration<double, std::milli>(t1 - t0).count());
        outlineMs = std::min(outlineMs, std::chrono::duration<double, std::milli>(t3 - t2).count());
    }
    std::printf("BitmapToRgnData %dx%d, 100 runs per row: %.2f ms; plain read %.2f ms; ratio %.2f\n", kSide,
                kSide, outlineMs, floorMs, outlineMs / floorMs);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    utsname machine{};
    uname(&machine);
    std::printf("machine: %s, %u cores, %s\n", machine.machine, std::thread::hardware_concurrency(),
                cpuModel().c_str());
    benchmark::AddCustomContext("machine", machine.machine);
    benchmark::AddCustomContext("cpu_model", cpuModel());
    benchmark::Initialize(&argc, argv);
    printRatio();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
