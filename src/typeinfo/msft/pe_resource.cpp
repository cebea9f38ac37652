// PE headers and the three-level resource directory (type, id, language).
#include "typeinfo/msft/pe_resource.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "typeinfo/msft/byte_reader.h"

namespace velbrook::typeinfo::msft {

namespace {

constexpr uint32_t kMaxDirectoryEntries = 0x10000;

std::string HexText(uint64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
  return buffer;
}

struct Section {
  uint32_t virtual_address = 0;
  uint32_t virtual_size = 0;
  uint32_t raw_size = 0;
  uint32_t raw_pointer = 0;
};

class PeReader {
 public:
  explicit PeReader(const ByteSource& source) : source_(source) {}

  Result<FileRange> Find(uint16_t id);
  Result<std::vector<uint16_t>> List();

 private:
  Error Corrupt(const std::string& what) const {
    return MakeError(ErrorKind::kCorrupt, source_.name() + ": " + what);
  }
  bool ReadAt(uint64_t off, size_t len, std::vector<uint8_t>* out) const {
    return source_.Read(off, len, out);
  }
  // File offset of an RVA inside some section's raw data, with len bytes.
  bool RvaToOffset(uint32_t rva, uint32_t len, uint64_t* out) const;
  Status ReadHeaders();
  // One directory level: the offset (relative to the resource root) of the
  // entry's target, and whether it is a subdirectory.
  struct Entry {
    uint32_t name = 0;
    uint32_t target = 0;
  };
  Result<std::vector<Entry>> ReadDirectory(uint32_t dir_offset) const;
  // The headers, then the entries of the TYPELIB type's directory (one per
  // resource number or name).
  Result<std::vector<Entry>> ReadTypeLibDirectory();
  bool NameIs(uint32_t name_field, const char* text) const;

  const ByteSource& source_;
  std::vector<Section> sections_;
  uint32_t resource_rva_ = 0;
  uint32_t resource_size_ = 0;
  uint64_t resource_file_offset_ = 0;
};

bool PeReader::RvaToOffset(uint32_t rva, uint32_t len, uint64_t* out) const {
  for (const Section& s : sections_) {
    uint32_t span = s.virtual_size > s.raw_size ? s.virtual_size : s.raw_size;
    if (rva < s.virtual_address || rva - s.virtual_address >= span) continue;
    uint32_t delta = rva - s.virtual_address;
    if (delta > s.raw_size || len > s.raw_size - delta) return false;
    *out = uint64_t(s.raw_pointer) + delta;
    return true;
  }
  return false;
}

// DOS header: "MZ" at 0, e_lfanew (u32) at 0x3C.
// At e_lfanew: "PE\0\0", then the COFF header (20 bytes): Machine u16,
//   NumberOfSections u16, TimeDateStamp u32, PointerToSymbolTable u32,
//   NumberOfSymbols u32, SizeOfOptionalHeader u16, Characteristics u16.
// Optional header: Magic u16 (0x10B PE32, 0x20B PE32+); NumberOfRvaAndSizes
//   at +92 (PE32) or +108 (PE32+), the data directories (RVA u32, Size u32)
//   right after it; entry 2 is the resource directory.
// Section table after the optional header, 40 bytes each: Name[8],
//   VirtualSize u32, VirtualAddress u32, SizeOfRawData u32,
//   PointerToRawData u32, ...
Status PeReader::ReadHeaders() {
  std::vector<uint8_t> dos;
  uint32_t pe_offset = 0;
  if (!ReadAt(0, 64, &dos) || !ByteReader(dos.data(), dos.size()).U32At(0x3C, &pe_offset)) {
    return Corrupt("DOS header is truncated (need 64 bytes)");
  }
  std::vector<uint8_t> head;
  if (!ReadAt(pe_offset, 24, &head)) {
    return Corrupt("PE header offset " + HexText(pe_offset) + " is past the end (size " +
                   HexText(source_.size()) + ")");
  }
  if (head[0] != 'P' || head[1] != 'E' || head[2] != 0 || head[3] != 0) {
    return MakeError(ErrorKind::kNotTypeLibrary,
                     source_.name() + ": MZ file without a PE header (no type library)");
  }
  ByteReader coff(head.data(), head.size());
  uint16_t section_count = 0, optional_size = 0;
  std::vector<uint8_t> optional;
  if (!coff.U16At(4 + 2, &section_count) || !coff.U16At(4 + 16, &optional_size) ||
      optional_size < 2 || !ReadAt(uint64_t(pe_offset) + 24, optional_size, &optional)) {
    return Corrupt("optional header (size " + HexText(optional_size) + ") is truncated");
  }
  ByteReader opt(optional.data(), optional.size());
  uint16_t magic = 0;
  if (!opt.U16At(0, &magic)) return Corrupt("optional header is truncated");
  size_t count_at = 0;
  if (magic == 0x10B) {
    count_at = 92;
  } else if (magic == 0x20B) {
    count_at = 108;
  } else {
    return Corrupt("optional header magic " + HexText(magic) + ", expected 0x10b or 0x20b");
  }
  uint32_t dir_count = 0;
  if (!opt.U32At(count_at, &dir_count)) return Corrupt("optional header has no data directories");
  if (dir_count > 2 && (!opt.U32At(count_at + 4 + 2 * 8, &resource_rva_) ||
                        !opt.U32At(count_at + 4 + 2 * 8 + 4, &resource_size_))) {
    // A directory entry the optional header does not hold: no resources.
    resource_rva_ = resource_size_ = 0;
  }
  std::vector<uint8_t> table;
  uint64_t table_offset = uint64_t(pe_offset) + 24 + optional_size;
  if (!ReadAt(table_offset, size_t(section_count) * 40, &table)) {
    return Corrupt("section table (" + std::to_string(section_count) + " sections at " +
                   HexText(table_offset) + ") is truncated");
  }
  ByteReader sections(table.data(), table.size());
  for (uint16_t i = 0; i < section_count; ++i) {
    Section s;
    size_t at = size_t(i) * 40;
    if (!sections.U32At(at + 8, &s.virtual_size) || !sections.U32At(at + 12, &s.virtual_address) ||
        !sections.U32At(at + 16, &s.raw_size) || !sections.U32At(at + 20, &s.raw_pointer)) {
      return Corrupt("section " + std::to_string(i) + " is truncated");
    }
    sections_.push_back(s);
  }
  if (resource_rva_ == 0 || resource_size_ == 0) {
    return MakeError(ErrorKind::kNotTypeLibrary,
                     source_.name() + ": PE module without resources (no type library)");
  }
  if (!RvaToOffset(resource_rva_, 16, &resource_file_offset_)) {
    return Corrupt("resource directory RVA " + HexText(resource_rva_) +
                   " lies in no section's data");
  }
  return Status();
}

// IMAGE_RESOURCE_DIRECTORY (16 bytes): Characteristics u32, TimeDateStamp
// u32, MajorVersion u16, MinorVersion u16, NumberOfNamedEntries u16,
// NumberOfIdEntries u16; then the entries, 8 bytes each: Name u32 (high bit:
// offset of a counted UTF-16 name, else the integer id), OffsetToData u32
// (high bit: offset of a subdirectory, else of a data entry). Offsets are
// relative to the resource root.
Result<std::vector<PeReader::Entry>> PeReader::ReadDirectory(uint32_t dir_offset) const {
  std::vector<uint8_t> head;
  if (dir_offset > resource_size_ || 16 > resource_size_ - dir_offset ||
      !ReadAt(resource_file_offset_ + dir_offset, 16, &head)) {
    return Corrupt("resource directory at " + HexText(dir_offset) +
                   " is past the resource data (size " + HexText(resource_size_) + ")");
  }
  ByteReader r(head.data(), head.size());
  uint16_t named = 0, ids = 0;
  if (!r.U16At(12, &named) || !r.U16At(14, &ids)) {
    return Corrupt("resource directory at " + HexText(dir_offset) + " is truncated");
  }
  uint32_t count = uint32_t(named) + ids;
  if (count > kMaxDirectoryEntries) return Corrupt("resource directory is too large");
  uint32_t entries_offset = dir_offset + 16;
  if (entries_offset > resource_size_ || count * 8 > resource_size_ - entries_offset) {
    return Corrupt("resource directory at " + HexText(dir_offset) + " has " +
                   std::to_string(count) + " entries, more than the resource data holds");
  }
  std::vector<uint8_t> raw;
  if (!ReadAt(resource_file_offset_ + entries_offset, size_t(count) * 8, &raw)) {
    return Corrupt("resource directory entries are truncated");
  }
  ByteReader e(raw.data(), raw.size());
  std::vector<Entry> entries(count);
  for (uint32_t i = 0; i < count; ++i) {
    if (!e.U32At(size_t(i) * 8, &entries[i].name) ||
        !e.U32At(size_t(i) * 8 + 4, &entries[i].target)) {
      return Corrupt("resource directory entry " + std::to_string(i) + " is truncated");
    }
  }
  return entries;
}

bool PeReader::NameIs(uint32_t name_field, const char* text) const {
  if ((name_field & 0x80000000u) == 0) return false;
  uint32_t at = name_field & 0x7FFFFFFFu;
  std::vector<uint8_t> len_bytes;
  if (at > resource_size_ || 2 > resource_size_ - at ||
      !ReadAt(resource_file_offset_ + at, 2, &len_bytes)) {
    return false;
  }
  size_t len = size_t(len_bytes[0] | len_bytes[1] << 8);
  size_t want = std::char_traits<char>::length(text);
  if (len != want) return false;
  std::vector<uint8_t> chars;
  if (len * 2 > resource_size_ - at - 2 ||
      !ReadAt(resource_file_offset_ + at + 2, len * 2, &chars)) {
    return false;
  }
  for (size_t i = 0; i < len; ++i) {
    unsigned c = chars[2 * i] | chars[2 * i + 1] << 8;
    if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    if (c != static_cast<unsigned char>(text[i])) return false;
  }
  return true;
}

Result<std::vector<PeReader::Entry>> PeReader::ReadTypeLibDirectory() {
  Status headers = ReadHeaders();
  if (!headers) return headers.error();
  auto types = ReadDirectory(0);
  if (!types) return types.error();
  const Entry* type_entry = nullptr;
  for (const Entry& entry : *types) {
    if (NameIs(entry.name, "TYPELIB")) {
      type_entry = &entry;
      break;
    }
  }
  if (type_entry == nullptr) {
    return MakeError(ErrorKind::kNotTypeLibrary,
                     source_.name() + ": PE module has no TYPELIB resource");
  }
  if ((type_entry->target & 0x80000000u) == 0) {
    return Corrupt("TYPELIB resource type entry is no directory");
  }
  return ReadDirectory(type_entry->target & 0x7FFFFFFFu);
}

Result<std::vector<uint16_t>> PeReader::List() {
  auto names = ReadTypeLibDirectory();
  if (!names) return names.error();
  std::vector<uint16_t> numbers;
  for (const Entry& entry : *names) {
    // Only integer ids up to 0xFFFF can be named by "file\N"; a named
    // resource or a larger number cannot be opened that way.
    if ((entry.name & 0x80000000u) == 0 && entry.name <= 0xFFFFu) {
      numbers.push_back(static_cast<uint16_t>(entry.name));
    }
  }
  if (numbers.empty()) {
    return MakeError(ErrorKind::kNotTypeLibrary,
                     source_.name() + ": PE module has no numbered TYPELIB resource");
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

Result<FileRange> PeReader::Find(uint16_t id) {
  auto names = ReadTypeLibDirectory();
  if (!names) return names.error();
  const Entry* name_entry = nullptr;
  for (const Entry& entry : *names) {
    if ((entry.name & 0x80000000u) == 0 && entry.name == id) {
      name_entry = &entry;
      break;
    }
  }
  if (name_entry == nullptr) {
    return MakeError(ErrorKind::kNotTypeLibrary,
                     source_.name() + ": PE module has no TYPELIB resource " + std::to_string(id));
  }
  if ((name_entry->target & 0x80000000u) == 0) {
    return Corrupt("TYPELIB resource " + std::to_string(id) + " has no language directory");
  }
  auto languages = ReadDirectory(name_entry->target & 0x7FFFFFFFu);
  if (!languages) return languages.error();
  if (languages->empty()) {
    return Corrupt("TYPELIB resource " + std::to_string(id) + " has no language entries");
  }
  // The loader prefers the neutral language, then US English, then the first.
  const Entry* chosen = &languages->front();
  for (uint32_t lang : {0u, 0x409u}) {
    bool found = false;
    for (const Entry& entry : *languages) {
      if ((entry.name & 0x80000000u) == 0 && entry.name == lang) {
        chosen = &entry;
        found = true;
        break;
      }
    }
    if (found) break;
  }
  if ((chosen->target & 0x80000000u) != 0) {
    return Corrupt("TYPELIB resource " + std::to_string(id) + " language entry is a directory");
  }
  // IMAGE_RESOURCE_DATA_ENTRY (16 bytes): OffsetToData u32 (an RVA), Size
  // u32, CodePage u32, Reserved u32.
  uint32_t data_entry = chosen->target;
  std::vector<uint8_t> raw;
  if (data_entry > resource_size_ || 16 > resource_size_ - data_entry ||
      !ReadAt(resource_file_offset_ + data_entry, 16, &raw)) {
    return Corrupt("resource data entry at " + HexText(data_entry) +
                   " is past the resource data (size " + HexText(resource_size_) + ")");
  }
  ByteReader d(raw.data(), raw.size());
  uint32_t rva = 0, size = 0;
  if (!d.U32At(0, &rva) || !d.U32At(4, &size)) {
    return Corrupt("resource data entry at " + HexText(data_entry) + " is truncated");
  }
  uint64_t file_offset = 0;
  if (!RvaToOffset(rva, size, &file_offset)) {
    return Corrupt("TYPELIB resource " + std::to_string(id) + " data (RVA " + HexText(rva) +
                   ", size " + HexText(size) + ") lies outside the sections' data");
  }
  if (file_offset > source_.size() || size > source_.size() - file_offset) {
    return Corrupt("TYPELIB resource " + std::to_string(id) + " data at " + HexText(file_offset) +
                   " (size " + HexText(size) + ") is past the end of the file (size " +
                   HexText(source_.size()) + ")");
  }
  return FileRange{file_offset, size};
}

}  // namespace

bool LooksLikePe(const ByteSource& source) {
  std::vector<uint8_t> magic;
  return source.Read(0, 2, &magic) && magic[0] == 'M' && magic[1] == 'Z';
}

Result<FileRange> LocateTypeLibResource(const ByteSource& source, uint16_t id) {
  return PeReader(source).Find(id);
}

Result<std::vector<uint16_t>> ListTypeLibResources(const ByteSource& source) {
  return PeReader(source).List();
}

Result<std::vector<uint16_t>> TypeLibResourceNumbersOfFile(const std::string& path) {
  auto source = FileSource::Open(path);
  if (!source) return source.error();
  if (!LooksLikePe(*source.value())) return std::vector<uint16_t>();
  return ListTypeLibResources(*source.value());
}

Result<std::vector<uint8_t>> ReadTypeLibResource(const ByteSource& source, uint16_t id) {
  Result<FileRange> range = LocateTypeLibResource(source, id);
  if (!range) return range.error();
  std::vector<uint8_t> bytes;
  if (!source.Read(range->offset, range->size, &bytes)) {
    return MakeError(ErrorKind::kIo, source.name() + ": cannot read TYPELIB resource " +
                                         std::to_string(id) + " (" + std::to_string(range->size) +
                                         " bytes)");
  }
  return bytes;
}

}  // namespace velbrook::typeinfo::msft
