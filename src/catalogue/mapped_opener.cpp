// MappedOpener: Windows library paths, resource suffix included, to Unix.
#include "catalogue/mapped_opener.h"

#include <sys/stat.h>

namespace velbrook::catalogue {

namespace {

bool IsFile(const std::string& unix_path) {
  struct stat info;
  return !unix_path.empty() && stat(unix_path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::string MapRegisteredPath(const WinePathMapper& paths, const std::string& path) {
  std::string whole = paths.UnixPath(path);
  if (IsFile(whole)) return whole;
  size_t slash = path.rfind('\\');
  if (slash != std::string::npos && slash + 1 < path.size() &&
      path.find_first_not_of("0123456789", slash + 1) == std::string::npos) {
    std::string module = paths.UnixPath(path.substr(0, slash));
    if (IsFile(module)) return module + path.substr(slash);
  }
  return whole.empty() ? path : whole;
}

Result<std::unique_ptr<typeinfo::Library>> MappedOpener::OpenLibraryFile(
    const std::string& path) const {
  return opener_.OpenLibraryFile(MapPath(path));
}

Result<std::vector<uint16_t>> MappedOpener::TypeLibResourceNumbers(const std::string& path) const {
  return opener_.TypeLibResourceNumbers(MapPath(path));
}

}  // namespace velbrook::catalogue
