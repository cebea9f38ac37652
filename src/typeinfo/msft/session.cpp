// Path handling, source decoding and import resolution.
#include "typeinfo/msft/session.h"

#include <cctype>

#include "typeinfo/msft/pe_resource.h"
#include "typeinfo/stdole/builtin_stdole.h"

namespace velbrook::typeinfo::msft {

namespace {

// A type library file is read whole; nothing real comes near this size.
constexpr uint64_t kMaxLibraryBytes = 512u << 20;

const Guid kStdoleGuid = {0x30, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

std::string DirectoryOf(const std::string& path) {
  size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// The last element of a Windows or Unix path.
std::string BaseName(const std::string& path) {
  size_t cut = path.find_last_of("/\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// What identifies an import for the per-run cache.
std::string ImportKey(const ImportFile& import) {
  return (import.has_guid ? GuidToText(import.guid) : std::string("-")) + ' ' +
         std::to_string(import.major) + '.' + std::to_string(import.minor) + ' ' +
         std::to_string(import.lcid) + ' ' + import.name;
}

// What identifies a loaded library to the libraries that import it.
std::string IdentityKey(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid) {
  std::string key(guid.begin(), guid.end());
  for (uint32_t value : {uint32_t(major), uint32_t(minor), lcid}) {
    for (int shift = 0; shift < 32; shift += 8) key.push_back(char(value >> shift));
  }
  return key;
}

// Names the file once: the PE reader's messages start with it already.
Error WithPath(const std::string& path, const Error& error) {
  if (error.message.compare(0, path.size() + 1, path + ":") == 0) return error;
  return MakeError(error.kind, path + ": " + error.message);
}

}  // namespace

std::optional<std::pair<std::string, uint16_t>> SplitResourceSuffix(const std::string& path) {
  size_t cut = path.rfind('\\');
  if (cut == std::string::npos || cut == 0 || cut + 1 >= path.size()) return std::nullopt;
  uint32_t id = 0;
  for (size_t i = cut + 1; i < path.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(path[i]))) return std::nullopt;
    id = id * 10 + uint32_t(path[i] - '0');
    if (id > 0xFFFF) return std::nullopt;
  }
  return std::make_pair(path.substr(0, cut), uint16_t(id));
}

Result<MsftFile> ParseLibrarySource(const ByteSource& source, uint16_t resource_id) {
  if (source.size() == 0) {
    return MakeError(ErrorKind::kNotTypeLibrary, "empty file (no type library)");
  }
  std::vector<uint8_t> bytes;
  if (LooksLikePe(source)) {
    Result<std::vector<uint8_t>> resource = ReadTypeLibResource(source, resource_id);
    if (!resource) return resource.error();
    bytes = std::move(resource.value());
  } else {
    if (source.size() > kMaxLibraryBytes || !source.Read(0, size_t(source.size()), &bytes)) {
      return MakeError(ErrorKind::kIo,
                       "cannot read the file's " + std::to_string(source.size()) + " bytes");
    }
  }
  return OpenTypeLibrary(std::move(bytes));
}

Result<MsftFile> ParseLibraryPath(const std::string& path) {
  std::string file = path;
  uint16_t resource_id = 1;
  if (!IsRegularFile(path)) {
    if (auto split = SplitResourceSuffix(path)) {
      file = split->first;
      resource_id = split->second;
    }
  }
  Result<std::unique_ptr<FileSource>> source = FileSource::Open(file);
  if (!source) return source.error();
  Result<MsftFile> parsed = ParseLibrarySource(**source, resource_id);
  if (!parsed) return WithPath(file, parsed.error());
  return parsed;
}

LibraryModel* Session::Adopt(MsftFile file, const std::string& path) {
  models_.push_back(std::make_unique<LibraryModel>(std::move(file), path, this));
  LibraryModel* model = models_.back().get();
  const MsftFile& f = model->file();
  // The first library loaded with an identity is the one its importers share.
  if (f.has_guid) by_identity_.emplace(IdentityKey(f.guid, f.major, f.minor, f.set_lcid), model);
  return model;
}

Result<LibraryModel*> Session::Load(const std::string& file, uint16_t resource_id) {
  std::string key = file + '\n' + std::to_string(resource_id);
  auto cached = by_path_.find(key);
  if (cached != by_path_.end()) return cached->second;
  Result<std::unique_ptr<FileSource>> source = FileSource::Open(file);
  if (!source) return source.error();
  Result<MsftFile> parsed = ParseLibrarySource(**source, resource_id);
  if (!parsed) return WithPath(file, parsed.error());
  LibraryModel* model = Adopt(std::move(parsed.value()), file);
  by_path_.emplace(key, model);
  return model;
}

Result<LibraryModel*> Session::OpenPath(const std::string& path) {
  auto split = SplitResourceSuffix(path);
  // A path that cannot name a resource is opened as it is (FileSource tells
  // a missing path, a directory and any other non-file apart), saving a look
  // at the file system per library.
  if (!split) return Load(path, 1);
  // A file that exists under the full name wins over a resource suffix.
  if (IsRegularFile(path)) return Load(path, 1);
  if (IsRegularFile(split->first)) return Load(split->first, split->second);
  Result<std::unique_ptr<FileSource>> probe = FileSource::Open(path);
  if (!probe) return probe.error();  // missing path, a directory or no file
  return MakeError(ErrorKind::kIo, path + ": not a regular file");
}

Result<LibraryModel*> Session::OpenBytes(std::vector<uint8_t> bytes, const std::string& name,
                                         uint16_t resource_id) {
  MemorySource source(std::move(bytes), name);
  Result<MsftFile> parsed = ParseLibrarySource(source, resource_id);
  if (!parsed) return WithPath(name, parsed.error());
  return Adopt(std::move(parsed.value()), name);
}

LibraryModel* Session::Builtin() {
  if (!builtin_tried_) {
    builtin_tried_ = true;
    // The built-in bytes live as long as the program.
    Result<MsftFile> parsed = OpenMsft(stdole::BuiltinStdoleBytes(), stdole::BuiltinStdoleSize());
    if (parsed) builtin_ = Adopt(std::move(parsed.value()), "<built-in stdole2.tlb>");
  }
  return builtin_;
}

LibraryModel* Session::FindImport(LibraryModel* from, const ImportFile& import) {
  // A library already loaded with the same identity is shared.
  if (import.has_guid) {
    auto loaded =
        by_identity_.find(IdentityKey(import.guid, import.major, import.minor, import.lcid));
    if (loaded != by_identity_.end()) return loaded->second;
  }
  // Libraries in one folder share their imports' names: the key leaves the
  // importing library out, so it is searched for once whoever imports it.
  const std::string key = ImportKey(import) + '\n' + DirectoryOf(from->path());
  auto searched = searched_.find(key);
  if (searched != searched_.end()) return searched->second;
  LibraryModel* found = SearchImport(from, import);
  searched_.emplace(key, found);
  return found;
}

LibraryModel* Session::SearchImport(LibraryModel* from, const ImportFile& import) {
  if (options_.locator && import.has_guid) {
    std::optional<std::string> located =
        options_.locator->Locate(GuidToText(import.guid), import.major, import.minor, import.lcid);
    if (located) {
      Result<LibraryModel*> opened = OpenPath(*located);
      if (opened) return *opened;
    }
  }
  if (!import.name.empty()) {
    // "msvbvm60.dll\3", as Visual Basic's controls record their runtime,
    // names TYPELIB resource 3 of msvbvm60.dll.
    std::string file = import.name;
    uint16_t resource = 1;
    if (auto split = SplitResourceSuffix(import.name)) {
      file = split->first;
      resource = split->second;
    }
    std::vector<std::string> folders{DirectoryOf(from->path())};
    folders.insert(folders.end(), options_.search_paths.begin(), options_.search_paths.end());
    for (const std::string& folder : folders) {
      std::optional<std::string> path = folders_.Find(folder, BaseName(file));
      if (!path) continue;
      Result<LibraryModel*> opened = Load(*path, resource);
      if (opened) return *opened;
    }
  }
  if (options_.builtin_stdole && import.has_guid && import.guid == kStdoleGuid) {
    return Builtin();
  }
  return nullptr;
}

LibraryModel* Session::Import(LibraryModel* from, size_t import_file) {
  auto key = std::make_pair(static_cast<const LibraryModel*>(from), import_file);
  auto cached = imports_.find(key);
  if (cached != imports_.end()) return cached->second;
  LibraryModel* found = nullptr;
  if (import_file < from->file().import_files.size()) {
    found = FindImport(from, from->file().import_files[import_file]);
  }
  imports_.emplace(key, found);
  return found;
}

}  // namespace velbrook::typeinfo::msft
