// The portable application object: opens MSFT type libraries (bare files or
// TYPELIB resources of PE modules) without oleaut32.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "typeinfo/component.h"
#include "typeinfo/msft/session.h"

namespace velbrook::typeinfo::msft {

class PortableOpener : public Opener {
 public:
  PortableOpener();
  explicit PortableOpener(SessionOptions options);

  // Libraries opened by this opener share one cache, so every import is read
  // once; changing these settings affects imports not yet resolved.
  void SetLocator(std::shared_ptr<const LibraryLocator> locator);
  void SetSearchPaths(std::vector<std::string> paths);
  void SetBuiltinStdole(bool enabled);

  Result<std::unique_ptr<Library>> OpenLibraryFile(const std::string& path) const override;
  Result<std::vector<uint16_t>> TypeLibResourceNumbers(const std::string& path) const override;
  // The same for bytes in memory (a PE module or a bare library).
  Result<std::unique_ptr<Library>> OpenLibraryBytes(std::vector<uint8_t> bytes,
                                                    const std::string& name,
                                                    uint16_t resource_id = 1) const;

 private:
  std::shared_ptr<Session> session_;
};

}  // namespace velbrook::typeinfo::msft
