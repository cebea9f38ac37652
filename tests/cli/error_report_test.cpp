// Exceptions that reach the command line's main: a message naming what
// failed and an exit status for each type.
#include "cli/error_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>

namespace velbrook::cli {
namespace {

struct ExceptionCase {
  const char* what;
  std::exception_ptr exception;
  std::string message;
  int exit_status;
};

TEST(DescribeException, NamesWhatFailedWithAnExitStatus) {
  const std::filesystem::filesystem_error no_entry(
      "cannot open", std::filesystem::path("x.inc"),
      std::make_error_code(std::errc::no_such_file_or_directory));
  const ExceptionCase cases[] = {
      {"bad_alloc", std::make_exception_ptr(std::bad_alloc()), "out of memory", kExitInternal},
      {"filesystem_error", std::make_exception_ptr(no_entry),
       std::string("file system error: ") + no_entry.what(), kExitFailed},
      {"system_error",
       std::make_exception_ptr(std::system_error(std::make_error_code(std::errc::io_error), "w")),
       "system error: w: " + std::make_error_code(std::errc::io_error).message(), kExitFailed},
      {"logic_error", std::make_exception_ptr(std::logic_error("broken rule")),
       "internal error: broken rule", kExitInternal},
      {"not an exception", std::make_exception_ptr(42),
       "internal error: an exception of unknown type", kExitInternal},
  };
  for (const ExceptionCase& c : cases) {
    const ExceptionReport report = DescribeException(c.exception);
    EXPECT_EQ(report.message, c.message) << c.what;
    EXPECT_EQ(report.exit_status, c.exit_status) << c.what;
  }
}

}  // namespace
}  // namespace velbrook::cli
