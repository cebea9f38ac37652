// Validating decoder of the SLTG type library layout: header, block
// directory, index, and the library block with its type directory, help
// string tree and name table. Type info blocks are decoded in sltg_types.cpp.
#include <cstring>

#include "typeinfo/msft/sltg_parser.h"

namespace velbrook::typeinfo::msft {

namespace {

constexpr size_t kHeaderSize = 0x24;
constexpr size_t kBlockEntrySize = 8;
// The index starts with 01 "CompObj" 00 "dir" 00.
constexpr uint8_t kIndexMagic[13] = {1, 'C', 'o', 'm', 'p', 'O', 'b', 'j', 0, 'd', 'i', 'r', 0};
constexpr uint16_t kLibraryMagic = 0x51CC;
constexpr size_t kLibraryReservedBytes = 0x40;

const Guid kStdoleGuid = {0x30, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
const Guid kIDispatchGuid = {0x00, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                             0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// A GUID's 16 bytes, as stored.
bool ReadGuid(ByteReader* r, Guid* out) {
  ByteReader bytes;
  if (!r->ReadSlice(out->size(), &bytes)) return false;
  std::memcpy(out->data(), bytes.data(), bytes.size());
  return true;
}

}  // namespace

Error SltgParser::Corrupt(const std::string& message) const {
  return MakeError(ErrorKind::kCorrupt, "SLTG type library: " + message);
}

// Header (0x24 bytes): 0x00 magic "SLTG"   0x04 block count u16 (the block
// entries that follow, plus one)   0x06 size of the padding after the index
// u16   0x08 size of the index u16   0x0A first block u16 (1-based entry
// number)   0x0C a GUID   0x1C, 0x20 two u32 of unknown use.
// Block entries (8 bytes each): length u32, offset of the block's name in
// the index u16, next entry u16 (1-based; 0 ends the chain). Then the index
// (kIndexMagic, then a NUL-terminated name per block), the padding, and the
// blocks, one after the other in the order of the chain. The last block of
// the chain is the library block; every other one holds one type info.
Status SltgParser::ParseDirectory() {
  ByteReader header;
  uint16_t count = 0, padding = 0, index_size = 0, first = 0;
  if (!file_.Slice(0, kHeaderSize, &header) || !header.U16At(0x04, &count) ||
      !header.U16At(0x06, &padding) || !header.U16At(0x08, &index_size) ||
      !header.U16At(0x0A, &first)) {
    return Corrupt("header is truncated (file size " + Hex(int64_t(file_.size())) + ", need " +
                   Hex(kHeaderSize) + ")");
  }
  if (count < 2) {
    return Corrupt("block count " + std::to_string(count) + " leaves no room for a library block");
  }
  const size_t entries = size_t(count) - 1;
  const size_t index = kHeaderSize + entries * kBlockEntrySize;
  ByteReader directory, index_bytes;
  if (!file_.Slice(kHeaderSize, entries * kBlockEntrySize, &directory)) {
    return Corrupt("block directory of " + std::to_string(entries) +
                   " entries runs past the end of the file (size " + Hex(int64_t(file_.size())) +
                   ")");
  }
  if (index_size < sizeof kIndexMagic || !file_.Slice(index, index_size, &index_bytes)) {
    return Corrupt("index at " + Hex(int64_t(index)) + " (size " + Hex(index_size) +
                   ") does not fit in the file (size " + Hex(int64_t(file_.size())) + ")");
  }
  if (std::memcmp(index_bytes.data(), kIndexMagic, sizeof kIndexMagic) != 0) {
    return Corrupt("index at " + Hex(int64_t(index)) + " does not start with the CompObj marker");
  }
  size_t position = index + index_size + padding;
  if (position > file_.size()) {
    return Corrupt("the blocks would start at " + Hex(int64_t(position)) +
                   ", past the end of the file (size " + Hex(int64_t(file_.size())) + ")");
  }
  std::vector<bool> seen(entries, false);
  for (uint16_t at = first; at != 0;) {
    std::string which = "block entry " + std::to_string(at);
    ByteReader entry;
    uint32_t length = 0;
    uint16_t name = 0, next = 0;
    if (!directory.Slice(size_t(at - 1) * kBlockEntrySize, kBlockEntrySize, &entry) ||
        !entry.ReadU32LE(&length) || !entry.ReadU16LE(&name) || !entry.ReadU16LE(&next)) {
      return Corrupt("the block chain names entry " + std::to_string(at) + ", past the " +
                     std::to_string(entries) + " entries of the directory");
    }
    if (seen[at - 1]) return Corrupt("the block chain returns to entry " + std::to_string(at));
    seen[at - 1] = true;
    Block block;
    block.offset = position;
    if (!file_.Slice(position, length, &block.bytes)) {
      return Corrupt(which + ": its block (offset " + Hex(int64_t(position)) + ", length " +
                     Hex(length) + ") runs past the end of the file (size " +
                     Hex(int64_t(file_.size())) + ")");
    }
    const char* chars = reinterpret_cast<const char*>(index_bytes.data());
    size_t name_length = name < index_size ? strnlen(chars + name, index_size - name) : 0;
    if (name >= index_size || name + name_length >= index_size) {
      return Corrupt(which + ": its name at " + Hex(name) + " runs past the index (size " +
                     Hex(index_size) + ")");
    }
    block.index_name.assign(chars + name, name_length);
    blocks_.push_back(std::move(block));
    position += length;
    at = next;
  }
  if (blocks_.empty()) return Corrupt("the block chain is empty (first entry 0)");
  library_ = blocks_.back().offset;
  return Status();
}

// A text of the library block: length u16 (0xFFFF for none), the characters.
Status SltgParser::ReadLibraryText(ByteReader* lib, TableText* out, const char* what) {
  uint16_t length = 0;
  size_t at = lib->offset();
  if (!lib->ReadU16LE(&length)) {
    return Corrupt(std::string("library block: its ") + what + " at " +
                   Hex(int64_t(library_ + at)) + " is past the end of the file");
  }
  if (length == 0xFFFF) {
    *out = TableText();
    return Status();
  }
  ByteReader text;
  if (!lib->ReadSlice(length, &text)) {
    return Corrupt(std::string("library block: its ") + what + " at " +
                   Hex(int64_t(library_ + at)) + " (length " + Hex(length) +
                   ") runs past the end of the file");
  }
  const char* chars = reinterpret_cast<const char*>(text.data());
  *out = {true, std::string_view(chars, strnlen(chars, text.size()))};
  return Status();
}

// Library block: magic 0x51CC u16, u16 of unknown use, name (a name table
// offset) u16, a text that is skipped, the help string and the help file as
// texts, help context u32, syskind u16, lcid u16, u32 of unknown use,
// library flags u16, major u16, minor u16, GUID; then 0x40 bytes of unknown
// use, the type directory, the name table's offset from the library block's
// start u32, the help string tree: the longest string's length u16, the
// tree's size u32 and the tree, and at that offset the name table. The
// library block's own length need not cover these: it runs to the end of
// the file.
Status SltgParser::ParseLibraryBlock() {
  const std::string truncated = "library block at " + Hex(int64_t(library_)) +
                                " is truncated (file size " + Hex(int64_t(file_.size())) + ")";
  ByteReader lib;
  uint16_t magic = 0, name_offset = 0, skipped = 0;
  if (!file_.Slice(library_, file_.size() - library_, &lib) || !lib.ReadU16LE(&magic)) {
    return Corrupt(truncated);
  }
  if (magic != kLibraryMagic) {
    return Corrupt("library block at " + Hex(int64_t(library_)) + " has magic " + Hex(magic) +
                   ", expected " + Hex(kLibraryMagic));
  }
  if (!lib.Skip(2) || !lib.ReadU16LE(&name_offset) || !lib.ReadU16LE(&skipped)) {
    return Corrupt(truncated);
  }
  if (skipped != 0xFFFF && !lib.Skip(skipped)) return Corrupt(truncated);
  TableText help_file;
  for (auto [text, what] : {std::pair{&out_.help, "help string"}, {&help_file, "help file"}}) {
    Status read = ReadLibraryText(&lib, text, what);
    if (!read) return read;
  }
  uint32_t help_context = 0, unknown = 0;
  uint16_t syskind = 0, lcid = 0, flags = 0;
  if (!lib.ReadU32LE(&help_context) || !lib.ReadU16LE(&syskind) || !lib.ReadU16LE(&lcid) ||
      !lib.ReadU32LE(&unknown) || !lib.ReadU16LE(&flags) || !lib.ReadU16LE(&out_.major) ||
      !lib.ReadU16LE(&out_.minor) || !ReadGuid(&lib, &out_.guid)) {
    return Corrupt(truncated);
  }
  out_.has_guid = true;
  out_.sys_kind = syskind;
  out_.pointer_size = 4;  // SLTG libraries are 16- or 32-bit
  out_.lcid = out_.set_lcid = lcid;
  if (!lib.Skip(kLibraryReservedBytes)) return Corrupt(truncated);
  Status directory = ParseTypeDirectory(&lib);
  if (!directory) return directory;
  uint32_t name_table = 0;
  if (!lib.ReadU32LE(&name_table)) return Corrupt(truncated);
  const size_t tree_start = lib.offset();
  if (name_table < tree_start || name_table > lib.size()) {
    return Corrupt("library block: name table offset " + Hex(name_table) + " is outside " +
                   Hex(int64_t(tree_start)) + ".." + Hex(int64_t(lib.size())));
  }
  uint16_t longest = 0;
  uint32_t tree_size = 0;
  if (name_table - tree_start < 6 || !lib.ReadU16LE(&longest) || !lib.ReadU32LE(&tree_size)) {
    return Corrupt("library block: no room for the help string tree between " +
                   Hex(int64_t(tree_start)) + " and the name table at " + Hex(name_table));
  }
  ByteReader tree;
  if (tree_size > name_table - tree_start - 6 || !lib.ReadSlice(tree_size, &tree)) {
    return Corrupt("library block: help string tree of " + Hex(tree_size) + " bytes at " +
                   Hex(int64_t(tree_start)) + " runs into the name table at " + Hex(name_table));
  }
  help_table_ = SltgHelpTable(tree);
  Status table = ParseNameTable(library_ + name_table);
  if (!table) return table;
  return Name(name_offset, "library block", &out_.name);
}

// Type directory: a count u16, then per type info: its index name and a
// second name as texts, a u16 of unknown use, the name (a name table offset)
// u16, the coded help string's length u16 and its bytes, a u16 of unknown
// use, help context u32, a u16 of unknown use, GUID, type kind u16.
Status SltgParser::ParseTypeDirectory(ByteReader* lib) {
  uint16_t count = 0;
  if (!lib->ReadU16LE(&count)) {
    return Corrupt("library block: its type directory is past the end of the file");
  }
  if (count != blocks_.size() - 1) {
    return Corrupt("library block: the type directory lists " + std::to_string(count) +
                   " type infos, the block chain holds " + std::to_string(blocks_.size() - 1));
  }
  entries_.resize(count);
  for (TypeEntry& entry : entries_) {
    const std::string where = "type directory entry " + std::to_string(&entry - &entries_[0]);
    const std::string truncated =
        where + " at " + Hex(int64_t(library_ + lib->offset())) + " runs past the end of the file";
    std::string names[2];  // the index name, then one that is not used
    for (std::string& name : names) {
      uint16_t length = 0;
      ByteReader text;
      if (!lib->ReadU16LE(&length)) return Corrupt(truncated);
      if (length == 0xFFFF) continue;
      if (!lib->ReadSlice(length, &text)) return Corrupt(truncated);
      name.assign(reinterpret_cast<const char*>(text.data()), text.size());
    }
    entry.index_name = names[0];
    uint16_t help_length = 0;
    // u16, name, the help string; u16, help context u32, u16, then the GUID
    // and the kind.
    if (!lib->Skip(2) || !lib->ReadU16LE(&entry.name_offset) || !lib->ReadU16LE(&help_length) ||
        !lib->ReadSlice(help_length, &entry.help) || !lib->Skip(8) || !ReadGuid(lib, &entry.guid) ||
        !lib->Skip(2)) {
      return Corrupt(truncated);
    }
  }
  return Status();
}

// Name table: a u16 marker, 0xFFFF or 0x0200, then 10 or 0x2A bytes, 0x200
// bytes of unknown use, the table's size u32 and the table. A name offset
// names an entry: 8 bytes of unknown use, then the NUL-terminated name.
Status SltgParser::ParseNameTable(size_t at) {
  uint16_t marker = 0;
  if (!file_.U16At(at, &marker)) {
    return Corrupt("name table at " + Hex(int64_t(at)) + " is past the end of the file");
  }
  size_t size_at = 0;
  if (marker == 0xFFFF) {
    size_at = at + 0x20C;
  } else if (marker == 0x0200) {
    size_at = at + 0x22C;
  } else {
    return Corrupt("name table at " + Hex(int64_t(at)) + " has marker " + Hex(marker) +
                   ", expected 0xffff or 0x200");
  }
  uint32_t size = 0;
  if (!file_.U32At(size_at, &size) || !file_.Slice(size_at + 4, size, &names_)) {
    return Corrupt("name table at " + Hex(int64_t(size_at + 4)) + " (size " + Hex(size) +
                   ") runs past the end of the file (size " + Hex(int64_t(file_.size())) + ")");
  }
  return Status();
}

Status SltgParser::Name(uint16_t offset, const std::string& where, TableText* out) const {
  *out = TableText();
  if (offset == 0xFFFF) return Status();
  const size_t at = size_t(offset) + 8;
  if (at >= names_.size()) {
    return Corrupt(where + ": name offset " + Hex(offset) + " is past the name table (size " +
                   Hex(int64_t(names_.size())) + ")");
  }
  const char* chars = reinterpret_cast<const char*>(names_.data() + at);
  size_t length = strnlen(chars, names_.size() - at);
  if (length == names_.size() - at) {
    return Corrupt(where + ": name at " + Hex(offset) + " runs past the end of the name table");
  }
  *out = {true, std::string_view(chars, length)};
  return Status();
}

// Decoded strings are kept by where their bits start in the file: every
// reader here is a slice of the file's bytes.
Status SltgParser::Help(const ByteReader& bits, const std::string& where, TableText* out) {
  *out = TableText();
  if (bits.size() == 0) return Status();
  const size_t offset = size_t(bits.data() - file_.data());
  auto cached = help_cache_.find(offset);
  if (cached != help_cache_.end()) {
    *out = cached->second;
    return Status();
  }
  uint64_t steps = 0;
  size_t bad_node = 0;
  std::string text;
  if (!help_table_.Decode(bits, &steps, &text, &bad_node)) {
    return Corrupt(where + ": help string tree node at " + Hex(int64_t(bad_node)) +
                   " branches backwards");
  }
  if (steps > help_budget_) {
    return Corrupt(where + ": decoding the help strings takes more than the " +
                   std::to_string(uint64_t(file_.size()) * 16 + (1u << 20)) +
                   " steps allowed (their codes overlap)");
  }
  help_budget_ -= steps;
  out_.decoded_texts.push_back(std::move(text));
  *out = {true, out_.decoded_texts.back()};
  help_cache_.emplace(offset, *out);
  return Status();
}

void SltgParser::SetDispatchReference() {
  if (out_.dispatch_href != 0xFFFFFFFFu) return;
  bool any = false;
  for (const TypeInfoRecord& t : out_.types) any = any || t.type_kind == kTypeKindDispatch;
  if (!any) return;
  // Every dispinterface derives from IDispatch, named or not: add a
  // reference to it in the standard OLE library.
  ImportFile stdole;
  stdole.offset = 0xFFFFFFFFu;
  stdole.has_guid = true;
  stdole.guid = kStdoleGuid;
  stdole.major = 2;
  stdole.name = "stdole2.tlb";
  out_.import_files.push_back(stdole);
  ImportRef ref;
  ref.valid = true;
  ref.file_index = out_.import_files.size() - 1;
  ref.by_guid = true;
  ref.has_guid = true;
  ref.guid = kIDispatchGuid;
  uint32_t key = uint32_t(out_.import_refs.size()) * 4;
  out_.import_refs.emplace(key, ref);
  out_.dispatch_href = key | 1;
}

bool SltgParser::IsDispatchImport(size_t file_index, uint32_t type_index) const {
  const ImportFile& f = out_.import_files[file_index];
  return f.has_guid && f.guid == kStdoleGuid && type_index == 4;
}

Result<MsftFile> SltgParser::Run() {
  help_budget_ = uint64_t(file_.size()) * 16 + (1u << 20);
  for (auto step :
       {&SltgParser::ParseDirectory, &SltgParser::ParseLibraryBlock, &SltgParser::ParseTypeInfos}) {
    Status done = (this->*step)();
    if (!done) return done.error();
  }
  SetDispatchReference();
  for (size_t i = 0; i < out_.types.size(); ++i) {
    out_.types[i].members_decoded = true;
    out_.type_by_hreftype.emplace(out_.types[i].hreftype, i);
  }
  return std::move(out_);
}

Result<MsftFile> ParseSltg(const uint8_t* data, size_t size) {
  if (size < 4 || std::memcmp(data, "SLTG", 4) != 0) {
    return MakeError(ErrorKind::kNotTypeLibrary,
                     "no SLTG type library: the bytes do not start with SLTG");
  }
  return SltgParser(data, size).Run();
}

Result<MsftFile> ParseTypeLibrary(const uint8_t* data, size_t size) {
  if (size >= 4 && std::memcmp(data, "SLTG", 4) == 0) return ParseSltg(data, size);
  return ParseMsft(data, size);
}

Result<MsftFile> OpenTypeLibrary(std::vector<uint8_t> bytes) {
  const bool sltg = bytes.size() >= 4 && std::memcmp(bytes.data(), "SLTG", 4) == 0;
  Result<MsftFile> opened =
      sltg ? ParseSltg(bytes.data(), bytes.size()) : OpenMsft(bytes.data(), bytes.size());
  // Moving the vector keeps its buffer, into which the texts point.
  if (opened) opened->bytes = std::move(bytes);
  return opened;
}

}  // namespace velbrook::typeinfo::msft
