// The bare-Xlib floor: FloorPet driven by a select() loop that wakes only for
// the next tick or for an event.
//
//   floor_xlib [period-ms [step]]
#include "FloorPet.h"

#include <sys/select.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    const int period = argc > 1 ? std::atoi(argv[1]) : 50;
    const int step = argc > 2 ? std::atoi(argv[2]) : 10;
    if (period <= 0 || step <= 0) {
        std::fprintf(stderr, "usage: floor_xlib [period-ms [step]]\n");
        return 2;
    }
    try {
        FloorPet pet(KUVITO_ART_DIR, step);
        using clock = std::chrono::steady_clock;
        auto next = clock::now() + std::chrono::milliseconds(period);
        for (;;) {
            pet.drainEvents();
            const auto now = clock::now();
            if (now >= next) {
                pet.tick();
                // Ticks never queue up: a late one just starts the next period.
                next = clock::now() + std::chrono::milliseconds(period);
                continue;
            }
            const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(next - now).count();
            timeval tv{static_cast<time_t>(wait / 1000000), static_cast<suseconds_t>(wait % 1000000)};
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(pet.fd(), &fds);
            select(pet.fd() + 1, &fds, nullptr, nullptr, &tv);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "floor_xlib: %s\n", e.what());
        return 1;
    }
}
