// The status text after a completed registry scan: how many registrations
// it left out and why, how many listed rows have a problem, and the 64-bit
// registrations when the 32-bit list is empty.
#pragma once

#include <cstddef>
#include <string>

namespace velbrook::app {

struct ScanCounts {
  size_t rows = 0;
  size_t left_out = 0;      // files not found, the option to include them off
  size_t problem_rows = 0;  // listed rows with a problem
  bool both_bitnesses = false;
  // Counted only for an empty 32-bit list.
  size_t win64_registrations = 0;
};

// Empty text when there is nothing to say.
std::string ScanEndStatus(const ScanCounts& counts);

}  // namespace velbrook::app
