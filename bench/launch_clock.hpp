// Milliseconds since the benchmark script launched this process ($MORVA_LAUNCH_NS, taken with
// `date +%s%N` just before the launch), so loading and linking count too.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>

inline void ReportSinceLaunch(const char* what) {
  const char* launch = std::getenv("MORVA_LAUNCH_NS");
  if (!launch) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
  std::printf("%s %.1f ms\n", what, (nowNs - std::atoll(launch)) / 1e6);
  std::fflush(stdout);
}
