// Loading libraries by path and resolving imports between them, each library
// read once per opener. An import is looked for as oleaut32 looks for it: by
// its GUID, version and locale in the registry (when a locator is given),
// then by its recorded file name beside the importing library and in the
// import folders, ignoring case ("file\N" naming TYPELIB resource N), then,
// for the standard OLE library alone, in the built-in copy.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "typeinfo/library_locator.h"
#include "typeinfo/msft/byte_source.h"
#include "typeinfo/msft/folder_index.h"
#include "typeinfo/msft/library_model.h"
#include "typeinfo/result.h"

namespace velbrook::typeinfo::msft {

struct SessionOptions {
  // The registry look-up; none by default.
  std::shared_ptr<const LibraryLocator> locator;
  // Folders searched after the importing library's own.
  std::vector<std::string> search_paths;
  bool builtin_stdole = true;
};

// "file\N" names TYPELIB resource N of `file`; nothing when the path has no
// such suffix.
std::optional<std::pair<std::string, uint16_t>> SplitResourceSuffix(const std::string& path);

// Decodes a library from a file or buffer: a PE module's TYPELIB resource
// `resource_id`, or the bytes themselves.
Result<MsftFile> ParseLibrarySource(const ByteSource& source, uint16_t resource_id);

// Decodes the library a path names, as Session::OpenPath reads it ("file\N"
// for TYPELIB resource N), outside any session: for a reader that needs the
// file's own records.
Result<MsftFile> ParseLibraryPath(const std::string& path);

class Session {
 public:
  explicit Session(SessionOptions options) : options_(std::move(options)) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  SessionOptions& options() { return options_; }
  // Opens (or finds already open) the library a path names.
  Result<LibraryModel*> OpenPath(const std::string& path);
  // Opens a library held in memory; `name` stands for its path in messages
  // and is where its imports are looked for.
  Result<LibraryModel*> OpenBytes(std::vector<uint8_t> bytes, const std::string& name,
                                  uint16_t resource_id);
  // The library import file `import_file` of `from` names; null if none.
  LibraryModel* Import(LibraryModel* from, size_t import_file);

 private:
  Result<LibraryModel*> Load(const std::string& file, uint16_t resource_id);
  LibraryModel* Adopt(MsftFile file, const std::string& path);
  LibraryModel* FindImport(LibraryModel* from, const ImportFile& import);
  LibraryModel* SearchImport(LibraryModel* from, const ImportFile& import);
  LibraryModel* Builtin();

  SessionOptions options_;
  std::vector<std::unique_ptr<LibraryModel>> models_;
  std::map<std::string, LibraryModel*> by_path_;
  // Loaded libraries by GUID, version and locale (IdentityKey).
  std::unordered_map<std::string, LibraryModel*> by_identity_;
  std::map<std::pair<const LibraryModel*, size_t>, LibraryModel*> imports_;
  // Every import searched for, by identity and file name; null when it was
  // not found, so a missing library is searched for once.
  std::map<std::string, LibraryModel*> searched_;
  FolderIndex folders_;
  bool builtin_tried_ = false;
  LibraryModel* builtin_ = nullptr;
};

}  // namespace velbrook::typeinfo::msft
