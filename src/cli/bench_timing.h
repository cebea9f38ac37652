// The clock and the median the bench's measurements share.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace velbrook::cli {

using BenchClock = std::chrono::steady_clock;

inline double MillisecondsSince(BenchClock::time_point start) {
  return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}

// The middle value, or the mean of the two middle ones; values must not be empty.
inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace velbrook::cli
