// The catalogue's seams as the command line backs them: the real registry on
// Windows, a Wine prefix's files elsewhere, and a window without a screen.
#pragma once

#include <memory>
#include <string>

#include "catalogue/host.h"
#include "catalogue/library_rows.h"
#include "catalogue/registry.h"
#include "typeinfo/component.h"
#include "typeinfo/result.h"

namespace velbrook::catalogue {

struct HostOptions {
  // Linux only: the prefix directory; empty means $WINEPREFIX, then ~/.wine.
  std::string wine_prefix;
  // Linux only: 32 (the product's view, default) or 64.
  int bitness = 32;
};

class HostCatalogue {
 public:
  virtual ~HostCatalogue() = default;
  virtual const ClassesRegistry& registry() const = 0;
  virtual const FileSystem& file_system() const = 0;
  // The files as a 64-bit program reaches them: where the "win64"
  // registrations' files are tested.
  virtual const FileSystem& file_system_64() const = 0;
  virtual const Environment& environment() const = 0;
  // An opener for the Path texts of library rows (Wine paths mapped to Unix).
  virtual std::unique_ptr<typeinfo::Opener> WrapOpener(const typeinfo::Opener& opener) const = 0;
  // The path this program opens for a registered path ("\N" kept).
  virtual std::string LocalPath(const std::string& registered_path) const = 0;
  // The Path text through which this program opens a row's file: a "win64"
  // row's system32 file reached the way a 64-bit program reaches it.
  virtual std::string OpeningPath(const LibraryEntry& entry) const = 0;
  // True when the registry is read as a 64-bit program reads it, which
  // prefers a library's "win64" file to its "win32" one.
  virtual bool Is64BitView() const = 0;
  // What was opened, for messages: "the registry" or "Wine prefix DIR".
  virtual std::string Description() const = 0;
};

Result<std::unique_ptr<HostCatalogue>> OpenHostCatalogue(const HostOptions& options);

// The prefix directory the options name, after the defaults.
std::string ChosenWinePrefix(const HostOptions& options);

}  // namespace velbrook::catalogue
