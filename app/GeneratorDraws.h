#pragma once

#include <random>

#include "DrawSource.h"

// The program's pseudo-random generator. FormCreate seeds it once from the
// clock; a seed replays the same draws with any standard library.
class GeneratorDraws : public DrawSource {
public:
    void seed(std::uint32_t value) override;
    int draw(int n) override;

private:
    std::mt19937 engine_{5489u};
};
