// Loading libraries by path and resolving imports between them, each library
// read once per opener: registered location first, then the recorded file
// name beside the importing library, then the search path, then the built-in
// standard OLE library.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "typeinfo/msft/byte_source.h"
#include "typeinfo/msft/library_model.h"
#include "typeinfo/result.h"

namespace velbrook::typeinfo::msft {

// Finds a registered type library (the registry, on Windows).
class LibraryLocator {
 public:
  virtual ~LibraryLocator() = default;
  // `guid_text` as "{XXXXXXXX-...}"; the path of the library file, if known.
  virtual std::optional<std::string> Locate(const std::string& guid_text, uint16_t major,
                                            uint16_t minor, uint32_t lcid) const = 0;
};

struct SessionOptions {
  std::shared_ptr<const LibraryLocator> locator;
  std::vector<std::string> search_paths;
  bool builtin_stdole = true;
};

// "file\N" names TYPELIB resource N of `file`; nothing when the path has no
// such suffix.
std::optional<std::pair<std::string, uint16_t>> SplitResourceSuffix(const std::string& path);

// Decodes a library from a file or buffer: a PE module's TYPELIB resource
// `resource_id`, or the bytes themselves.
Result<MsftFile> ParseLibrarySource(const ByteSource& source, uint16_t resource_id);

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
  LibraryModel* Builtin();

  SessionOptions options_;
  std::vector<std::unique_ptr<LibraryModel>> models_;
  std::map<std::string, LibraryModel*> by_path_;
  std::map<std::pair<const LibraryModel*, size_t>, LibraryModel*> imports_;
  bool builtin_tried_ = false;
  LibraryModel* builtin_ = nullptr;
};

}  // namespace velbrook::typeinfo::msft
