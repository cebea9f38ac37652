// The SLTG decoder's working state, shared by its source files. It decodes an
// SLTG library into the same MsftFile form the MSFT decoder produces, so one
// library model presents both formats.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "typeinfo/msft/byte_reader.h"
#include "typeinfo/msft/msft_file.h"
#include "typeinfo/msft/sltg_help.h"

namespace velbrook::typeinfo::msft {

class SltgParser {
 public:
  SltgParser(const uint8_t* data, size_t size) : file_(data, size) {}
  Result<MsftFile> Run();

 private:
  struct Block {
    size_t offset = 0;
    ByteReader bytes;
    std::string index_name;  // from the directory's index strings
  };
  // One entry of the library block's type directory.
  struct TypeEntry {
    std::string index_name;
    uint16_t name_offset = 0;
    ByteReader help;  // the coded help string's bytes
    Guid guid{};
  };
  // The member data of one type info and what reading it needs.
  struct Body {
    size_t index = 0;
    std::string where;
    size_t start = 0;            // file offset of the member data
    ByteReader data;             // the member data; type offsets are relative to it
    std::vector<uint32_t> refs;  // the type's references, as HREFTYPEs
  };

  Error Corrupt(const std::string& message) const;
  Status ParseDirectory();
  Status ParseLibraryBlock();
  Status ParseTypeDirectory(ByteReader* lib);
  Status ParseNameTable(size_t at);
  Status ReadLibraryText(ByteReader* lib, TableText* out, const char* what);
  Status Name(uint16_t offset, const std::string& where, TableText* out) const;
  Status Help(const ByteReader& bits, const std::string& where, TableText* out);

  // sltg_types.cpp: type info blocks and their members.
  Status ParseTypeInfos();
  Status ParseTypeInfo(size_t index, TypeInfoRecord* out);
  Status ParseRefTable(const Block& block, uint32_t at, Body* body);
  Status ResolveRef(const std::string& text, const Body& body, uint32_t* href);
  Status ImportOf(uint16_t offset, const std::string& where, size_t* file_index);
  Error PastData(const Body& body, const std::string& what, size_t at) const;
  Status Follow(uint16_t next, size_t expected, const std::string& where, size_t* at) const;
  Status ParseImpls(const Body& body, size_t at, TypeInfoRecord* out);
  Status ParseFunctions(const Body& body, size_t at, size_t count, TypeInfoRecord* out);
  Status ParseVariables(const Body& body, size_t at, size_t count, TypeInfoRecord* out);
  Status ParseConstant(const Body& body, const std::string& where, uint8_t flags,
                       uint16_t value_field, DataType type, Variant* out) const;
  Status ReadType(const Body& body, size_t at, const std::string& where, DataType* out,
                  size_t* end = nullptr);
  Status ReadTypeWord(const Body& body, size_t at, bool implicit_done, const std::string& where,
                      int depth, DataType* out, size_t* end);
  Status MemberHelp(const Body& body, uint16_t offset, const std::string& where, TableText* out);
  // True for stdole's IDispatch (type info 4 of the standard OLE library).
  bool IsDispatchImport(size_t file_index, uint32_t type_index) const;
  void SetDispatchReference();

  ByteReader file_;
  std::vector<Block> blocks_;  // in file order; the library block is last
  size_t library_ = 0;         // file offset of the library block
  std::vector<TypeEntry> entries_;
  ByteReader names_;  // the name table; names lie 8 bytes past their offsets
  SltgHelpTable help_table_;
  std::unordered_map<size_t, TableText> help_cache_;
  uint64_t help_budget_ = 0;
  std::map<uint16_t, size_t> imports_by_offset_;  // name table offset -> import file
  std::map<std::pair<size_t, uint32_t>, uint32_t> import_hrefs_;  // (file, index) -> href
  // Decoded type descriptions and where they end, by (file offset * 2 + 1
  // when a word's own pointer flag is already taken).
  std::unordered_map<uint64_t, std::pair<DataType, size_t>> type_cache_;
  MsftFile out_;
};

}  // namespace velbrook::typeinfo::msft
