// Damaged SLTG libraries built from the good test library, one field per
// case: the reader refuses each with a corrupt-library error that says what
// and where, never crashes, hangs or reads out of bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "sltg_writer.h"
#include "typeinfo/msft/msft_file.h"

namespace velbrook::typeinfo::msft {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t U16(const Bytes& b, size_t at) { return uint32_t(b[at] | b[at + 1] << 8); }
uint32_t U32(const Bytes& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
void SetU16(Bytes* b, size_t at, uint32_t v) {
  (*b)[at] = uint8_t(v);
  (*b)[at + 1] = uint8_t(v >> 8);
}
void SetU32(Bytes* b, size_t at, uint32_t v) {
  SetU16(b, at, v);
  SetU16(b, at + 2, v >> 16);
}
size_t Find(const Bytes& b, const std::string& text, size_t from = 0) {
  const Bytes pattern(text.begin(), text.end());
  auto at = std::search(b.begin() + std::ptrdiff_t(from), b.end(), pattern.begin(), pattern.end());
  EXPECT_NE(at, b.end()) << text;
  return size_t(at - b.begin());
}

// Where the parts of the written library lie, read as the layout is
// documented (the writer chains its blocks in file order).
struct Layout {
  explicit Layout(const Bytes& b) {
    entries = U16(b, 4) - 1;
    index = 0x24 + entries * 8;
    size_t at = index + U16(b, 8) + U16(b, 6);
    for (size_t i = 0; i < entries; ++i) {
      blocks.push_back(at);
      at += U32(b, 0x24 + i * 8);
    }
    library = blocks.back();
    library_end = at;
    names = Find(b, std::string("\xFF\xFF\x01\0\x02\0\0\xFF\xFF\xFF\xFF\xFF", 12)) + 0x210;
    const uint32_t field = uint32_t(names - 0x210 - library);
    for (size_t p = library; p + 4 <= names; ++p) {
      if (U32(b, p) == field) name_table_field = p;
    }
  }
  size_t Members(const Bytes& b, size_t type) const {
    return blocks[type] + U32(b, blocks[type] + 0x0A) + 9;
  }
  size_t entries, index, library, library_end, names, name_table_field = 0;
  std::vector<size_t> blocks;
};

constexpr size_t kBase = 6, kShape = 7;  // IBase and IShape in the test library

struct Damage {
  const char* what;
  std::function<void(Bytes*, const Layout&)> apply;
  ErrorKind kind;
  const char* message;  // a part of the expected message
};

class SltgMalformed : public ::testing::Test {
 protected:
  void SetUp() override {
    good_ = sltg_testing::WriteSltg(sltg_testing::FeaturesLibrary());
    Result<MsftFile> parsed = ParseTypeLibrary(good_.data(), good_.size());
    ASSERT_TRUE(parsed.ok()) << parsed.error().message;
  }
  Bytes good_;
};

TEST_F(SltgMalformed, EachDamageIsRefusedClearly) {
  const Damage cases[] = {
      {"not SLTG", [](Bytes* b, const Layout&) { (*b)[3] = 'F'; }, ErrorKind::kNotTypeLibrary,
       "neither MSFT nor SLTG"},
      {"one block", [](Bytes* b, const Layout&) { SetU16(b, 4, 1); }, ErrorKind::kCorrupt,
       "block count 1 leaves no room"},
      {"too many blocks", [](Bytes* b, const Layout&) { SetU16(b, 4, 0xFFFF); },
       ErrorKind::kCorrupt, "block directory of 65534 entries runs past the end"},
      {"index too small", [](Bytes* b, const Layout&) { SetU16(b, 8, 12); }, ErrorKind::kCorrupt,
       "does not fit"},
      {"index marker", [](Bytes* b, const Layout& l) { (*b)[l.index + 1] = 'X'; },
       ErrorKind::kCorrupt, "CompObj marker"},
      {"padding past the end", [](Bytes* b, const Layout&) { SetU16(b, 6, 0xFFFF); },
       ErrorKind::kCorrupt, "past the end of the file"},
      {"first block past the directory",
       [](Bytes* b, const Layout& l) { SetU16(b, 0x0A, uint32_t(l.entries + 1)); },
       ErrorKind::kCorrupt, "past the 12 entries"},
      {"empty chain", [](Bytes* b, const Layout&) { SetU16(b, 0x0A, 0); }, ErrorKind::kCorrupt,
       "block chain is empty"},
      {"chain loop",
       [](Bytes* b, const Layout& l) { SetU16(b, 0x24 + (l.entries - 1) * 8 + 6, 1); },
       ErrorKind::kCorrupt, "returns to entry 1"},
      {"block past the end",
       [](Bytes* b, const Layout& l) { SetU32(b, 0x24 + (l.entries - 1) * 8, 0x7FFFFFFF); },
       ErrorKind::kCorrupt, "runs past the end of the file"},
      {"block name past the index", [](Bytes* b, const Layout&) { SetU16(b, 0x28, U16(*b, 8)); },
       ErrorKind::kCorrupt, "runs past the index"},
      {"library magic", [](Bytes* b, const Layout& l) { (*b)[l.library] = 0; }, ErrorKind::kCorrupt,
       "expected 0x51cc"},
      {"type count",
       [](Bytes* b, const Layout& l) {
         (*b)[Find(*b, std::string(0x40, '\xFF') + "\x0B", l.library) + 0x40]++;
       },
       ErrorKind::kCorrupt, "type directory lists 12 type infos, the block chain holds 11"},
      {"name table offset before the help tree",
       [](Bytes* b, const Layout& l) { SetU32(b, l.name_table_field, 8); }, ErrorKind::kCorrupt,
       "name table offset 0x8 is outside"},
      {"help tree into the name table",
       [](Bytes* b, const Layout& l) { SetU32(b, l.name_table_field + 6, 0x10000); },
       ErrorKind::kCorrupt, "runs into the name table"},
      {"name table marker", [](Bytes* b, const Layout& l) { SetU16(b, l.names - 0x210, 0x1234); },
       ErrorKind::kCorrupt, "has marker 0x1234, expected 0xffff or 0x200"},
      {"name table size", [](Bytes* b, const Layout& l) { SetU32(b, l.names - 4, 0x7FFFFFFF); },
       ErrorKind::kCorrupt, "runs past the end of the file"},
      {"type name past the name table",
       [](Bytes* b, const Layout& l) {
         SetU16(b, Find(*b, "CAAAAAAAAA", l.library) + 12, U32(*b, l.names - 4) - 8);
       },
       ErrorKind::kCorrupt, "type info 0: name offset 0x"},
      {"type header magic", [](Bytes* b, const Layout& l) { (*b)[l.blocks[0]] = 0; },
       ErrorKind::kCorrupt, "type info 0 (Colour): header at"},
      {"type kind", [](Bytes* b, const Layout& l) { (*b)[l.blocks[0] + 0x1D] = 9; },
       ErrorKind::kCorrupt, "type kind 9 is not a TYPEKIND"},
      {"member header past the block",
       [](Bytes* b, const Layout& l) { SetU32(b, l.blocks[0] + 0x0A, 0x10000); },
       ErrorKind::kCorrupt, "member header offset 0x10000 is past its block"},
      {"member data past the block",
       [](Bytes* b, const Layout& l) { SetU32(b, l.Members(*b, 0) - 4, 0x10000); },
       ErrorKind::kCorrupt, "do not fit its block"},
      {"index names disagree",
       [](Bytes* b, const Layout& l) { (*b)[Find(*b, "BAAAAAAAAA", l.library)] = 'Q'; },
       ErrorKind::kCorrupt, "its block is indexed \"BAAAAAAAAA\", the type directory says"},
      {"help tree branching backwards",
       [](Bytes* b, const Layout& l) { SetU16(b, l.name_table_field + 11, 0); },
       ErrorKind::kCorrupt, "branches backwards"},
      {"function chain going back",
       [](Bytes* b, const Layout& l) { SetU16(b, l.Members(*b, kBase) + 0x16 + 2, 0); },
       ErrorKind::kCorrupt, "type info 6 (IBase) function 0: next record 0x0 does not follow it"},
      {"function magic",
       [](Bytes* b, const Layout& l) { (*b)[l.Members(*b, kBase) + 0x16] = 0x11; },
       ErrorKind::kCorrupt, "expected 0x4c, 0xcb or 0x8b"},
      {"parameters without their offset",
       [](Bytes* b, const Layout& l) { SetU16(b, l.Members(*b, kBase) + 0x16 + 0x0E, 0xFFFF); },
       ErrorKind::kCorrupt, "1 parameters but no offset for them"},
      {"references cut away",
       [](Bytes* b, const Layout& l) { SetU32(b, l.blocks[kShape] + 0x22 + 0x44, 0); },
       ErrorKind::kCorrupt, "type info 7 (IShape) implemented interface 0: reference 0 is past"},
      {"reference text",
       [](Bytes* b, const Layout& l) { (*b)[Find(*b, "*\\R", l.blocks[kShape]) + 2] = 'X'; },
       ErrorKind::kCorrupt, "is not of the form"},
      {"imported library description",
       [](Bytes* b, const Layout& l) { (*b)[Find(*b, "*\\G{", l.names) + 2] = 'H'; },
       ErrorKind::kCorrupt, "imported library \"*\\H{"},
      {"cut inside the library block",
       [](Bytes* b, const Layout& l) { b->resize(l.library_end - 1); }, ErrorKind::kCorrupt,
       "runs past the end of the file"},
  };
  for (const Damage& c : cases) {
    Bytes bad = good_;
    c.apply(&bad, Layout(good_));
    Result<MsftFile> parsed = ParseTypeLibrary(bad.data(), bad.size());
    ASSERT_FALSE(parsed.ok()) << c.what;
    EXPECT_EQ(parsed.error().kind, c.kind) << c.what << ": " << parsed.error().message;
    EXPECT_NE(parsed.error().message.find(c.message), std::string::npos)
        << c.what << ": " << parsed.error().message;
  }
}

TEST_F(SltgMalformed, TruncatedFiles) {
  const Layout layout(good_);
  for (size_t length : {size_t(4), size_t(0x23), layout.index + 5, layout.blocks[3],
                        layout.library + 10, layout.names, layout.library_end - 1}) {
    Bytes part(good_.begin(), good_.begin() + std::ptrdiff_t(length));
    Result<MsftFile> parsed = ParseTypeLibrary(part.data(), part.size());
    ASSERT_FALSE(parsed.ok()) << "length " << length;
    EXPECT_EQ(parsed.error().kind, ErrorKind::kCorrupt) << parsed.error().message;
  }
  // What follows the library block is not needed.
  Bytes whole(good_.begin(), good_.begin() + std::ptrdiff_t(layout.library_end));
  EXPECT_TRUE(ParseTypeLibrary(whole.data(), whole.size()).ok());
}

TEST_F(SltgMalformed, DeepTypeDescriptionsAreBounded) {
  sltg_testing::Library library = sltg_testing::PlainLibrary();
  std::string deep = "I4";
  for (int i = 0; i < 64; ++i) deep = "PTR PTR " + deep;
  library.types[kBase].funcs[0].params[0].type = deep;
  Bytes bytes = sltg_testing::WriteSltg(library);
  Result<MsftFile> parsed = ParseTypeLibrary(bytes.data(), bytes.size());
  ASSERT_FALSE(parsed.ok());
  EXPECT_NE(parsed.error().message.find("nests more than 64 levels"), std::string::npos)
      << parsed.error().message;
}

}  // namespace
}  // namespace velbrook::typeinfo::msft
