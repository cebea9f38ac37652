// File and buffer byte sources.
#include "typeinfo/msft/byte_source.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace velbrook::typeinfo::msft {

bool MemorySource::Read(uint64_t off, size_t len, std::vector<uint8_t>* out) const {
  if (off > bytes_.size() || len > bytes_.size() - off) return false;
  out->assign(bytes_.begin() + static_cast<std::ptrdiff_t>(off),
              bytes_.begin() + static_cast<std::ptrdiff_t>(off + len));
  return true;
}

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

Result<std::unique_ptr<FileSource>> FileSource::Open(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    return MakeError(ErrorKind::kNotFound, path + ": no such file");
  }
  if (S_ISDIR(st.st_mode)) {
    return MakeError(ErrorKind::kIo, path + ": is a directory, expected a file");
  }
  if (!S_ISREG(st.st_mode)) return MakeError(ErrorKind::kIo, path + ": not a regular file");
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return MakeError(ErrorKind::kIo, path + ": cannot be opened (" + std::strerror(errno) + ")");
  }
  return std::unique_ptr<FileSource>(new FileSource(file, static_cast<uint64_t>(st.st_size), path));
}

FileSource::~FileSource() { std::fclose(file_); }

bool FileSource::Read(uint64_t off, size_t len, std::vector<uint8_t>* out) const {
  if (off > size_ || len > size_ - off) return false;
  out->resize(len);
  if (len == 0) return true;
#if defined(_WIN32)
  if (_fseeki64(file_, static_cast<long long>(off), SEEK_SET) != 0) return false;
#else
  if (fseeko(file_, static_cast<off_t>(off), SEEK_SET) != 0) return false;
#endif
  return std::fread(out->data(), 1, len, file_) == len;
}

}  // namespace velbrook::typeinfo::msft
