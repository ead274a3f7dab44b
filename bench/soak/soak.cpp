// One million movement ticks across all the movement modes on the simulated desktop,
// with the real mascot window and its built-in layout, printing resident
// memory at the start and the end: a long run must not grow.
//
//   soak [ticks]      (default 1000000)
#include "MascotLayout.h"
#include "MovementModes.h"
#include "ProgramState.h"
#include "Region.h"
#include "SimulatedDesktop.h"
#include "TFrmMain.h"
#include "TTaskTrayIcon.h"
#include "TTimer.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long total = argc > 1 ? std::atol(argv[1]) : 1'000'000;

    registerRegionClasses();
    registerTaskTrayIconClasses();
    const auto dir = std::filesystem::temp_directory_path() / ("kuvito-soak-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto owned = std::make_unique<SimulatedDesktop>();
    SimulatedDesktop* sim = owned.get();
    sim->setExecutablePath((dir / "kuvito").string());
    installDesktop(std::move(owned));

    auto form = std::make_unique<TFrmMain>(nullptr, MascotLayoutData());
    // A front window to walk on for mode 4, and the fastest settings so that
    // every simulated millisecond counts.
    sim->setForeground(sim->addWindow({300, 300, 700, 500}));
    programState().settings.SpeedIndex = 0;
    programState().settings.StepIndex = 0;
    form->ApplySettings();

    const long perMode = total / static_cast<long>(kMovementModes.size());
    long ticks = 0;
    long startKiB = 0;
    const auto started = std::chrono::steady_clock::now();
    for (const MovementModeRow& mode : kMovementModes) {
        programState().settings.MoveMode = mode.mode;
        for (long i = 0; i < perMode; ++i) {
            // The pointer wanders so that chasing and facing keep changing.
            sim->setCursorPos({static_cast<int>((i * 37) % 1024), static_cast<int>((i * 23) % 768)});
            sim->advance(50);
            ++ticks;
            if (ticks % 1000 == 0)
                sim->clearLogs();
            if (ticks == 10'000)
                startKiB = residentKiB();
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const long endKiB = residentKiB();
    std::printf("soak: %ld ticks of 50 ms (%ld per mode), %.1f s, %.2f us per tick\n", ticks, perMode,
                seconds, seconds * 1e6 / static_cast<double>(ticks));
    std::printf("resident memory after 10000 ticks: %ld KiB; at the end: %ld KiB; growth %ld KiB\n", startKiB,
                endKiB, endKiB - startKiB);
    form.reset();
    std::filesystem::remove_all(dir);
    return endKiB - startKiB > 1024 ? 1 : 0;
}
