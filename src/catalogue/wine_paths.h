// Windows paths of a Wine prefix mapped to Unix paths: the drive through the
// prefix's dosdevices symlinks, each component matched case-insensitively,
// and system32 as a 32-bit program sees it (syswow64 in a 64-bit prefix).
#pragma once

#include <string>

#include "catalogue/host.h"

namespace velbrook::catalogue {

class WinePathMapper {
 public:
  // system_root is the prefix's %SystemRoot% ("C:\windows"); redirect_system32
  // maps system_root\system32 to system_root\syswow64.
  WinePathMapper(std::string prefix_dir, std::string system_root, bool redirect_system32);

  // The Unix path of an absolute drive path ("C:\dir\file", "/" accepted as a
  // separator); empty text for relative, UNC or unknown-drive paths. Missing
  // trailing components are kept as written.
  std::string UnixPath(const std::string& windows_path) const;

  // The system32 redirection alone, on the Windows path. As on Windows, the
  // "Sysnative" alias reaches the unredirected system32.
  std::string RedirectedPath(const std::string& windows_path) const;

  // A path under system32 as this view reaches the 64-bit system32: through
  // "Sysnative" when system32 is redirected, else unchanged.
  std::string NativePath(const std::string& windows_path) const;

 private:
  std::string prefix_dir_;
  std::string system32_upper_;
  std::string sysnative_upper_;
  std::string system32_;
  std::string sysnative_;
  std::string syswow64_;
  bool redirect_system32_;
};

// FindFirstFileA in the prefix: a file counts; a directory only when Wine
// would give it another attribute, which is "hidden" for dot-names.
// Wildcards are taken literally.
class WineFileSystem : public FileSystem {
 public:
  explicit WineFileSystem(const WinePathMapper& mapper) : mapper_(mapper) {}
  bool ExistsAsNonDirectory(const std::string& path) const override;
  std::optional<std::string> ReadHead(const std::string& path, size_t count) const override;

 private:
  const WinePathMapper& mapper_;
};

}  // namespace velbrook::catalogue
