// Validating decoder of the MSFT type library layout: header, segment
// directory, the name/string/GUID/TYPEDESC tables and the import tables.
// Type info records and their members are decoded in msft_types.cpp.
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "typeinfo/msft/msft_file.h"
#include "typeinfo/msft/msft_parser.h"

namespace velbrook::typeinfo::msft {

void GuidToChars(const Guid& g, char (&out)[39]) {
  std::snprintf(out, sizeof out,
                "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g[3],
                g[2], g[1], g[0], g[5], g[4], g[7], g[6], g[8], g[9], g[10], g[11], g[12], g[13],
                g[14], g[15]);
}

std::string GuidToText(const Guid& g) {
  char buffer[39];
  GuidToChars(g, buffer);
  return buffer;
}

std::string Hex(int64_t value) {
  char buffer[24];
  if (value < 0) {
    std::snprintf(buffer, sizeof buffer, "-0x%llx", static_cast<unsigned long long>(-value));
  } else {
    std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
  }
  return buffer;
}

Error MsftParser::Corrupt(const std::string& message) const {
  return MakeError(ErrorKind::kCorrupt, "MSFT type library: " + message);
}

bool MsftParser::SegmentHas(int index, int64_t rel, int64_t len) const {
  const Segment& s = segments_[index];
  return rel >= 0 && len >= 0 && rel <= s.length && len <= s.length - rel;
}

// Header (all fields 32-bit little-endian):
//   0x00 magic "MSFT"   0x04 version (0x00010002)   0x08 posguid (library
//   GUID offset)   0x0C lcid   0x10 lcid2   0x14 varflags (low nibble:
//   SYSKIND; 0x100: a help string DLL offset follows the header)
//   0x18 version (major low word, minor high word)   0x1C flags
//   0x20 nrtypeinfos   0x24 helpstring   0x28 helpstringcontext
//   0x2C helpcontext   0x30 nametablecount   0x34 nametablechars
//   0x38 NameOffset   0x3C helpfile   0x40 CustomDataOffset
//   0x44 res44   0x48 res48   0x4C dispatchpos (href of IDispatch)
//   0x50 nimpinfos
// Then the help string DLL offset (when flagged), nrtypeinfos type info
// offsets, and the segment directory: 15 entries of (offset, length,
// res08 = -1, res0c = 0x0F), in the order of the Seg* constants.
Status MsftParser::ParseHeader() {
  constexpr size_t kHeaderSize = 0x54;
  int32_t posguid = 0, varflags = 0, version = 0, nrtypeinfos = 0, helpstring = 0, name_offset = 0,
          dispatchpos = 0;
  uint32_t lcid = 0, lcid2 = 0;
  if (!file_.Contains(0, kHeaderSize) || !file_.I32At(0x08, &posguid) ||
      !file_.U32At(0x0C, &lcid) || !file_.U32At(0x10, &lcid2) || !file_.I32At(0x14, &varflags) ||
      !file_.I32At(0x18, &version) || !file_.I32At(0x20, &nrtypeinfos) ||
      !file_.I32At(0x24, &helpstring) || !file_.I32At(0x38, &name_offset) ||
      !file_.I32At(0x4C, &dispatchpos)) {
    return Corrupt("header is truncated (file size " + Hex(int64_t(file_.size())) + ", need " +
                   Hex(kHeaderSize) + ")");
  }
  if (nrtypeinfos < 0 || !FitsCount(size_t(nrtypeinfos), 0x64, file_.size())) {
    return Corrupt("type info count " + std::to_string(nrtypeinfos) +
                   " cannot fit in the file (size " + Hex(int64_t(file_.size())) + ")");
  }
  size_t dir = kHeaderSize + size_t(nrtypeinfos) * 4 + ((varflags & 0x100) ? 4 : 0);
  if (!file_.Contains(dir, kSegmentCount * 16)) {
    return Corrupt("segment directory at " + Hex(int64_t(dir)) +
                   " is past the end of the file (size " + Hex(int64_t(file_.size())) + ")");
  }
  for (int i = 0; i < kSegmentCount; ++i) {
    int32_t offset = 0, length = 0, res0c = 0;
    if (!file_.I32At(dir + i * 16, &offset) || !file_.I32At(dir + i * 16 + 4, &length) ||
        !file_.I32At(dir + i * 16 + 12, &res0c)) {
      return Corrupt("segment directory entry " + std::to_string(i) + " is truncated");
    }
    if (i < 2 && res0c != 0x0F) {
      return Corrupt("segment directory entry " + std::to_string(i) + " at " +
                     Hex(int64_t(dir + i * 16)) + " has marker " + Hex(res0c) + ", expected 0xf");
    }
    Segment& s = segments_[i];
    if (offset < 0 || length <= 0) continue;  // an absent segment
    if (!file_.Contains(size_t(offset), size_t(length))) {
      return Corrupt("segment " + std::to_string(i) + " (offset " + Hex(offset) + ", length " +
                     Hex(length) + ") is past the end of the file (size " +
                     Hex(int64_t(file_.size())) + ")");
    }
    s.present = true;
    s.offset = offset;
    s.length = length;
  }
  if (!SegmentHas(kSegTypeInfo, 0, int64_t(nrtypeinfos) * 0x64)) {
    return Corrupt("type info table (length " + Hex(segments_[kSegTypeInfo].length) +
                   ") is too small for " + std::to_string(nrtypeinfos) +
                   " type infos of 0x64 bytes");
  }
  type_count_ = nrtypeinfos;
  if (segments_[kSegTypeDesc].present) {
    type_desc_count_ = size_t(segments_[kSegTypeDesc].length) / 8;
  }
  out_.sys_kind = varflags & 0x0F;
  out_.pointer_size = out_.sys_kind == 3 ? 8 : 4;  // SYS_WIN64
  out_.major = uint16_t(uint32_t(version) & 0xFFFF);
  out_.minor = uint16_t(uint32_t(version) >> 16);
  out_.lcid = lcid;
  out_.set_lcid = lcid2;
  out_.dispatch_href = uint32_t(dispatchpos);
  lib_guid_offset_ = posguid;
  lib_name_offset_ = name_offset;
  lib_help_offset_ = helpstring;
  return Status();
}

// Name table entries: hreftype i32, next_hash i32, namelen i32 (low byte:
// length; the rest a hash), then the characters, padded to 4 bytes. The walk
// checks every entry and notes where each starts; names are read when asked.
Status MsftParser::IndexNames() {
  const Segment& s = segments_[kSegName];
  if (!s.present) return Status();
  name_starts_.assign(size_t(s.length) / 4 + 1, false);
  int64_t offs = 0;
  while (offs < s.length) {
    uint32_t namelen = 0;
    if (!SegmentHas(kSegName, offs, 12) || !file_.U32At(size_t(s.offset + offs + 8), &namelen)) {
      return Corrupt("name table entry at " + Hex(offs) + " runs past the table (size " +
                     Hex(s.length) + ")");
    }
    namelen &= 0xFF;
    if (!SegmentHas(kSegName, offs + 12, namelen)) {
      return Corrupt("name at " + Hex(offs) + " (length " + std::to_string(namelen) +
                     ") runs past the name table (size " + Hex(s.length) + ")");
    }
    name_starts_[size_t(offs) / 4] = true;
    int64_t piece = 12 + namelen;
    if (piece % 4) piece = (piece + 4) & ~int64_t(3);
    offs += piece;
  }
  return Status();
}

// String table entries: length i16, then the characters, the whole padded
// to 4 bytes and at least 8.
Status MsftParser::IndexStrings() {
  const Segment& s = segments_[kSegString];
  if (!s.present) return Status();
  string_starts_.assign(size_t(s.length) / 4 + 1, false);
  int64_t offs = 0;
  while (offs < s.length) {
    int16_t len = 0;
    if (!SegmentHas(kSegString, offs, 2) || !file_.I16At(size_t(s.offset + offs), &len)) break;
    if (len < 0 || !SegmentHas(kSegString, offs + 2, len)) {
      return Corrupt("string at " + Hex(offs) + " (length " + std::to_string(len) +
                     ") runs past the string table (size " + Hex(s.length) + ")");
    }
    string_starts_[size_t(offs) / 4] = true;
    int64_t piece = len + 2;
    if (piece % 4) piece = (piece + 4) & ~int64_t(3);
    if (piece < 8) piece = 8;
    offs += piece;
  }
  return Status();
}

// Only an offset where the walk found an entry names a text.
TableText MsftParser::Name(int32_t offset) const {
  const Segment& s = segments_[kSegName];
  if (offset < 0 || offset % 4 != 0 || size_t(offset) / 4 >= name_starts_.size() ||
      !name_starts_[size_t(offset) / 4]) {
    return {};
  }
  uint32_t namelen = 0;
  ByteReader chars;
  if (!file_.U32At(size_t(s.offset + offset + 8), &namelen) ||
      !file_.Slice(size_t(s.offset + offset + 12), namelen & 0xFF, &chars)) {
    return {};
  }
  const char* text = reinterpret_cast<const char*>(chars.data());
  return {true, std::string_view(text, strnlen(text, chars.size()))};
}

TableText MsftParser::String(int32_t offset) const {
  const Segment& s = segments_[kSegString];
  if (offset < 0 || offset % 4 != 0 || size_t(offset) / 4 >= string_starts_.size() ||
      !string_starts_[size_t(offset) / 4]) {
    return {};
  }
  int16_t len = 0;
  ByteReader chars;
  if (!file_.I16At(size_t(s.offset + offset), &len) || len < 0 ||
      !file_.Slice(size_t(s.offset + offset + 2), size_t(len), &chars)) {
    return {};
  }
  const char* text = reinterpret_cast<const char*>(chars.data());
  return {true, std::string_view(text, strnlen(text, chars.size()))};
}

// GUID table entries (24 bytes): the GUID, hreftype i32, next_hash i32. An
// offset names a GUID only when it is the start of an entry.
bool MsftParser::GuidAt(int32_t offset, Guid* out) const {
  if (offset < 0 || offset % 24 != 0 || !SegmentHas(kSegGuid, offset, 24)) return false;
  std::memcpy(out->data(), file_.data() + segments_[kSegGuid].offset + offset, 16);
  return true;
}

// TYPEDESC table entries (8 bytes, four i16): td0 = VT; for VT_PTR and
// VT_SAFEARRAY (td2, td3) is the pointee (td3 < 0: base VT td2, else the
// entry offset td2); for VT_CARRAY td2 is the offset of its array
// description; for VT_USERDEFINED (td2, td3) is the HREFTYPE.
// Array descriptions: element type i32 (negative: base VT in the low word,
// else a TYPEDESC entry offset), cDims i16, a size i16, then per dimension
// cElements i32 and lLbound i32.
bool MsftParser::DecodeTypeDesc(size_t i, TypeDescEntry* e, std::string* problem) const {
  const Segment& s = segments_[kSegTypeDesc];
  int16_t td[4] = {0, 0, 0, 0};
  for (int k = 0; k < 4; ++k) {
    if (!file_.I16At(size_t(s.offset) + i * 8 + k * 2, &td[k])) {
      *problem = "TYPEDESC " + std::to_string(i) + " is past the end of the file";
      return false;
    }
  }
  *e = TypeDescEntry();
  e->vt = uint16_t(td[0]) & 0x0FFF;
  if (td[0] == kVtPtr || td[0] == kVtSafeArray) {
    e->has_inner = true;
    e->inner =
        td[3] < 0 ? DataType(0x80000000u | (uint16_t(td[2]) & 0x0FFF)) : DataType(uint16_t(td[2]));
  } else if (td[0] == kVtCArray) {
    const Segment& a = segments_[kSegArrayDesc];
    if (!a.present) return true;  // the loader leaves such an array without bounds
    int64_t at = td[2];
    int16_t elem_lo = 0, elem_hi = 0, dims = 0;
    if (!SegmentHas(kSegArrayDesc, at, 8) || !file_.I16At(size_t(a.offset + at), &elem_lo) ||
        !file_.I16At(size_t(a.offset + at + 2), &elem_hi) ||
        !file_.I16At(size_t(a.offset + at + 4), &dims)) {
      *problem = "TYPEDESC " + std::to_string(i) + ": array description offset " + Hex(at) +
                 " is past the array table (size " + Hex(a.length) + ")";
      return false;
    }
    if (dims < 0 || !SegmentHas(kSegArrayDesc, at + 8, int64_t(dims) * 8)) {
      *problem = "TYPEDESC " + std::to_string(i) + ": array of " + std::to_string(dims) +
                 " dimensions runs past the array table (size " + Hex(a.length) + ")";
      return false;
    }
    e->has_inner = true;
    e->inner = elem_hi < 0 ? DataType(0x80000000u | (uint16_t(elem_lo) & 0x0FFF))
                           : DataType(uint16_t(elem_lo));
    e->bounds.reserve(size_t(dims));
    for (int16_t d = 0; d < dims; ++d) {
      int32_t elements = 0, lower = 0;
      if (!file_.I32At(size_t(a.offset + at + 8 + d * 8), &elements) ||
          !file_.I32At(size_t(a.offset + at + 12 + d * 8), &lower)) {
        *problem = "TYPEDESC " + std::to_string(i) + ": dimension " + std::to_string(d) +
                   " is past the end of the file";
        return false;
      }
      e->bounds.push_back({lower, int32_t(uint32_t(lower) + uint32_t(elements) - 1)});
    }
  } else if (td[0] == kVtUserDefined) {
    e->href = uint32_t(uint16_t(td[2])) | uint32_t(uint16_t(td[3])) << 16;
  }
  return true;
}

// Every inner reference must name an entry, and no chain may loop. Entries
// are decoded once; a chain found sound (or not) is not followed again.
bool MsftParser::DecodeChain(size_t start, MsftFile* file, std::string* problem) {
  if (file->type_descs.size() != type_desc_count_) {
    file->type_descs.resize(type_desc_count_);
    chain_state_.assign(type_desc_count_, kChainUnknown);
  }
  chain_path_.clear();
  bool good = true;
  for (size_t i = start;;) {
    if (chain_state_[i] == kChainGood) break;
    if (chain_state_[i] != kChainUnknown) {
      *problem = chain_state_[i] == kChainBad
                     ? "TYPEDESC " + std::to_string(i) + " leads to a corrupt entry"
                     : "TYPEDESC " + std::to_string(i) + ": its element chain loops";
      good = false;
      break;
    }
    chain_state_[i] = kChainOnPath;
    chain_path_.push_back(i);
    TypeDescEntry& e = file->type_descs[i];
    if (!DecodeTypeDesc(i, &e, problem)) {
      good = false;
      break;
    }
    if (!e.has_inner || e.inner < 0) break;
    size_t next = size_t(e.inner) / 8;
    if (next >= type_desc_count_) {
      *problem = "TYPEDESC " + std::to_string(i) + ": element offset " + Hex(e.inner) +
                 " is past the TYPEDESC table (size " + Hex(segments_[kSegTypeDesc].length) + ")";
      good = false;
      break;
    }
    i = next;
  }
  for (size_t p : chain_path_) chain_state_[p] = good ? kChainGood : kChainBad;
  return good;
}

bool MsftParser::CheckDataType(DataType type, MsftFile* file, std::string* problem) {
  if (type < 0) return true;
  if (size_t(type) / 8 >= type_desc_count_) {
    *problem = "offset " + Hex(type) + " is past the TYPEDESC table";
    return false;
  }
  if (DecodeChain(size_t(type) / 8, file, problem)) return true;
  *problem = "offset " + Hex(type) + ": " + *problem;
  return false;
}

Status MsftParser::DecodeAllTypeDescs(MsftFile* file) {
  std::string problem;
  for (size_t i = 0; i < type_desc_count_; ++i) {
    if (!DecodeChain(i, file, &problem)) return Corrupt(problem);
  }
  return Status();
}

// Import files: GUID offset i32, lcid u32, major u16, minor u16, name length
// u16 (times 4), the name; each entry padded to 4 bytes.
// Import infos (12 bytes): flags i32 (0x10000: oGuid is a GUID offset, else
// a type info index), oImpFile i32 (import file offset), oGuid i32.
Status MsftParser::ParseImports() {
  const Segment& f = segments_[kSegImpFiles];
  std::unordered_map<int64_t, size_t> file_at;  // import file by its offset
  int64_t offs = 0;
  while (f.present && offs < f.length) {
    size_t at = size_t(f.offset + offs);
    ImportFile imp;
    imp.offset = uint32_t(offs);
    int32_t guid_offset = 0;
    uint16_t size = 0;
    if (!SegmentHas(kSegImpFiles, offs, 14) || !file_.I32At(at, &guid_offset) ||
        !file_.U32At(at + 4, &imp.lcid) || !file_.U16At(at + 8, &imp.major) ||
        !file_.U16At(at + 10, &imp.minor) || !file_.U16At(at + 12, &size)) {
      return Corrupt("import file entry at " + Hex(offs) + " runs past its table (size " +
                     Hex(f.length) + ")");
    }
    size >>= 2;
    if (!SegmentHas(kSegImpFiles, offs + 14, size)) {
      return Corrupt("import file name at " + Hex(offs) + " (length " + std::to_string(size) +
                     ") runs past its table (size " + Hex(f.length) + ")");
    }
    const char* chars = reinterpret_cast<const char*>(file_.data() + at + 14);
    imp.name.assign(chars, strnlen(chars, size));
    imp.has_guid = GuidAt(guid_offset, &imp.guid);
    file_at.emplace(offs, out_.import_files.size());
    out_.import_files.push_back(std::move(imp));
    offs = (offs + 14 + size + 3) & ~int64_t(3);
  }
  const Segment& s = segments_[kSegImpInfo];
  for (int64_t at = 0; s.present && at + 12 <= s.length; at += 12) {
    int32_t flags = 0, file_offset = 0, guid = 0;
    if (!file_.I32At(size_t(s.offset + at), &flags) ||
        !file_.I32At(size_t(s.offset + at + 4), &file_offset) ||
        !file_.I32At(size_t(s.offset + at + 8), &guid)) {
      return Corrupt("import info at " + Hex(at) + " is past the end of the file");
    }
    ImportRef ref;
    auto file = file_at.find(file_offset);
    if (file != file_at.end()) {
      ref.valid = true;
      ref.file_index = file->second;
    }
    ref.by_guid = (flags & 0x10000) != 0;
    if (ref.by_guid) {
      ref.has_guid = GuidAt(guid, &ref.guid);
    } else {
      ref.index = guid;
    }
    out_.import_refs.emplace(uint32_t(at), ref);
  }
  return Status();
}

Result<MsftFile> MsftParser::Open(std::unique_ptr<MsftParser> self) {
  MsftParser& p = *self;
  for (auto step : {&MsftParser::ParseHeader, &MsftParser::IndexNames, &MsftParser::IndexStrings,
                    &MsftParser::ParseImports, &MsftParser::ParseTypeInfos}) {
    Status done = (p.*step)();
    if (!done) return done.error();
  }
  MsftFile& out = p.out_;
  out.has_guid = p.GuidAt(p.lib_guid_offset_, &out.guid);
  out.name = p.Name(p.lib_name_offset_);
  out.help = p.String(p.lib_help_offset_);
  out.type_by_hreftype.reserve(out.types.size());
  for (size_t i = 0; i < out.types.size(); ++i) {
    out.type_by_hreftype.emplace(out.types[i].hreftype, i);
  }
  MsftFile file = std::move(out);
  file.lazy = std::move(self);
  return file;
}

Status MsftFile::DecodeMembers(size_t index) {
  TypeInfoRecord& t = types[index];
  if (t.members_decoded) return Status();
  t.members_decoded = true;
  if (!lazy) return Status();
  Status done = lazy->DecodeMembers(index, this);
  if (!done) {
    t.funcs.clear();
    t.vars.clear();
    t.params.clear();
  }
  return done;
}

Result<MsftFile> OpenMsft(const uint8_t* data, size_t size) {
  if (size >= 4 && std::memcmp(data, "SLTG", 4) == 0) {
    return MakeError(ErrorKind::kUnsupportedFormat,
                     "unsupported type library format SLTG (only MSFT is read)");
  }
  if (size < 4 || std::memcmp(data, "MSFT", 4) != 0) {
    return MakeError(ErrorKind::kNotTypeLibrary,
                     "no type library: the bytes start with neither MSFT nor SLTG");
  }
  return MsftParser::Open(std::make_unique<MsftParser>(data, size));
}

Result<MsftFile> ParseMsft(const uint8_t* data, size_t size) {
  Result<MsftFile> opened = OpenMsft(data, size);
  if (!opened) return opened;
  MsftFile& file = opened.value();
  Status done = file.lazy->DecodeAllTypeDescs(&file);
  for (size_t i = 0; done && i < file.types.size(); ++i) done = file.DecodeMembers(i);
  if (!done) return done.error();
  file.lazy.reset();
  return opened;
}

}  // namespace velbrook::typeinfo::msft
