// Resolving a TypeLib GUID to the file the library list would show for it.
#include "catalogue/registered_library.h"

#include <cstdint>
#include <memory>

#include "catalogue/ascii_text.h"
#include "catalogue/registered_versions.h"
#include "catalogue/registry_functions.h"

namespace velbrook::catalogue {
namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Version keys sort by major, then minor; anything else sorts first.
int64_t VersionRank(const std::string& version) {
  uint16_t major = 0;
  uint16_t minor = 0;
  if (!ParseVersionKey(version, &major, &minor)) return -1;
  return int64_t(major) * 0x10000 + minor;
}

// "C:\\x\\mod.dll\\2" names resource 2 of mod.dll: the module must exist.
std::string FileWithoutResourceNumber(const std::string& path) {
  const size_t slash = path.rfind('\\');
  if (slash == std::string::npos || slash + 1 >= path.size() ||
      path.find_first_not_of("0123456789", slash + 1) != std::string::npos) {
    return path;
  }
  return path.substr(0, slash);
}

}  // namespace

bool ParseVersionKey(const std::string& key, uint16_t* major, uint16_t* minor) {
  const size_t dot = key.find('.');
  if (dot == std::string::npos || dot == 0 || dot > 4 || key.size() - dot - 1 == 0 ||
      key.size() - dot - 1 > 4) {
    return false;
  }
  uint32_t parts[2] = {0, 0};
  for (size_t i = 0; i < key.size(); ++i) {
    if (i == dot) continue;
    const char c = key[i];
    if (!IsHexDigit(c)) return false;
    const uint32_t digit = c <= '9' ? uint32_t(c - '0') : uint32_t((c | 0x20) - 'a' + 10);
    uint32_t& part = parts[i < dot ? 0 : 1];
    part = part * 16 + digit;
  }
  *major = uint16_t(parts[0]);
  *minor = uint16_t(parts[1]);
  return true;
}

bool LooksLikeGuid(const std::string& text) {
  std::string bare = text;
  if (bare.size() == 38 && bare.front() == '{' && bare.back() == '}') {
    bare = bare.substr(1, 36);
  }
  if (bare.size() != 36) return false;
  for (size_t i = 0; i < bare.size(); ++i) {
    const bool dash_place = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash_place ? bare[i] != '-' : !IsHexDigit(bare[i])) return false;
  }
  return true;
}

Result<RegisteredLibrary> FindRegisteredLibrary(const ClassesRegistry& registry,
                                                const FileSystem& file_system,
                                                const Environment& environment,
                                                const std::string& guid) {
  std::string guid_key = UpperAscii(guid);
  if (guid_key.front() != '{') guid_key = "{" + guid_key + "}";
  std::unique_ptr<RegistryKey> library = OpenClassesKey(registry, "TypeLib\\" + guid_key);
  if (!library) {
    return MakeError(ErrorKind::kNotFound, "no type library is registered under " + guid_key);
  }
  RegisteredLibrary best;
  int64_t best_rank = -2;
  std::string missing;
  for (const RegisteredVersion& version : ReadRegisteredVersions(*library, environment)) {
    const std::string& file = version.file;
    if (file.size() <= 2 || !file_system.ExistsAsNonDirectory(FileWithoutResourceNumber(file))) {
      if (missing.empty() && !file.empty()) missing = file;
      continue;
    }
    const int64_t rank = VersionRank(version.version);
    if (rank > best_rank) {
      best = RegisteredLibrary{guid_key, version.version, file};
      best_rank = rank;
    }
  }
  if (best.path.empty()) {
    std::string message = "type library " + guid_key + " is registered, but ";
    message +=
        missing.empty() ? "no version names a Win32 file" : "its file was not found: " + missing;
    return MakeError(ErrorKind::kNotFound, message);
  }
  return best;
}

}  // namespace velbrook::catalogue
