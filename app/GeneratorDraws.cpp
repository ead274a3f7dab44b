#include "GeneratorDraws.h"

void GeneratorDraws::seed(std::uint32_t value) {
    engine_.seed(value);
}

int GeneratorDraws::draw(int n) {
    // Rejection sampling over the engine's 32-bit output: draws that fall in
    // the incomplete last block of n values are thrown away, so every value
    // of 0..n-1 is equally likely. Written out rather than left to
    // uniform_int_distribution so that a seed replays the same run with any
    // standard library.
    if (n <= 1)
        return 0;
    const std::uint64_t range = std::uint64_t{1} << 32;
    const std::uint64_t limit = range - range % static_cast<std::uint64_t>(n);
    for (;;) {
        const std::uint64_t draw = engine_();
        if (draw < limit)
            return static_cast<int>(draw % static_cast<std::uint64_t>(n));
    }
}
