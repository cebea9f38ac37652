// How the command line ends on a failure: one line on stderr,
// "velbrook: " and what failed, and an exit status saying which kind.
#pragma once

#include <exception>
#include <string>

#include "typeinfo/result.h"

namespace velbrook::cli {

// Exit statuses besides 0 (done) and CLI11's own for malformed arguments.
constexpr int kExitFailed = 1;    // the work failed: a library, file or registry key
                                  // could not be read, or the output not written
constexpr int kExitUsage = 2;     // the arguments name nothing usable
constexpr int kExitInternal = 3;  // the program itself failed: out of memory, or
                                  // an exception nothing else handled

// Prints the error's message on stderr and gives back exit_status.
int ReportError(const Error& error, int exit_status);

struct ExceptionReport {
  std::string message;
  int exit_status;
};

// What to say about an exception that reached main, by its type.
ExceptionReport DescribeException(const std::exception_ptr& exception);
// Prints DescribeException's message on stderr and gives back its status.
int ReportException(const std::exception_ptr& exception);

}  // namespace velbrook::cli
