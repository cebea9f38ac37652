// Files committed by rename: written beside the target, then moved over it.
#include "generate/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#if defined(_WIN32)
#include <windows.h>
#endif

namespace velbrook::generate {

namespace {

bool ReplaceFile(const std::string& from, const std::string& to) {
#if defined(_WIN32)
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

Status WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".velbrook-tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    return MakeError(ErrorKind::kIo, "cannot create " + path + ": " + std::strerror(errno));
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (!ok) {
    std::remove(temporary.c_str());
    return MakeError(ErrorKind::kIo, "cannot write " + path);
  }
  if (!ReplaceFile(temporary, path)) {
    std::remove(temporary.c_str());
    return MakeError(ErrorKind::kIo, "cannot replace " + path);
  }
  return Status();
}

}  // namespace velbrook::generate
