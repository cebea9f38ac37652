// Windows path to Unix path in a Wine prefix, and file existence there.
#include "catalogue/wine_paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "catalogue/ascii_text.h"
#include "catalogue/code_page.h"

namespace velbrook::catalogue {

namespace {

namespace fs = std::filesystem;

// Windows keeps these below system32 for both bitnesses.
constexpr const char* kSharedSystem32Dirs[] = {"CATROOT",      "CATROOT2", "DRIVERSTORE",
                                               "DRIVERS\\ETC", "LOGFILES", "SPOOL"};

std::string UpperUtf8(const std::string& utf8) { return Utf16ToUtf8(UpperCase(Utf8ToUtf16(utf8))); }

std::vector<std::string> SplitComponents(const std::string& path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

// The entry of dir named name ignoring case, or name itself.
std::string MatchEntry(const std::string& dir, const std::string& name) {
  std::error_code error;
  if (fs::symlink_status(dir + "/" + name, error).type() != fs::file_type::not_found && !error) {
    return name;
  }
  std::string wanted = UpperUtf8(name);
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    std::string entry = it->path().filename().string();
    if (UpperUtf8(entry) == wanted) return entry;
  }
  return name;
}

std::string WindowsPathKey(const std::string& path) {
  std::string joined;
  for (const std::string& part : SplitComponents(path)) joined += UpperAscii(part) + "\\";
  return joined;
}

}  // namespace

WinePathMapper::WinePathMapper(std::string prefix_dir, std::string system_root,
                               bool redirect_system32)
    : prefix_dir_(std::move(prefix_dir)),
      system32_upper_(WindowsPathKey(system_root + "\\system32")),
      sysnative_upper_(WindowsPathKey(system_root + "\\Sysnative")),
      system32_(system_root + "\\system32"),
      sysnative_(system_root + "\\Sysnative"),
      syswow64_(system_root + "\\syswow64"),
      redirect_system32_(redirect_system32) {}

namespace {

// The path with its first `skip` components replaced by `base`.
std::string Rebased(const std::string& base, const std::string& path, size_t skip) {
  std::vector<std::string> parts = SplitComponents(path);
  std::string result = base;
  for (size_t i = skip; i < parts.size(); ++i) result += "\\" + parts[i];
  return result;
}

}  // namespace

std::string WinePathMapper::NativePath(const std::string& windows_path) const {
  if (!redirect_system32_) return windows_path;
  if (WindowsPathKey(windows_path).compare(0, system32_upper_.size(), system32_upper_) != 0) {
    return windows_path;
  }
  return Rebased(sysnative_, windows_path, SplitComponents(system32_upper_).size());
}

std::string WinePathMapper::RedirectedPath(const std::string& windows_path) const {
  if (!redirect_system32_) return windows_path;
  std::string key = WindowsPathKey(windows_path);
  if (key.compare(0, sysnative_upper_.size(), sysnative_upper_) == 0) {
    return Rebased(system32_, windows_path, SplitComponents(sysnative_upper_).size());
  }
  if (key.compare(0, system32_upper_.size(), system32_upper_) != 0) return windows_path;
  std::string rest = key.substr(system32_upper_.size());
  for (const char* shared : kSharedSystem32Dirs) {
    std::string shared_key = std::string(shared) + "\\";
    if (rest.compare(0, shared_key.size(), shared_key) == 0) return windows_path;
  }
  return Rebased(syswow64_, windows_path, SplitComponents(system32_upper_).size());
}

std::string WinePathMapper::UnixPath(const std::string& windows_path) const {
  std::string path = windows_path;
  // "\\?\C:\..." names the same file as "C:\...".
  if (path.compare(0, 4, "\\\\?\\") == 0) path = path.substr(4);
  if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return "";
  char drive = path[0];
  if (!((drive >= 'a' && drive <= 'z') || (drive >= 'A' && drive <= 'Z'))) return "";
  path = RedirectedPath(path);
  std::string unix_path = prefix_dir_ + "/dosdevices/" + LowerAscii(std::string(1, path[0])) + ":";
  std::error_code error;
  if (!fs::exists(unix_path, error)) return "";
  std::vector<std::string> resolved;
  for (const std::string& part : SplitComponents(path.substr(2))) {
    if (part == ".") continue;
    if (part == "..") {
      if (!resolved.empty()) resolved.pop_back();
      continue;
    }
    resolved.push_back(Utf16ToUtf8(AnsiToUtf16(part)));
  }
  for (const std::string& part : resolved) {
    unix_path += "/" + MatchEntry(unix_path, part);
  }
  return unix_path;
}

bool WineFileSystem::ExistsAsNonDirectory(const std::string& path) const {
  std::string unix_path = mapper_.UnixPath(path);
  if (unix_path.empty()) return false;
  struct stat info;
  if (stat(unix_path.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode)) return true;
  std::string name = fs::path(unix_path).filename().string();
  return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

std::optional<std::string> WineFileSystem::ReadHead(const std::string& path, size_t count) const {
  const std::string unix_path = mapper_.UnixPath(path);
  if (unix_path.empty()) return std::nullopt;
  const int file = open(unix_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return std::nullopt;
  std::string bytes(count, '\0');
  size_t filled = 0;
  bool failed = false;
  while (filled < count) {
    const ssize_t got = read(file, bytes.data() + filled, count - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      failed = true;
      break;
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  close(file);
  if (failed) return std::nullopt;
  bytes.resize(filled);
  return bytes;
}

}  // namespace velbrook::catalogue
