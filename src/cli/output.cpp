// Standard output in binary mode, with its failures reported.
#include "cli/output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/error_report.h"

namespace velbrook::cli {

namespace {

// errno as the C library left it; 0 when the failure was an earlier write's.
Error StdoutError(int error_number) {
  std::string message = "cannot write standard output";
  if (error_number != 0) message += std::string(": ") + std::strerror(error_number);
  return MakeError(ErrorKind::kIo, message);
}

}  // namespace

Status WriteStdout(const std::string& bytes) {
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  errno = 0;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
  ok = std::fflush(stdout) == 0 && ok;
  if (!ok) return StdoutError(errno);
  return Status();
}

int FinishStdout(int exit_status) {
  errno = 0;
  const bool ok = std::fflush(stdout) == 0 && !std::ferror(stdout);
  if (ok || exit_status != 0) return exit_status;
  return ReportError(StdoutError(errno), kExitFailed);
}

}  // namespace velbrook::cli
