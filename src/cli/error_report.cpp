// Messages and exit statuses for the errors and exceptions that end a run.
#include "cli/error_report.h"

#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>

namespace velbrook::cli {

int ReportError(const Error& error, int exit_status) {
  std::fprintf(stderr, "velbrook: %s\n", error.message.c_str());
  return exit_status;
}

ExceptionReport DescribeException(const std::exception_ptr& exception) {
  try {
    std::rethrow_exception(exception);
  } catch (const std::bad_alloc&) {
    return {"out of memory", kExitInternal};
  } catch (const std::filesystem::filesystem_error& error) {
    return {std::string("file system error: ") + error.what(), kExitFailed};
  } catch (const std::system_error& error) {  // also a stream's failure
    return {std::string("system error: ") + error.what(), kExitFailed};
  } catch (const std::exception& error) {
    return {std::string("internal error: ") + error.what(), kExitInternal};
  } catch (...) {
    // Reported, not swallowed: the run ends with this message.
    return {"internal error: an exception of unknown type", kExitInternal};
  }
}

int ReportException(const std::exception_ptr& exception) {
  const ExceptionReport report = DescribeException(exception);
  std::fprintf(stderr, "velbrook: %s\n", report.message.c_str());
  return report.exit_status;
}

}  // namespace velbrook::cli
