// The millisecond tick count both window systems use, and a precise wait for a given tick.
#pragma once

#include <cstdint>

// Milliseconds of the monotonic clock, truncated to 32 bits like a system tick counter.
uint32_t MonotonicMs();
// Sleeps until the tick count reaches `ticks`: to the start of that millisecond, not merely a
// whole number of milliseconds from now, so a 10 ms frame timer really gives 100 frames a second.
void SleepUntilTick(uint32_t ticks);
