// Mapping a file read-only (POSIX mmap or a Windows file mapping) for the
// bench's floor.
#include "cli/bench_floor.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "typeinfo/msft/byte_source.h"
#include "typeinfo/msft/pe_resource.h"
#include "typeinfo/msft/session.h"

namespace velbrook::cli {

namespace {

// One read-only view of a whole file; empty when mapping failed.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  const uint8_t* data() const { return data_; }
  uint64_t size() const { return size_; }

 private:
  const uint8_t* data_ = nullptr;
  uint64_t size_ = 0;
};

#if defined(_WIN32)
MappedFile::MappedFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping != nullptr) {
      void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
      if (view != nullptr) {
        data_ = static_cast<const uint8_t*>(view);
        size_ = uint64_t(size.QuadPart);
      }
      CloseHandle(mapping);  // the view keeps the mapping alive
    }
  }
  CloseHandle(file);
}

MappedFile::~MappedFile() {
  if (data_ != nullptr) UnmapViewOfFile(data_);
}
#else
MappedFile::MappedFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  struct stat st;
  if (::fstat(fd, &st) == 0 && st.st_size > 0) {
    void* view = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (view != MAP_FAILED) {
      data_ = static_cast<const uint8_t*>(view);
      size_ = uint64_t(st.st_size);
    }
  }
  ::close(fd);
}

MappedFile::~MappedFile() {
  if (data_ != nullptr) ::munmap(const_cast<uint8_t*>(data_), size_t(size_));
}
#endif

}  // namespace

bool MapAndTouch(const std::string& path, uint32_t* sink) {
  std::string file = path;
  uint16_t resource_id = 1;
  if (!typeinfo::msft::IsRegularFile(path)) {
    auto split = typeinfo::msft::SplitResourceSuffix(path);
    if (!split) return false;
    file = split->first;
    resource_id = split->second;
  }
  MappedFile mapped(file);
  if (mapped.data() == nullptr) return false;
  typeinfo::msft::FileRange range{0, size_t(mapped.size())};
  if (mapped.size() >= 2 && mapped.data()[0] == 'M' && mapped.data()[1] == 'Z') {
    auto source = typeinfo::msft::FileSource::Open(file);
    if (!source) return false;
    auto located = typeinfo::msft::LocateTypeLibResource(**source, resource_id);
    if (!located || located->offset > mapped.size() ||
        located->size > mapped.size() - located->offset) {
      return false;
    }
    range = *located;
  }
  uint32_t sum = 0;
  const uint8_t* bytes = mapped.data() + range.offset;
  for (size_t i = 0; i < range.size; i += 64) sum += bytes[i];  // one byte per cache line
  *sink += sum;
  return true;
}

}  // namespace velbrook::cli
