// Timing for the benchmarks: the best of several runs, so that one run
// disturbed by the machine does not count.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

using BenchClock = std::chrono::steady_clock;

inline double BestMillis(int runs, const std::function<void()>& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = BenchClock::now();
    work();
    best = std::min(best, std::chrono::duration<double, std::milli>(BenchClock::now() - start).count());
  }
  return best;
}
