// Opening a library file through the shared session.
#include "typeinfo/msft/portable_opener.h"

#include "typeinfo/msft/pe_resource.h"
#include "typeinfo/msft/portable_library.h"

namespace velbrook::typeinfo::msft {

PortableOpener::PortableOpener() : PortableOpener(SessionOptions{}) {}

PortableOpener::PortableOpener(SessionOptions options)
    : session_(std::make_shared<Session>(std::move(options))) {}

void PortableOpener::SetLocator(std::shared_ptr<const LibraryLocator> locator) {
  session_->options().locator = std::move(locator);
}

void PortableOpener::SetSearchPaths(std::vector<std::string> paths) {
  session_->options().search_paths = std::move(paths);
}

void PortableOpener::SetBuiltinStdole(bool enabled) {
  session_->options().builtin_stdole = enabled;
}

Result<std::unique_ptr<Library>> PortableOpener::OpenLibraryFile(const std::string& path) const {
  Result<LibraryModel*> model = session_->OpenPath(path);
  if (!model) return model.error();
  return std::unique_ptr<Library>(std::make_unique<PortableLibrary>(session_, *model));
}

Result<std::vector<uint16_t>> PortableOpener::TypeLibResourceNumbers(
    const std::string& path) const {
  return TypeLibResourceNumbersOfFile(path);
}

}  // namespace velbrook::typeinfo::msft

namespace velbrook::typeinfo::msft {

Result<std::unique_ptr<Library>> PortableOpener::OpenLibraryBytes(std::vector<uint8_t> bytes,
                                                                  const std::string& name,
                                                                  uint16_t resource_id) const {
  Result<LibraryModel*> model = session_->OpenBytes(std::move(bytes), name, resource_id);
  if (!model) return model.error();
  return std::unique_ptr<Library>(std::make_unique<PortableLibrary>(session_, *model));
}

}  // namespace velbrook::typeinfo::msft
