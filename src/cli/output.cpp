// Standard output in binary mode, with write errors reported.
#include "cli/output.h"

#include <cstdio>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace velbrook::cli {

bool WriteStdout(const std::string& bytes) {
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
  ok = std::fflush(stdout) == 0 && ok;
  if (!ok) std::fprintf(stderr, "velbrook: cannot write standard output\n");
  return ok;
}

}  // namespace velbrook::cli
