// Decoding of SLTG type info blocks: their headers, reference tables,
// implemented interfaces, functions, variables, constants and type
// descriptions.
#include <cstring>

#include "typeinfo/msft/sltg_parser.h"
#include "typeinfo/type_mapping.h"

namespace velbrook::typeinfo::msft {

namespace {

constexpr size_t kTypeHeaderSize = 0x22;
constexpr uint16_t kTypeHeaderMagic = 0x0501;
constexpr size_t kMemberHeaderSize = 9;
constexpr size_t kTailSize = 0x36;
constexpr uint16_t kNone = 0xFFFF;
constexpr uint8_t kRefTableMagic = 0xDF;
constexpr uint16_t kImplMagic = 0x004A;
constexpr size_t kImplSize = 0x16;
constexpr int kMaxTypeDepth = 64;
// Each array type keeps its own bounds; real arrays have a handful.
constexpr uint16_t kMaxArrayDims = 64;
constexpr size_t kMaxTypeDescs = 0x0FFFFFFF;  // entry offsets stay within an i32

constexpr int32_t kFuncPureVirtual = 1, kFuncStatic = 3, kFuncDispatch = 4;
constexpr int16_t kVarPerInstance = 0, kVarConst = 2, kVarDispatch = 3;
constexpr uint16_t kVtInt = 22, kVtBstr = 8;

// Parameter flags carried by the first word of a parameter's type.
uint16_t ParamFlagsOf(uint16_t word) {
  uint16_t flags = 0;
  if ((word & 0xC000) == 0xC000) {
    flags = 0;
  } else if (word & 0x8000) {
    flags = kParamFlagIn | kParamFlagOut;
  } else if (word & 0x4000) {
    flags = kParamFlagOut;
  } else {
    flags = kParamFlagIn;
  }
  if (word & 0x2000) flags |= kParamFlagLcid;
  if (word & 0x0080) flags |= kParamFlagRetval;
  return flags;
}

// Bytes a constant of this VT occupies; 0 for one whose value is not read.
size_t ConstantSize(uint16_t vt) {
  switch (vt) {
    case 16:
    case 17:
      return 1;  // VT_I1, VT_UI1
    case 2:
    case 11:
    case 18:
      return 2;  // VT_I2, VT_BOOL, VT_UI2
    case 3:
    case 4:
    case 10:
    case 19:
    case 22:
    case 23:
    case 25:
      return 4;  // VT_I4, VT_R4, VT_ERROR, VT_UI4, VT_INT, VT_UINT, VT_HRESULT
    case 5:
    case 6:
    case 7:
    case 20:
    case 21:
      return 8;  // VT_R8, VT_CY, VT_DATE, VT_I8, VT_UI8
    default:
      return 0;
  }
}

bool IsSigned(uint16_t vt) { return vt == 2 || vt == 3 || vt == 16 || vt == 20 || vt == 22; }

// VTs of integer constants (VT_R4, VT_R8, VT_CY and VT_DATE are not).
bool IsInteger(uint16_t vt) { return ConstantSize(vt) != 0 && (vt < 4 || vt > 7); }

// "*\R<hex>*#<hex>": the library (0xFFFF for this one) and the type index.
bool ParseRefText(const std::string& text, uint32_t* library, uint32_t* index) {
  auto hex = [&](size_t* at, char stop, uint32_t* out) {
    size_t digits = 0;
    *out = 0;
    while (*at < text.size() && text[*at] != stop) {
      char c = text[*at];
      int value = c >= '0' && c <= '9'   ? c - '0'
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                         : -1;
      if (value < 0 || ++digits > 8) return false;
      *out = *out << 4 | uint32_t(value);
      ++*at;
    }
    return digits > 0;
  };
  if (text.compare(0, 3, "*\\R") != 0) return false;
  size_t at = 3;
  if (!hex(&at, '*', library) || text.compare(at, 2, "*#") != 0) return false;
  at += 2;
  return hex(&at, '\0', index) && at == text.size();
}

bool ParseHex(const std::string& text, size_t begin, size_t end, uint32_t* out) {
  if (begin >= end || end - begin > 8) return false;
  *out = 0;
  for (size_t i = begin; i < end; ++i) {
    char c = text[i];
    int value = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
    if (value < 0) return false;
    *out = *out << 4 | uint32_t(value);
  }
  return true;
}

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" into the stored byte order.
bool ParseGuidText(const std::string& text, size_t at, Guid* out) {
  if (text.size() < at + 36) return false;
  uint32_t d1 = 0, d2 = 0, d3 = 0, d4 = 0, d5a = 0, d5b = 0;
  if (text[at + 8] != '-' || text[at + 13] != '-' || text[at + 18] != '-' || text[at + 23] != '-' ||
      !ParseHex(text, at, at + 8, &d1) || !ParseHex(text, at + 9, at + 13, &d2) ||
      !ParseHex(text, at + 14, at + 18, &d3) || !ParseHex(text, at + 19, at + 23, &d4) ||
      !ParseHex(text, at + 24, at + 28, &d5a) || !ParseHex(text, at + 28, at + 36, &d5b)) {
    return false;
  }
  Guid g = {uint8_t(d1),        uint8_t(d1 >> 8),   uint8_t(d1 >> 16), uint8_t(d1 >> 24),
            uint8_t(d2),        uint8_t(d2 >> 8),   uint8_t(d3),       uint8_t(d3 >> 8),
            uint8_t(d4 >> 8),   uint8_t(d4),        uint8_t(d5a >> 8), uint8_t(d5a),
            uint8_t(d5b >> 24), uint8_t(d5b >> 16), uint8_t(d5b >> 8), uint8_t(d5b)};
  *out = g;
  return true;
}

}  // namespace

Status SltgParser::ParseTypeInfos() {
  out_.types.resize(entries_.size());
  for (size_t i = 0; i < entries_.size(); ++i) {
    Status done = ParseTypeInfo(i, &out_.types[i]);
    if (!done) return done;
  }
  return Status();
}

// Type info block header (0x22 bytes): magic 0x0501 u16, reference table
// offset u32 (from the block's start; 0xFFFFFFFF for none), u32, member
// header offset u32, u32, major u16, minor u16, u32; then the type flags:
// bits 3-7 of the byte at 0x1A are flags 0-4, the byte at 0x1B flags 5-12;
// a byte, the type kind u8 at 0x1D, a u32.
// Member header (9 bytes): u16, u16, u8, the member data's size u32. The
// member data follows it, then the tail (0x36 bytes, u16 each): cFuncs,
// cVars, cImplTypes, -, the offsets of the functions, variables and
// implemented interfaces (from the member data's start; 0xFFFF for none),
// three byte counts, the aliased type (a VT when the word at 0x1C is not 0,
// else its offset), -, -, -, that word, -, cbSizeInstance, cbAlignment, -, -,
// cbSizeVft, then six words of unknown use.
Status SltgParser::ParseTypeInfo(size_t index, TypeInfoRecord* t) {
  const Block& block = blocks_[index];
  const TypeEntry& entry = entries_[index];
  Body body;
  body.index = index;
  body.where = "type info " + std::to_string(index);
  Status named = Name(entry.name_offset, body.where, &t->name);
  if (!named) return named;
  body.where += " (" + std::string(t->name.text) + ")";
  if (block.index_name != entry.index_name) {
    return Corrupt(body.where + ": its block is indexed \"" + block.index_name +
                   "\", the type directory says \"" + entry.index_name + "\"");
  }
  Status help = Help(entry.help, body.where, &t->help);
  if (!help) return help;
  t->has_guid = true;
  t->guid = entry.guid;
  t->hreftype = uint32_t(index) * 4;

  const ByteReader& b = block.bytes;
  ByteReader header, member_header, tail;
  uint16_t magic = 0;
  uint32_t refs = 0, members = 0, size = 0;
  uint8_t flags_low = 0, flags_high = 0, kind = 0;
  if (!b.Slice(0, kTypeHeaderSize, &header) || !header.U16At(0x00, &magic) ||
      !header.U32At(0x02, &refs) || !header.U32At(0x0A, &members) ||
      !header.U8At(0x1A, &flags_low) || !header.U8At(0x1B, &flags_high) ||
      !header.U8At(0x1D, &kind)) {
    return Corrupt(body.where + ": its block at " + Hex(int64_t(block.offset)) + " holds " +
                   Hex(int64_t(b.size())) + " bytes, less than a type info header");
  }
  if (magic != kTypeHeaderMagic) {
    return Corrupt(body.where + ": header at " + Hex(int64_t(block.offset)) + " has magic " +
                   Hex(magic) + ", expected " + Hex(kTypeHeaderMagic));
  }
  if (kind > kTypeKindUnion) {
    return Corrupt(body.where + ": type kind " + std::to_string(kind) + " is not a TYPEKIND");
  }
  if (!b.Slice(members, kMemberHeaderSize, &member_header) || !member_header.U32At(5, &size)) {
    return Corrupt(body.where + ": member header offset " + Hex(members) +
                   " is past its block (size " + Hex(int64_t(b.size())) + ")");
  }
  const size_t data = members + kMemberHeaderSize;
  uint16_t func_count = 0, var_count = 0, funcs_at = 0, vars_at = 0, impls_at = 0, alias = 0,
           simple_alias = 0, instance_size = 0, alignment = 0, vtable_size = 0;
  if (!b.Slice(data, size, &body.data) || !b.Slice(data + size, kTailSize, &tail) ||
      !tail.U16At(0x00, &func_count) || !tail.U16At(0x02, &var_count) ||
      !tail.U16At(0x08, &funcs_at) || !tail.U16At(0x0A, &vars_at) || !tail.U16At(0x0C, &impls_at) ||
      !tail.U16At(0x14, &alias) || !tail.U16At(0x1C, &simple_alias) ||
      !tail.U16At(0x20, &instance_size) || !tail.U16At(0x22, &alignment) ||
      !tail.U16At(0x28, &vtable_size)) {
    return Corrupt(body.where + ": member data of " + Hex(size) + " bytes at " +
                   Hex(int64_t(data)) + " and its tail do not fit its block (size " +
                   Hex(int64_t(b.size())) + ")");
  }
  body.start = block.offset + data;

  if (refs != 0xFFFFFFFFu) {
    Status read = ParseRefTable(block, refs, &body);
    if (!read) return read;
  }

  const uint16_t type_flags = uint16_t((flags_low >> 3) | (flags_high << 5));
  const bool dual =
      (type_flags & kTypeFlagDual) && (kind == kTypeKindInterface || kind == kTypeKindDispatch);
  // A dual interface is listed as a dispinterface, as MSFT libraries store it.
  t->type_kind = dual ? int32_t(kTypeKindDispatch) : int32_t(kind);
  t->type_flags = type_flags;
  t->instance_size = instance_size;
  t->alignment = alignment;

  const bool has_funcs =
      kind == kTypeKindInterface || kind == kTypeKindDispatch || kind == kTypeKindModule;
  const bool has_vars =
      kind != kTypeKindInterface && kind != kTypeKindCoclass && kind != kTypeKindAlias;
  const bool has_impls =
      kind == kTypeKindInterface || kind == kTypeKindDispatch || kind == kTypeKindCoclass;
  if (has_impls) {
    uint16_t first = 0;
    size_t at = impls_at;
    if (at == kNone && body.data.U16At(0, &first) && first == kImplMagic) at = 0;
    if (at != kNone) {
      Status read = ParseImpls(body, at, t);
      if (!read) return read;
    }
  }
  if (has_funcs && func_count > 0) {
    if (funcs_at == kNone) return Corrupt(body.where + ": functions but no offset for them");
    Status read = ParseFunctions(body, funcs_at, func_count, t);
    if (!read) return read;
  }
  if (has_vars && var_count > 0) {
    if (vars_at == kNone) return Corrupt(body.where + ": variables but no offset for them");
    Status read = ParseVariables(body, vars_at, var_count, t);
    if (!read) return read;
  }
  if (kind == kTypeKindAlias) {
    // A simple alias names a base type by its VT alone.
    t->has_alias = true;
    t->alias_type = DataType(0x80000000u | (alias & 0x0FFFu));
    if (simple_alias == 0) {
      Status read = ReadType(body, alias, body.where + " aliased type", &t->alias_type);
      if (!read) return read;
    }
  }

  t->func_count = uint16_t(t->funcs.size());
  t->var_count = uint16_t(t->vars.size());
  t->impl_type_count = uint16_t(t->impls.size());
  t->has_impls = !t->impls.empty();
  if (t->type_kind == kTypeKindDispatch && !dual) {
    // A dispinterface shows IDispatch as its one base and counts its own
    // functions only.
    t->impls.clear();
    t->has_impls = false;
    t->impl_type_count = 1;
    t->vtable_size = uint16_t(t->funcs.size() * 4);
  } else {
    // The vtable holds every function's slot, whatever the tail says.
    uint32_t slots = vtable_size;
    for (const FuncRecord& f : t->funcs) {
      if (f.func_kind != kFuncDispatch) {
        slots = std::max<uint32_t>(slots, uint32_t(uint16_t(f.vtable_offset) & ~1u) + 4);
      }
    }
    t->vtable_size = uint16_t(std::min<uint32_t>(slots, 0xFFFC));
  }
  return Status();
}

// Reference table: 0xDF, 0x43 bytes of unknown use, the byte count u32 at
// 0x44 (8 per reference), that many bytes and 7 more of unknown use, then a
// text (length u16, the characters) per reference and a closing 0xDF. A text
// reads "*\R<hex>*#<hex>": the first number is 0xFFFF for this library, else
// the name table offset of the imported library's description; the second
// is the type info's index in its library.
Status SltgParser::ParseRefTable(const Block& block, uint32_t at, Body* body) {
  ByteReader r = block.bytes;
  const size_t block_end = block.offset + r.size();
  const std::string where = body->where + " reference table at " + Hex(int64_t(block.offset + at));
  uint8_t magic = 0;
  uint32_t bytes = 0;
  if (!r.Seek(at) || !r.ReadU8(&magic)) {
    return Corrupt(body->where + ": reference table offset " + Hex(at) +
                   " is past its block (size " + Hex(int64_t(r.size())) + ")");
  }
  if (magic != kRefTableMagic) {
    return Corrupt(where + ": magic " + Hex(magic) + ", expected " + Hex(kRefTableMagic));
  }
  if (!r.Skip(0x43) || !r.ReadU32LE(&bytes) || bytes % 8 != 0 || !r.Skip(bytes) || !r.Skip(7)) {
    return Corrupt(where + ": " + Hex(bytes) + " bytes of references do not fit its block (end " +
                   Hex(int64_t(block_end)) + ")");
  }
  body->refs.resize(bytes / 8);
  for (size_t i = 0; i < body->refs.size(); ++i) {
    uint16_t length = 0;
    ByteReader chars;
    if (!r.ReadU16LE(&length) || !r.ReadSlice(length, &chars)) {
      return Corrupt(where + ": reference " + std::to_string(i) + " runs past its block (end " +
                     Hex(int64_t(block_end)) + ")");
    }
    std::string text(reinterpret_cast<const char*>(chars.data()), chars.size());
    Status resolved = ResolveRef(text, *body, &body->refs[i]);
    if (!resolved) return resolved;
  }
  return Status();
}

Status SltgParser::ResolveRef(const std::string& text, const Body& body, uint32_t* href) {
  uint32_t library = 0, index = 0;
  if (!ParseRefText(text, &library, &index)) {
    return Corrupt(body.where + ": reference \"" + text + "\" is not of the form *\\R<x>*#<n>");
  }
  if (library == 0xFFFF) {
    if (index >= entries_.size()) {
      return Corrupt(body.where + ": reference \"" + text + "\" names type info " +
                     std::to_string(index) + " of " + std::to_string(entries_.size()));
    }
    *href = index * 4;
    return Status();
  }
  if (library > 0xFFFF) {
    return Corrupt(body.where + ": reference \"" + text + "\" names library " + Hex(library));
  }
  size_t file = 0;
  Status imported = ImportOf(uint16_t(library), body.where, &file);
  if (!imported) return imported;
  auto key = std::make_pair(file, index);
  auto known = import_hrefs_.find(key);
  if (known != import_hrefs_.end()) {
    *href = known->second;
    return Status();
  }
  ImportRef ref;
  ref.valid = true;
  ref.file_index = file;
  ref.index = int32_t(index);
  uint32_t slot = uint32_t(out_.import_refs.size()) * 4;
  out_.import_refs.emplace(slot, ref);
  *href = slot | 1;
  import_hrefs_.emplace(key, *href);
  if (out_.dispatch_href == 0xFFFFFFFFu && IsDispatchImport(file, index)) {
    out_.dispatch_href = *href;
  }
  return Status();
}

// An imported library's description in the name table:
// "*\G{<GUID>}#<major>.<minor>#<lcid>#<path>#", numbers in hexadecimal.
Status SltgParser::ImportOf(uint16_t offset, const std::string& where, size_t* file_index) {
  auto known = imports_by_offset_.find(offset);
  if (known != imports_by_offset_.end()) {
    *file_index = known->second;
    return Status();
  }
  TableText name;
  Status read = Name(offset, where + " imported library", &name);
  if (!read) return read;
  const std::string s(name.text);
  ImportFile f;
  f.offset = offset;
  size_t dot = s.find('.', 42), hash2 = s.find('#', 42);
  size_t hash3 = hash2 == std::string::npos ? hash2 : s.find('#', hash2 + 1);
  uint32_t major = 0, minor = 0;
  bool ok = s.compare(0, 4, "*\\G{") == 0 && ParseGuidText(s, 4, &f.guid) &&
            s.compare(40, 2, "}#") == 0 && dot < hash2 && hash3 != std::string::npos &&
            s.size() > hash3 + 1 && s.back() == '#' && ParseHex(s, 42, dot, &major) &&
            ParseHex(s, dot + 1, hash2, &minor) && ParseHex(s, hash2 + 1, hash3, &f.lcid) &&
            major <= 0xFFFF && minor <= 0xFFFF;
  if (!ok) {
    return Corrupt(where + ": imported library \"" + s +
                   "\" is not of the form *\\G{guid}#major.minor#lcid#path#");
  }
  f.has_guid = true;
  f.major = uint16_t(major);
  f.minor = uint16_t(minor);
  f.name = s.substr(hash3 + 1, s.size() - hash3 - 2);
  out_.import_files.push_back(std::move(f));
  *file_index = out_.import_files.size() - 1;
  imports_by_offset_.emplace(offset, *file_index);
  return Status();
}

// "<what> at <at> is past the member data (size <n>)".
Error SltgParser::PastData(const Body& body, const std::string& what, size_t at) const {
  return Corrupt(what + " at " + Hex(int64_t(at)) + " is past the member data (size " +
                 Hex(int64_t(body.data.size())) + ")");
}

// Records are chained by offsets that must lead forwards, so a chain ends.
Status SltgParser::Follow(uint16_t next, size_t expected, const std::string& where,
                          size_t* at) const {
  if (next == kNone || next <= *at) {
    return Corrupt(where + ": next record " + Hex(next) + " does not follow it (" +
                   std::to_string(expected) + " records expected)");
  }
  *at = next;
  return Status();
}

// Implemented interface record (0x16 bytes): magic 0x004A u16, next u16
// (from the member data's start; 0xFFFF ends), u16, IMPLTYPEFLAGS u8, u8,
// u16, the reference's number in the type's reference table u16, then five
// u16 of unknown use.
Status SltgParser::ParseImpls(const Body& body, size_t at, TypeInfoRecord* t) {
  for (size_t i = 0;; ++i) {
    const std::string where = body.where + " implemented interface " + std::to_string(i);
    ByteReader record;
    uint16_t magic = 0, next = 0, ref = 0;
    uint8_t flags = 0;
    if (!body.data.Slice(at, kImplSize, &record) || !record.U16At(0, &magic) ||
        !record.U16At(2, &next) || !record.U8At(6, &flags) || !record.U16At(10, &ref)) {
      return PastData(body, where + ": record", at);
    }
    if (magic != kImplMagic) {
      return Corrupt(where + ": magic " + Hex(magic) + ", expected " + Hex(kImplMagic));
    }
    if (ref >= body.refs.size()) {
      return Corrupt(where + ": reference " + std::to_string(ref) + " is past the type's " +
                     std::to_string(body.refs.size()) + " references");
    }
    t->impls.push_back({body.refs[ref], flags});
    if (next == kNone) return Status();
    if (t->impls.size() == 0xFFFF) return Corrupt(where + ": more than 65535 of them");
    Status chained = Follow(next, t->impls.size() + 1, where, &at);
    if (!chained) return chained;
  }
}

// Function record (0x16 bytes, 0x18 when bit 0x20 of the magic is set):
//   0x00 magic u8: 0x4C pure virtual, 0xCB dispatch, 0x8B static, plus 0x20
//   when the function flags are present   0x01 u8: the invoke kind in the
//   high nibble   0x02 next record u16 (from the member data's start; 0xFFFF
//   ends)   0x04 name u16   0x06 member id u32   0x0A help context u16
//   0x0C help string u16 (offset of its coded bits; 0xFFFF for none)
//   0x0E parameters u16 (offset)   0x10 u8: calling convention in bits 0-2,
//   the parameter count above   0x11 u8: 0x80 when the return type is the
//   word at 0x12 itself (else that word is its offset), the optional
//   parameter count in bits 1-6   0x12 return type u16   0x14 vtable
//   offset u16   0x16 function flags u16.
// Parameters, one after the other: a name word (a name table offset, 0xFFFE
// for no name; bit 0 set when the type follows at once rather than its
// offset), then the type or its offset u16.
Status SltgParser::ParseFunctions(const Body& body, size_t at, size_t count, TypeInfoRecord* t) {
  t->funcs.resize(count);
  std::vector<std::pair<size_t, size_t>> param_runs;  // per function: first, count
  param_runs.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    FuncRecord& f = t->funcs[i];
    const std::string where = body.where + " function " + std::to_string(i);
    ByteReader record;
    uint8_t magic = 0, invoke = 0, nacc = 0, retnextopt = 0;
    uint16_t next = 0, name = 0, help = 0, args = 0, ret = 0, vtable = 0;
    uint32_t id = 0;
    if (!body.data.Slice(at, 0x16, &record) || !record.U8At(0, &magic) ||
        !record.U8At(1, &invoke) || !record.U16At(2, &next) || !record.U16At(4, &name) ||
        !record.U32At(6, &id) || !record.U16At(0x0C, &help) || !record.U16At(0x0E, &args) ||
        !record.U8At(0x10, &nacc) || !record.U8At(0x11, &retnextopt) || !record.U16At(0x12, &ret) ||
        !record.U16At(0x14, &vtable)) {
      return PastData(body, where + ": record", at);
    }
    switch (magic & ~0x20) {
      case 0x4C:
        f.func_kind = kFuncPureVirtual;
        break;
      case 0xCB:
        f.func_kind = kFuncDispatch;
        break;
      case 0x8B:
        f.func_kind = kFuncStatic;
        break;
      default:
        return Corrupt(where + ": record at " + Hex(int64_t(at)) + " has magic " + Hex(magic) +
                       ", expected 0x4c, 0xcb or 0x8b");
    }
    f.member_id = int32_t(id);
    f.invoke_kind = invoke >> 4;
    f.vtable_offset = int16_t(vtable);
    Status read = Name(name, where, &f.name);
    if (read) read = MemberHelp(body, help, where, &f.help);
    if (read) {
      read = (retnextopt & 0x80) ? ReadType(body, at + 0x12, where + " return type", &f.return_type)
                                 : ReadType(body, ret, where + " return type", &f.return_type);
    }
    if (!read) return read;
    const size_t params = nacc >> 3, optional = (retnextopt & 0x7E) >> 1;
    if (params > 0 && args == kNone) {
      return Corrupt(where + ": " + std::to_string(params) + " parameters but no offset for them");
    }
    param_runs.emplace_back(t->params.size(), params);
    size_t p = args;
    for (size_t j = 0; j < params; ++j) {
      ParamRecord& param = t->params.emplace_back();
      const std::string pwhere = where + " parameter " + std::to_string(j);
      uint16_t word = 0, type_at = 0, first = 0;
      if (!body.data.U16At(p, &word) || !body.data.U16At(p + 2, &type_at)) {
        return PastData(body, pwhere + ":", p);
      }
      if ((word & ~1) != 0xFFFE) {
        Status named = Name(uint16_t(word & ~1), pwhere, &param.name);
        if (!named) return named;
      }
      // The first word of the type carries the parameter's flags.
      size_t type_start = (word & 1) ? p + 2 : type_at;
      if (!body.data.U16At(type_start, &first)) {
        return PastData(body, pwhere + ": type description", type_start);
      }
      size_t end = 0;
      Status typed = ReadType(body, type_start, pwhere, &param.type, &end);
      if (!typed) return typed;
      param.flags = ParamFlagsOf(first);
      if (params - j <= optional) param.flags |= kParamFlagOptional;
      p = (word & 1) ? end : p + 4;
    }
    if (i + 1 == count) break;
    Status chained = Follow(next, count, where, &at);
    if (!chained) return chained;
  }
  // The runs point into t->params only now that it is complete.
  for (size_t i = 0; i < param_runs.size(); ++i) {
    t->funcs[i].params = ParamSpan(t->params.data() + param_runs[i].first, param_runs[i].second);
  }
  return Status();
}

// Variable record (0x12 bytes, 0x14 when the magic is 0x2A): 0x00 magic u8
//   (0x0A, or 0x2A with variable flags)   0x01 flags u8: 0x02 the type is
//   the word at 0x08 itself (else its offset), 0x08 a constant's value is
//   the word at 0x06 itself (else its offset), 0x10 a constant, 0x40 a
//   dispatch property   0x02 next u16   0x04 name u16 (0xFFFE: the previous
//   variable's name)   0x06 offset in the instance, a constant's value or
//   its offset   0x08 type u16   0x0A member id u32   0x0E help context u16
//   0x10 help string u16   0x12 variable flags u16.
Status SltgParser::ParseVariables(const Body& body, size_t at, size_t count, TypeInfoRecord* t) {
  t->vars.resize(count);
  for (size_t i = 0; i < count; ++i) {
    VarRecord& v = t->vars[i];
    const std::string where = body.where + " variable " + std::to_string(i);
    ByteReader record;
    uint8_t magic = 0, flags = 0;
    uint16_t next = 0, name = 0, value = 0, type = 0, help = 0;
    uint32_t id = 0;
    if (!body.data.Slice(at, 0x12, &record) || !record.U8At(0, &magic) || !record.U8At(1, &flags) ||
        !record.U16At(2, &next) || !record.U16At(4, &name) || !record.U16At(6, &value) ||
        !record.U16At(8, &type) || !record.U32At(0x0A, &id) || !record.U16At(0x10, &help)) {
      return PastData(body, where + ": record", at);
    }
    if (magic != 0x0A && magic != 0x2A) {
      return Corrupt(where + ": record at " + Hex(int64_t(at)) + " has magic " + Hex(magic) +
                     ", expected 0xa or 0x2a");
    }
    v.member_id = int32_t(id);
    v.var_kind = (flags & 0x40) ? kVarDispatch : (flags & 0x10) ? kVarConst : kVarPerInstance;
    Status read = name == 0xFFFE && i > 0 ? Status() : Name(name, where, &v.name);
    if (name == 0xFFFE && i > 0) v.name = t->vars[i - 1].name;
    if (v.var_kind == kVarPerInstance) v.instance_offset = value;
    if (read) read = MemberHelp(body, help, where, &v.help);
    if (read) {
      read = ReadType(body, (flags & 0x02) ? at + 8 : type, where + " type", &v.type);
    }
    if (read && v.var_kind == kVarConst)
      read = ParseConstant(body, where, flags, value, v.type, &v.value);
    if (!read) return read;
    if (i + 1 == count) break;
    Status chained = Follow(next, count, where, &at);
    if (!chained) return chained;
  }
  return Status();
}

// A constant's value, when not the record's word itself, lies at its offset
// in the member data, as many bytes as its type takes; a string is a length
// u16 (0xFFFF for a null string) and the characters.
Status SltgParser::ParseConstant(const Body& body, const std::string& where, uint8_t flags,
                                 uint16_t value_field, DataType type, Variant* out) const {
  *out = Variant();
  const uint16_t vt = type < 0 ? uint16_t(type) & 0x0FFF : kVtInt;
  if (flags & 0x08) {
    out->vt = IsInteger(vt) ? vt : kVtInt;
    out->SetInt64(int16_t(value_field));
  } else if (vt == kVtBstr || vt == 30 || vt == 31) {  // VT_BSTR, VT_LPSTR, VT_LPWSTR
    out->vt = kVtBstr;
    uint16_t length = 0;
    ByteReader text;
    if (!body.data.U16At(value_field, &length) ||
        (length != 0xFFFF && !body.data.Slice(size_t(value_field) + 2, length, &text))) {
      return Corrupt(where + ": string constant at " + Hex(value_field) +
                     " runs past the member data (size " + Hex(int64_t(body.data.size())) + ")");
    }
    if (length != 0xFFFF) {
      const char* chars = reinterpret_cast<const char*>(text.data());
      out->has_text = true;
      out->text.assign(chars, strnlen(chars, text.size()));
    }
    return Status();
  } else {
    out->vt = vt;
    const size_t size = ConstantSize(vt);
    if (size == 0) return Status();  // a value not read: VT only
    ByteReader bytes;
    if (!body.data.Slice(value_field, size, &bytes)) {
      return Corrupt(where + ": constant at " + Hex(value_field) +
                     " runs past the member data (size " + Hex(int64_t(body.data.size())) + ")");
    }
    std::memcpy(out->value, bytes.data(), size);
    if (IsSigned(vt) && size < 8 && (out->value[size - 1] & 0x80)) {
      for (size_t k = size; k < 8; ++k) out->value[k] = 0xFF;
    }
  }
  // Only the bytes of the value's own size carry meaning.
  const size_t keep = ConstantSize(out->vt);
  for (size_t k = keep; k < 8 && keep != 0; ++k) out->value[k] = 0;
  return Status();
}

Status SltgParser::MemberHelp(const Body& body, uint16_t offset, const std::string& where,
                              TableText* out) {
  *out = TableText();
  if (offset == kNone) return Status();
  ByteReader bits;  // the bits run on to the end of the member data at most
  if (offset >= body.data.size() || !body.data.Slice(offset, body.data.size() - offset, &bits)) {
    return Corrupt(where + ": help string offset " + Hex(offset) +
                   " is past the member data (size " + Hex(int64_t(body.data.size())) + ")");
  }
  Status read = Help(bits, where, out);
  if (read) out->present = true;
  return read;
}

Status SltgParser::ReadType(const Body& body, size_t at, const std::string& where, DataType* out,
                            size_t* end) {
  size_t ignored = 0;
  return ReadTypeWord(body, at, false, where, 0, out, end == nullptr ? &ignored : end);
}

// A type description is a sequence of u16 words. In each, bits 0-5 are a VT
// and the bits 9-11 all set mean a pointer to what the word describes;
// 0x80, 0x2000 and 0x4000/0x8000 are parameter flags. VT_PTR: the pointee
// follows. VT_SAFEARRAY: a u16 of unknown use, then the element type.
// VT_CARRAY: the offset u16 of a SAFEARRAY descriptor (cDims u16, fFeatures
// u16, cbElements, cLocks, pvData u32, then cElements and lLbound u32 per
// dimension), then the element type. VT_USERDEFINED: four times the
// reference's number in the type's reference table, u16.
Status SltgParser::ReadTypeWord(const Body& body, size_t at, bool implicit_done,
                                const std::string& where, int depth, DataType* out, size_t* end) {
  if (depth > kMaxTypeDepth) {
    return Corrupt(where + ": type description at " + Hex(int64_t(at)) + " nests more than " +
                   std::to_string(kMaxTypeDepth) + " levels");
  }
  const uint64_t key = (uint64_t(body.start) + at) * 2 + (implicit_done ? 1 : 0);
  auto cached = type_cache_.find(key);
  if (cached != type_cache_.end()) {
    *out = cached->second.first;
    *end = cached->second.second;
    return Status();
  }
  uint16_t word = 0;
  if (!body.data.U16At(at, &word)) return PastData(body, where + ": type description", at);
  TypeDescEntry entry;
  Status read;
  const uint16_t vt = word & 0x3F;
  if (!implicit_done && (word & 0x0E00) == 0x0E00) {
    entry.vt = kVtPtr;
    entry.has_inner = true;
    read = ReadTypeWord(body, at, true, where, depth + 1, &entry.inner, end);
  } else if (vt == kVtPtr) {
    entry.vt = kVtPtr;
    entry.has_inner = true;
    read = ReadTypeWord(body, at + 2, false, where, depth + 1, &entry.inner, end);
  } else if (vt == kVtSafeArray) {
    entry.vt = kVtSafeArray;
    entry.has_inner = true;
    read = ReadTypeWord(body, at + 4, false, where, depth + 1, &entry.inner, end);
  } else if (vt == kVtCArray) {
    uint16_t descriptor = 0, dims = 0;
    ByteReader bounds;
    if (!body.data.U16At(at + 2, &descriptor) || !body.data.U16At(descriptor, &dims) ||
        !body.data.Slice(size_t(descriptor) + 16, size_t(dims) * 8, &bounds)) {
      return Corrupt(where + ": array descriptor of the type at " + Hex(int64_t(at)) +
                     " runs past the member data (size " + Hex(int64_t(body.data.size())) + ")");
    }
    if (dims > kMaxArrayDims) {
      return Corrupt(where + ": array of " + std::to_string(dims) + " dimensions at " +
                     Hex(int64_t(at)) + " (at most " + std::to_string(kMaxArrayDims) +
                     " are read)");
    }
    entry.vt = kVtCArray;
    entry.has_inner = true;
    for (size_t d = 0; d < dims; ++d) {
      uint32_t elements = 0;
      int32_t lower = 0;
      if (!bounds.ReadU32LE(&elements) || !bounds.ReadI32LE(&lower)) {
        return PastData(body, where + ": array bound " + std::to_string(d), descriptor);
      }
      entry.bounds.push_back({lower, int32_t(uint32_t(lower) + elements - 1)});
    }
    read = ReadTypeWord(body, at + 4, false, where, depth + 1, &entry.inner, end);
  } else if (vt == kVtUserDefined) {
    uint16_t ref = 0;
    if (!body.data.U16At(at + 2, &ref)) {
      return Corrupt(where + ": type reference at " + Hex(int64_t(at + 2)) +
                     " is past the member data");
    }
    if (ref / 4 >= body.refs.size()) {
      return Corrupt(where + ": type reference " + Hex(ref) + " is past the type's " +
                     std::to_string(body.refs.size()) + " references");
    }
    entry.vt = kVtUserDefined;
    entry.href = body.refs[ref / 4];
    *end = at + 4;
  } else {
    *out = DataType(0x80000000u | vt);
    *end = at + 2;
    type_cache_.emplace(key, std::make_pair(*out, *end));
    return Status();
  }
  if (!read) return read;
  if (out_.type_descs.size() >= kMaxTypeDescs) {
    return Corrupt(where + ": more than " + std::to_string(kMaxTypeDescs) + " type descriptions");
  }
  out_.type_descs.push_back(std::move(entry));
  *out = DataType((out_.type_descs.size() - 1) * 8);
  type_cache_.emplace(key, std::make_pair(*out, *end));
  return Status();
}

}  // namespace velbrook::typeinfo::msft
