// The MSFT decoder's working state, shared by its two source files. It opens
// a library (header, tables, type info records) and stays with the library as
// its LazyDecoder, decoding member blocks and TYPEDESC entries when asked.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "typeinfo/msft/byte_reader.h"
#include "typeinfo/msft/msft_file.h"
#include "typeinfo/type_mapping.h"

namespace velbrook::typeinfo::msft {

class MsftParser : public LazyDecoder {
 public:
  MsftParser(const uint8_t* data, size_t size) : file_(data, size) {}
  // Opens the library; `self` is this parser, handed to the result as its
  // LazyDecoder.
  static Result<MsftFile> Open(std::unique_ptr<MsftParser> self);

  Status DecodeMembers(size_t index, MsftFile* file) override;
  Status DecodeAllTypeDescs(MsftFile* file) override;

 private:
  enum SegmentIndex {
    kSegTypeInfo = 0,
    kSegImpInfo,
    kSegImpFiles,
    kSegRef,
    kSegGuidHash,
    kSegGuid,
    kSegNameHash,
    kSegName,
    kSegString,
    kSegTypeDesc,
    kSegArrayDesc,
    kSegCustData,
    kSegCdGuids,
    kSegRes0e,
    kSegRes0f,
    kSegmentCount
  };
  struct Segment {
    bool present = false;
    int64_t offset = 0;
    int64_t length = 0;
  };

  // The state of a TYPEDESC entry's chain (the entry and the ones it leads to).
  enum ChainState : uint8_t { kChainUnknown, kChainOnPath, kChainGood, kChainBad };

  Error Corrupt(const std::string& message) const;
  bool SegmentHas(int index, int64_t rel, int64_t len) const;
  Status ParseHeader();
  Status IndexNames();
  Status IndexStrings();
  Status ParseImports();
  Status ParseTypeInfos();
  Status ParseTypeInfo(int index, TypeInfoRecord* out);
  Status ParseMembers(int index, MsftFile* file);
  Status ReadValue(int32_t offset, Variant* out, const std::string& where) const;
  TableText Name(int32_t offset) const;
  TableText String(int32_t offset) const;
  bool GuidAt(int32_t offset, Guid* out) const;
  // A data type names a base type, or a TYPEDESC entry whose chain is sound;
  // the entries of the chain are decoded into file->type_descs on the way.
  // False with what is wrong in `problem` otherwise.
  bool CheckDataType(DataType type, MsftFile* file, std::string* problem);
  bool DecodeChain(size_t start, MsftFile* file, std::string* problem);
  bool DecodeTypeDesc(size_t index, TypeDescEntry* out, std::string* problem) const;

  ByteReader file_;
  Segment segments_[kSegmentCount];
  // Where name and string table entries start, one bit per 4 bytes.
  std::vector<bool> name_starts_;
  std::vector<bool> string_starts_;
  size_t type_desc_count_ = 0;
  std::vector<uint8_t> chain_state_;  // ChainState per TYPEDESC entry
  std::vector<size_t> chain_path_;    // scratch for DecodeChain
  // Reference table records already taken by a coclass's chain.
  std::unordered_set<int32_t> used_refs_;
  int32_t type_count_ = 0;
  int32_t lib_guid_offset_ = -1;
  int32_t lib_name_offset_ = -1;
  int32_t lib_help_offset_ = -1;
  MsftFile out_;
};

}  // namespace velbrook::typeinfo::msft
