// Byte-exact comparison of generated texts with a readable report of the
// first difference: line, column and both lines with CR, LF, tabs and
// trailing blanks made visible.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace velbrook::fakes {

// Success when the bytes are equal. On failure, when output_name is not
// empty, the actual text is also written to <build>/test_output/output_name.
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual,
                                     const std::string& output_name = "");

// One line shown with escapes: "\r", "\n", "\t", and blanks at its end as "~".
std::string VisibleLine(const std::string& line);

}  // namespace velbrook::fakes
