// The program's one pseudo-random generator.
#pragma once

#include <cstdint>

// Uniform integer 0 .. n-1; 0 for a bound of 0 or less.
int32_t Random(int32_t n);
// Seeds the generator.
void RandSeed(uint32_t seed);
// Reseeds "from the clock": from the clock in a free run, from the generator itself when the run
// was seeded (--seed), so scripted runs repeat.
void Randomize();
// Whether --seed (or a recorded seed) fixed the run.
void SetSeededRun(bool seeded);
uint32_t CurrentSeed();
