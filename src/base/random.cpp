// A small linear congruential generator: cheap, and its whole state is one 32-bit word, so a
// recorded seed replays a run exactly.
#include "base/random.hpp"

#include <chrono>

namespace {
uint32_t state = 0;
bool seededRun = false;

uint32_t Next() {
  state = state * 134775813u + 1u;
  return state;
}
}  // namespace

int32_t Random(int32_t n) {
  if (n <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(Next()) * static_cast<uint32_t>(n)) >> 32);
}

void RandSeed(uint32_t seed) {
  state = seed;
}

void Randomize() {
  if (seededRun) {
    state = Next() ^ 0x9E3779B9u;
    return;
  }
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  state = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SetSeededRun(bool seeded) {
  seededRun = seeded;
}
uint32_t CurrentSeed() {
  return state;
}
