// What every fuzz target shares: a check that stops the run loudly (a crash is what a fuzzer and
// the corpus replay both report), and the bytes as a string or a stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// An answer a reader gave that contradicts itself: a finding, even without a sanitizer report.
inline void FuzzCheck(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

inline std::string FuzzText(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}
