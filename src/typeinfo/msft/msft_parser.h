// The MSFT decoder's working state, shared by its two source files.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "typeinfo/msft/byte_reader.h"
#include "typeinfo/msft/msft_file.h"
#include "typeinfo/type_mapping.h"

namespace velbrook::typeinfo::msft {

class MsftParser {
 public:
  MsftParser(const uint8_t* data, size_t size) : file_(data, size) {}
  Result<MsftFile> Run();

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

  Error Corrupt(const std::string& message) const;
  bool SegmentHas(int index, int64_t rel, int64_t len) const;
  Status ParseHeader();
  Status ParseNames();
  Status ParseStrings();
  Status ParseTypeDescs();
  Status ParseImports();
  Status ParseTypeInfos();
  Status ParseTypeInfo(int index, TypeInfoRecord* out);
  Status ParseMembers(int index, int64_t block, TypeInfoRecord* out);
  Status ReadValue(int32_t offset, Variant* out, const std::string& where) const;
  TableText Name(int32_t offset) const;
  TableText String(int32_t offset) const;
  bool GuidAt(int32_t offset, Guid* out) const;
  bool ValidDataType(DataType type) const;

  ByteReader file_;
  Segment segments_[kSegmentCount];
  std::unordered_map<int32_t, std::string> names_;
  std::unordered_map<int32_t, std::string> strings_;
  // Reference table records already taken by a coclass's chain.
  std::unordered_set<int32_t> used_refs_;
  int32_t type_count_ = 0;
  int32_t lib_guid_offset_ = -1;
  int32_t lib_name_offset_ = -1;
  int32_t lib_help_offset_ = -1;
  MsftFile out_;
};

}  // namespace velbrook::typeinfo::msft
