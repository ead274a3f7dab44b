#pragma once

#include <cstdint>

// Where the movers take their random draws from. The program uses the
// clock-seeded GeneratorDraws; a test scripts the draws a case needs.
class DrawSource {
public:
    virtual ~DrawSource() = default;
    // Starts the draws afresh from a seed.
    virtual void seed(std::uint32_t value) = 0;
    // A uniformly distributed integer from 0 to n - 1 (n > 0).
    virtual int draw(int n) = 0;
};
