// OpenHostCatalogue: Win32 registry on Windows, a Wine prefix elsewhere.
#include "catalogue/host_catalogue.h"

#include <cstdlib>

#if defined(_WIN32)
#include "catalogue/win32_host.h"
#else
#include "catalogue/mapped_opener.h"
#include "catalogue/wine_prefix.h"
#endif

namespace velbrook::catalogue {

namespace {

// Hands rows' paths through unchanged.
class ForwardingOpener : public typeinfo::Opener {
 public:
  explicit ForwardingOpener(const typeinfo::Opener& opener) : opener_(opener) {}
  Result<std::unique_ptr<typeinfo::Library>> OpenLibraryFile(
      const std::string& path) const override {
    return opener_.OpenLibraryFile(path);
  }
  Result<std::vector<uint16_t>> TypeLibResourceNumbers(const std::string& path) const override {
    return opener_.TypeLibResourceNumbers(path);
  }

 private:
  const typeinfo::Opener& opener_;
};

#if defined(_WIN32)

class Win32Catalogue : public HostCatalogue {
 public:
  const ClassesRegistry& registry() const override { return registry_; }
  const FileSystem& file_system() const override { return files_; }
  const FileSystem& file_system_64() const override { return files_64_; }
  const Environment& environment() const override { return environment_; }
  std::unique_ptr<typeinfo::Opener> WrapOpener(const typeinfo::Opener& opener) const override {
    return std::make_unique<ForwardingOpener>(opener);
  }
  std::string LocalPath(const std::string& registered_path) const override {
    return registered_path;
  }
  std::string OpeningPath(const LibraryEntry& entry) const override {
    return entry.bits == 64 ? files_64_.NativePath(entry.path) : entry.path;
  }
  bool Is64BitView() const override { return sizeof(void*) == 8; }
  std::string Description() const override { return "the registry"; }

 private:
  Win32ClassesRegistry registry_;
  Win32FileSystem files_;
  Win64FileSystem files_64_;
  Win32Environment environment_;
};

#else

class WineCatalogue : public HostCatalogue {
 public:
  WineCatalogue(std::unique_ptr<WinePrefix> prefix, std::string dir, bool view_64bit)
      : prefix_(std::move(prefix)), dir_(std::move(dir)), view_64bit_(view_64bit) {}
  const ClassesRegistry& registry() const override { return prefix_->registry(); }
  const FileSystem& file_system() const override { return prefix_->file_system(); }
  const FileSystem& file_system_64() const override { return prefix_->file_system_64(); }
  const Environment& environment() const override { return prefix_->environment(); }
  std::unique_ptr<typeinfo::Opener> WrapOpener(const typeinfo::Opener& opener) const override {
    return std::make_unique<MappedOpener>(opener, prefix_->paths());
  }
  std::string LocalPath(const std::string& registered_path) const override {
    return MapRegisteredPath(prefix_->paths(), registered_path);
  }
  std::string OpeningPath(const LibraryEntry& entry) const override {
    return entry.bits == 64 ? prefix_->paths().NativePath(entry.path) : entry.path;
  }
  bool Is64BitView() const override { return view_64bit_; }
  std::string Description() const override { return "Wine prefix " + dir_; }

 private:
  std::unique_ptr<WinePrefix> prefix_;
  std::string dir_;
  bool view_64bit_;
};

#endif

}  // namespace

std::string ChosenWinePrefix(const HostOptions& options) {
  if (!options.wine_prefix.empty()) return options.wine_prefix;
  const char* from_environment = std::getenv("WINEPREFIX");
  if (from_environment != nullptr && *from_environment != '\0') return from_environment;
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return std::string(home) + "/.wine";
  return "";
}

Result<std::unique_ptr<HostCatalogue>> OpenHostCatalogue(const HostOptions& options) {
#if defined(_WIN32)
  if (!options.wine_prefix.empty()) {
    return MakeError(ErrorKind::kInvalidArgument,
                     "--wine-prefix is for Linux; Windows reads its own registry");
  }
  return std::unique_ptr<HostCatalogue>(std::make_unique<Win32Catalogue>());
#else
  if (options.bitness != 32 && options.bitness != 64) {
    return MakeError(ErrorKind::kInvalidArgument, "bitness must be 32 or 64");
  }
  std::string dir = ChosenWinePrefix(options);
  if (dir.empty()) {
    return MakeError(ErrorKind::kInvalidArgument,
                     "no Wine prefix: give --wine-prefix or set WINEPREFIX or HOME");
  }
  auto prefix = WinePrefix::Open(
      dir, options.bitness == 64 ? ProgramBitness::k64Bit : ProgramBitness::k32Bit);
  if (!prefix.ok()) return prefix.error();
  const bool view_64bit = prefix.value()->is_64bit() && options.bitness == 64;
  return std::unique_ptr<HostCatalogue>(
      std::make_unique<WineCatalogue>(std::move(prefix.value()), dir, view_64bit));
#endif
}

}  // namespace velbrook::catalogue
