// The decoded, validated content of a type library: plain data that the
// library model turns into the component's objects. MSFT libraries are
// decoded into it as stored; SLTG libraries are decoded into the same form,
// with HREFTYPEs of its shape (type info i is i * 4, imported references
// are offsets into import_refs plus 1). Texts are views into the library's
// bytes (or into texts decoded from them), which the MsftFile owns or which
// its caller keeps alive; an MsftFile is therefore moved, never copied.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "typeinfo/component.h"
#include "typeinfo/result.h"
#include "typeinfo/variant.h"

namespace velbrook::typeinfo::msft {

using Guid = std::array<uint8_t, 16>;  // as stored: Data1..3 little-endian

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
std::string GuidToText(const Guid& guid);
// The same 38 characters and a NUL, without allocating.
void GuidToChars(const Guid& guid, char (&out)[39]);

// "0x1f", "-0x3": numbers in decoders' error messages.
std::string Hex(int64_t value);

// A text from the name or string table; absent when the offset named none.
// The view points into the library's bytes or its decoded texts.
struct TableText {
  bool present = false;
  std::string_view text;
};

// A data type reference as the file writes it: negative means a base type
// whose VT is the low 12 bits, otherwise a byte offset into the TYPEDESC
// table (entry offset / 8).
using DataType = int32_t;

struct TypeDescEntry {
  uint16_t vt = 0;         // VT with the flag bits removed
  bool has_inner = false;  // VT_PTR, VT_SAFEARRAY, or VT_CARRAY with bounds
  DataType inner = 0;
  std::vector<ArrayBound> bounds;  // VT_CARRAY
  uint32_t href = 0;               // VT_USERDEFINED
};

struct ParamRecord {
  DataType type = 0;
  TableText name;
  uint16_t flags = 0;
};

// A function's parameters: a run of its type info's `params`, so that a
// type's parameters take one allocation, not one per function.
class ParamSpan {
 public:
  ParamSpan() = default;
  ParamSpan(const ParamRecord* first, size_t count) : first_(first), count_(count) {}
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  const ParamRecord& operator[](size_t index) const { return first_[index]; }
  const ParamRecord* begin() const { return first_; }
  const ParamRecord* end() const { return first_ + count_; }

 private:
  const ParamRecord* first_ = nullptr;
  size_t count_ = 0;
};

struct FuncRecord {
  int32_t member_id = 0;
  TableText name;
  TableText help;
  DataType return_type = 0;
  int16_t vtable_offset = 0;  // bytes, in the library's pointer size
  int32_t func_kind = 0;      // FUNC_*
  int32_t invoke_kind = 0;    // INVOKE_*
  ParamSpan params;
};

struct VarRecord {
  int32_t member_id = 0;
  TableText name;
  TableText help;
  DataType type = 0;
  int16_t var_kind = 0;          // VAR_PERINSTANCE is 0, VAR_CONST is 2
  Variant value;                 // meaningful for VAR_CONST
  int64_t instance_offset = -1;  // oInst of VAR_PERINSTANCE
};

struct ImplRecord {
  uint32_t href = 0;
  int32_t flags = 0;
};

struct TypeInfoRecord {
  int32_t type_kind = 0;  // TKIND_*
  uint16_t type_flags = 0;
  uint16_t func_count = 0;
  uint16_t var_count = 0;
  uint16_t impl_type_count = 0;  // cImplTypes
  uint16_t vtable_size = 0;      // cbSizeVft
  uint32_t instance_size = 0;    // cbSizeInstance
  uint16_t alignment = 0;        // cbAlignment
  bool has_alias = false;        // TKIND_ALIAS: the aliased type below
  DataType alias_type = 0;
  bool has_guid = false;
  Guid guid{};
  TableText name;
  TableText help;
  uint32_t hreftype = 0xFFFFFFFFu;  // from the name table entry
  // Implemented interfaces as the loader keeps them: a coclass has one per
  // cImplTypes (its reference chain), other kinds at most one (datatype1).
  bool has_impls = false;
  std::vector<ImplRecord> impls;
  // Functions and variables; for an MSFT library only once members_decoded
  // (MsftFile::DecodeMembers). A type whose member block is corrupt has none.
  bool members_decoded = false;
  int64_t member_block = -1;  // MSFT: file offset of the member block
  std::vector<FuncRecord> funcs;
  std::vector<VarRecord> vars;
  // Every function's parameters, in order (FuncRecord::params points here).
  std::vector<ParamRecord> params;
};

struct ImportFile {
  uint32_t offset = 0;  // inside the import-file table
  bool has_guid = false;
  Guid guid{};
  uint32_t lcid = 0;
  uint16_t major = 0;
  uint16_t minor = 0;
  std::string name;
};

struct ImportRef {
  bool valid = false;  // its import file exists
  size_t file_index = 0;
  bool by_guid = false;
  bool has_guid = false;
  Guid guid{};
  int32_t index = 0;  // type info index when not by GUID
};

struct MsftFile;

// Decodes what a library leaves for later: an MSFT library's member blocks
// and the TYPEDESC entries they use, so that opening a library and listing
// its types reads neither.
class LazyDecoder {
 public:
  virtual ~LazyDecoder() = default;
  // Fills file->types[index].funcs and vars (and the TYPEDESC entries they
  // name); kCorrupt when the member block is inconsistent.
  virtual Status DecodeMembers(size_t index, MsftFile* file) = 0;
  // Decodes and checks every TYPEDESC entry, used or not.
  virtual Status DecodeAllTypeDescs(MsftFile* file) = 0;
};

struct MsftFile {
  MsftFile() = default;
  MsftFile(MsftFile&&) = default;
  MsftFile& operator=(MsftFile&&) = default;
  MsftFile(const MsftFile&) = delete;
  MsftFile& operator=(const MsftFile&) = delete;

  // Decodes type info `index`'s members once; on a corrupt member block the
  // type keeps none and the error is returned (every later call succeeds).
  Status DecodeMembers(size_t index);

  bool has_guid = false;
  Guid guid{};
  uint16_t major = 0;
  uint16_t minor = 0;
  uint32_t lcid = 0;
  uint32_t set_lcid = 0;
  int32_t sys_kind = 0;
  int32_t pointer_size = 4;
  TableText name;
  TableText help;
  uint32_t dispatch_href = 0xFFFFFFFFu;
  std::vector<TypeInfoRecord> types;
  std::vector<TypeDescEntry> type_descs;
  std::vector<ImportFile> import_files;
  std::unordered_map<uint32_t, ImportRef> import_refs;    // by offset in the table
  std::unordered_map<uint32_t, size_t> type_by_hreftype;  // first type info

  // What the texts point into: the library's bytes, when the decoder was
  // handed them to keep, and texts decoded from them (an SLTG library's help
  // strings). A deque keeps each text where it is as it grows.
  std::vector<uint8_t> bytes;
  std::deque<std::string> decoded_texts;
  // Null once everything is decoded.
  std::unique_ptr<LazyDecoder> lazy;
};

// The parsers below read `data` in place: the result's texts point into it,
// so the bytes must outlive the result (or be moved into its `bytes`, as
// OpenTypeLibrary does).

// Validates and decodes MSFT bytes, every member block included.
// kNotTypeLibrary when they are no type library, kUnsupportedFormat for an
// SLTG library, kCorrupt when the MSFT structure is inconsistent.
Result<MsftFile> ParseMsft(const uint8_t* data, size_t size);

// Validates MSFT bytes and decodes the library's header, tables and type
// info records; member blocks and TYPEDESC entries wait for DecodeMembers.
Result<MsftFile> OpenMsft(const uint8_t* data, size_t size);

// Validates and decodes SLTG bytes. kNotTypeLibrary when they do not start
// like an SLTG library, kCorrupt when its structure is inconsistent.
Result<MsftFile> ParseSltg(const uint8_t* data, size_t size);

// Either format, chosen by the first four bytes ("MSFT" or "SLTG"), decoded
// whole.
Result<MsftFile> ParseTypeLibrary(const uint8_t* data, size_t size);

// Either format, MSFT member blocks left for later; the bytes are kept in
// the result.
Result<MsftFile> OpenTypeLibrary(std::vector<uint8_t> bytes);

}  // namespace velbrook::typeinfo::msft
