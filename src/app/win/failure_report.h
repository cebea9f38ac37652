// How a window procedure reports a failure it caught before the system's
// callback would unwind: the user is told, and the program carries on.
#pragma once

#include <string>

namespace velbrook::app {

class FailureReporter {
 public:
  virtual ~FailureReporter() = default;
  // Tells the user what failed (`what` comes from FailureText).
  virtual void ReportFailure(const std::string& what) = 0;
};

// What the exception being handled says; call only inside a catch block.
std::string FailureText();

}  // namespace velbrook::app
