#pragma once

#include <cstdint>

// The program's one pseudo-random generator. FormCreate seeds it once from
// the clock; tests seed it themselves to replay a run.
void Randomize(std::uint32_t seed);
// A uniformly distributed integer from 0 to n - 1 (n > 0), without the bias
// of taking a remainder.
int Random(int n);
