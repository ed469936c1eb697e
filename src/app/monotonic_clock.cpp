// Tick count and waiting.
#include "app/monotonic_clock.hpp"

#include <chrono>
#include <thread>

using Clock = std::chrono::steady_clock;

uint32_t MonotonicMs() {
  auto now = Clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SleepUntilTick(uint32_t ticks) {
  Clock::time_point now = Clock::now();
  auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
  auto nowTicks = static_cast<uint32_t>(sinceEpoch.count());
  auto ahead = static_cast<int32_t>(ticks - nowTicks);
  if (ahead <= 0) return;
  // The start of the current millisecond plus the whole milliseconds still to go.
  Clock::time_point target = Clock::time_point(sinceEpoch) + std::chrono::milliseconds(ahead);
  std::this_thread::sleep_until(target);
}
