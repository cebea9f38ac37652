// Damaged libraries built from good ones, one field per case, each limit
// tried from both sides: the reader answers with the right error kind (or a
// bounded result), never a crash, a hang or a read out of bounds.
#include <gtest/gtest.h>

#include <cstring>

#include "msft_bytes.h"
#include "test_support.h"
#include "typeinfo/msft/msft_file.h"
#include "typeinfo/msft/pe_resource.h"
#include "typeinfo/msft/portable_opener.h"

namespace velbrook::typeinfo::msft {
namespace {

using testing::FindType;
using testing::FixturePath;
using testing::kSegImpFiles;
using testing::kSegRef;
using testing::kSegTypeDesc;
using testing::kSegTypeInfo;
using testing::Layout;
using testing::ReadAll;
using testing::SetU16;
using testing::SetU32;
using testing::U32;
using testing::WinePath;

ErrorKind KindOf(const std::vector<uint8_t>& bytes) {
  Result<MsftFile> parsed = ParseMsft(bytes.data(), bytes.size());
  EXPECT_FALSE(parsed.ok());
  return parsed.ok() ? ErrorKind::kInvalidArgument : parsed.error().kind;
}

bool Parses(const std::vector<uint8_t>& bytes) {
  Result<MsftFile> parsed = ParseMsft(bytes.data(), bytes.size());
  if (!parsed.ok()) ADD_FAILURE() << parsed.error().message;
  return parsed.ok();
}

class MsftMalformed : public ::testing::Test {
 protected:
  void SetUp() override {
    good_ = ReadAll(FixturePath("shapes.tlb"));
    ASSERT_GT(good_.size(), 0x100u);
    ASSERT_EQ(std::memcmp(good_.data(), "MSFT", 4), 0);
    ASSERT_TRUE(Parses(good_));
  }
  size_t TypeInfo(size_t index) const { return testing::TypeInfoAt(good_, index); }
  // Index of the type info with this name (by opening the good file).
  size_t IndexOf(const std::string& name) {
    Result<MsftFile> parsed = ParseMsft(good_.data(), good_.size());
    for (size_t i = 0; i < parsed->types.size(); ++i) {
      if (parsed->types[i].name.text == name) return i;
    }
    ADD_FAILURE() << name;
    return 0;
  }
  std::vector<uint8_t> good_;
};

TEST_F(MsftMalformed, TruncatedFile) {
  std::vector<uint8_t> cut(good_.begin(), good_.begin() + 3);
  EXPECT_EQ(KindOf(cut), ErrorKind::kNotTypeLibrary);
  for (size_t len : {size_t(4), size_t(0x53), size_t(0x54), Layout(good_).seg_dir + 15 * 16 - 1,
                     good_.size() / 2, good_.size() - 1}) {
    std::vector<uint8_t> part(good_.begin(), good_.begin() + std::ptrdiff_t(len));
    EXPECT_EQ(KindOf(part), ErrorKind::kCorrupt) << "length " << len;
  }
}

TEST_F(MsftMalformed, OtherFormats) {
  std::vector<uint8_t> sltg = good_;
  std::memcpy(sltg.data(), "SLTG", 4);
  Result<MsftFile> parsed = ParseMsft(sltg.data(), sltg.size());
  ASSERT_FALSE(parsed.ok());
  EXPECT_EQ(parsed.error().kind, ErrorKind::kUnsupportedFormat);
  EXPECT_NE(parsed.error().message.find("unsupported type library format"), std::string::npos);
  std::vector<uint8_t> other = good_;
  std::memcpy(other.data(), "MSFU", 4);
  EXPECT_EQ(KindOf(other), ErrorKind::kNotTypeLibrary);
}

TEST_F(MsftMalformed, AbsurdTypeInfoCount) {
  for (uint32_t count : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x00100000u}) {
    std::vector<uint8_t> bad = good_;
    SetU32(&bad, 0x20, count);
    EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt) << count;
  }
}

TEST_F(MsftMalformed, SegmentDirectoryMarker) {
  Layout layout(good_);
  std::vector<uint8_t> bad = good_;
  SetU32(&bad, layout.Segment(0) + 12, 0x0E);
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  SetU32(&bad, layout.Segment(0) + 12, 0x0F);
  EXPECT_TRUE(Parses(bad));
}

TEST_F(MsftMalformed, SegmentPastTheEnd) {
  Layout layout(good_);
  size_t entry = layout.Segment(kSegTypeInfo);
  uint32_t offset = U32(good_, entry);
  std::vector<uint8_t> bad = good_;
  SetU32(&bad, entry + 4, uint32_t(good_.size()) - offset);  // up to the last byte
  EXPECT_TRUE(Parses(bad));
  SetU32(&bad, entry + 4, uint32_t(good_.size()) - offset + 1);  // one past it
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  bad = good_;
  SetU32(&bad, entry, uint32_t(good_.size()));
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
}

TEST_F(MsftMalformed, TypeInfoTableTooSmall) {
  Layout layout(good_);
  std::vector<uint8_t> bad = good_;
  SetU32(&bad, layout.Segment(kSegTypeInfo) + 4, layout.type_count * 0x64);
  EXPECT_TRUE(Parses(bad));
  SetU32(&bad, layout.Segment(kSegTypeInfo) + 4, layout.type_count * 0x64 - 1);
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
}

TEST_F(MsftMalformed, MemberBlockPastTheEnd) {
  size_t shape = TypeInfo(IndexOf("IShape"));
  std::vector<uint8_t> bad = good_;
  SetU32(&bad, shape + 0x04, uint32_t(good_.size()));
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  SetU32(&bad, shape + 0x04, 0xFFFFFFF0u);
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
}

TEST_F(MsftMalformed, AbsurdMemberCounts) {
  size_t shape = TypeInfo(IndexOf("IShape"));
  uint32_t element = U32(good_, shape + 0x18);
  std::vector<uint8_t> bad = good_;
  SetU32(&bad, shape + 0x18, element | 0xFFFF);
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  SetU32(&bad, shape + 0x18, element | 0xFFFF0000u);
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  // One function fewer still reads.
  SetU32(&bad, shape + 0x18, element - 1);
  EXPECT_TRUE(Parses(bad));
}

TEST_F(MsftMalformed, FunctionRecordSize) {
  size_t shape = TypeInfo(IndexOf("IShape"));
  size_t block = U32(good_, shape + 0x04);
  uint32_t info = U32(good_, block + 4);
  uint32_t infolen = U32(good_, block);
  std::vector<uint8_t> bad = good_;
  SetU16(&bad, block + 4, 0x17);  // below the fixed part
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  SetU16(&bad, block + 4, uint16_t(infolen + 1));  // past the records
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  SetU16(&bad, block + 4, uint16_t(info));
  EXPECT_TRUE(Parses(bad));
  // More arguments than the record holds.
  SetU16(&bad, block + 4 + 0x14, 0x7FFF);
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
}

// A function's help string offset lies at 0x1C..0x1F of its record: it is
// read only when the record's optional part holds all four bytes.
TEST_F(MsftMalformed, FunctionHelpIsReadOnlyFromInsideItsRecord) {
  const size_t circle = IndexOf("ICircle");
  const size_t rec = U32(good_, TypeInfo(circle) + 0x04) + 4;  // its only function
  const struct {
    uint16_t size;
    bool help;
  } rows[] = {{0x20, true}, {0x1F, false}, {0x1E, false}};
  for (const auto& row : rows) {
    std::vector<uint8_t> bad = good_;
    SetU16(&bad, rec, row.size);
    SetU16(&bad, rec + 0x14, 0);                 // no arguments after the optional part
    SetU32(&bad, rec + 0x1C, U32(good_, 0x24));  // the library's help string
    Result<MsftFile> parsed = ParseMsft(bad.data(), bad.size());
    ASSERT_TRUE(parsed.ok()) << parsed.error().message;
    EXPECT_EQ(parsed->types[circle].funcs[0].help.present, row.help) << row.size;
  }
}

// A coclass's implemented interfaces come from a chain of reference records,
// each used once: a chain that loops or ends early is corrupt, since it
// would let a few bytes stand for 65535 entries.
TEST_F(MsftMalformed, ReferenceChainLoopsOrEndsEarly) {
  const size_t circle = TypeInfo(IndexOf("Circle"));
  const uint16_t count = uint16_t(good_[circle + 0x4C] | good_[circle + 0x4D] << 8);
  const uint32_t first = U32(good_, circle + 0x54);
  const size_t table = U32(good_, Layout(good_).Segment(kSegRef));
  std::vector<uint8_t> bad = good_;
  SetU16(&bad, circle + 0x4C, uint16_t(count - 1));  // a longer chain is read in part
  EXPECT_TRUE(Parses(bad));
  SetU16(&bad, circle + 0x4C, uint16_t(count + 1));
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  bad = good_;
  SetU32(&bad, table + first + 12, first);  // the first record names itself next
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
}

TEST_F(MsftMalformed, TypeDescLoopsAndOffsets) {
  Layout layout(good_);
  size_t table = U32(good_, layout.Segment(kSegTypeDesc));
  uint32_t length = U32(good_, layout.Segment(kSegTypeDesc) + 4);
  // Find a pointer entry whose pointee is another entry.
  size_t pointer = SIZE_MAX;
  for (size_t i = 0; i < length / 8; ++i) {
    size_t at = table + i * 8;
    if ((good_[at] | good_[at + 1] << 8) == 26 && !(good_[at + 7] & 0x80)) pointer = i;
  }
  ASSERT_NE(pointer, SIZE_MAX) << "the fixture has a pointer to a TYPEDESC";
  std::vector<uint8_t> bad = good_;
  SetU16(&bad, table + pointer * 8 + 4, uint16_t(pointer * 8));  // points at itself
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  SetU16(&bad, table + pointer * 8 + 4, uint16_t(length));  // just past the table
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  SetU16(&bad, table + pointer * 8 + 4, uint16_t(length - 8));  // the last entry
  // The last entry may or may not lead back here; either way no crash, and a
  // refusal is a corrupt library.
  Result<MsftFile> last = ParseMsft(bad.data(), bad.size());
  if (!last.ok()) {
    EXPECT_EQ(last.error().kind, ErrorKind::kCorrupt);
  }
}

TEST_F(MsftMalformed, ImportTableTruncated) {
  Layout layout(good_);
  std::vector<uint8_t> bad = good_;
  SetU32(&bad, layout.Segment(kSegImpFiles) + 4, 5);
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
}

// An import file's name must lie in the import file table, not merely in
// the file.
TEST_F(MsftMalformed, ImportNameRunsPastItsTable) {
  Layout layout(good_);
  const size_t entry = U32(good_, layout.Segment(kSegImpFiles));
  const uint32_t length = U32(good_, layout.Segment(kSegImpFiles) + 4);
  ASSERT_LT(entry + length + 4, good_.size());
  std::vector<uint8_t> bad = good_;
  SetU16(&bad, entry + 12, uint16_t((length - 14) << 2));  // up to the table's end
  EXPECT_TRUE(Parses(bad));
  SetU16(&bad, entry + 12, uint16_t((length - 13) << 2));  // one byte past it
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
}

TEST_F(MsftMalformed, NameOffsetNamingNothingGivesAnEmptyName) {
  size_t shape = TypeInfo(IndexOf("IShape"));
  std::vector<uint8_t> bad = good_;
  SetU32(&bad, shape + 0x34, 0x7FFFFFF0u);
  PortableOpener opener;
  auto library = opener.OpenLibraryBytes(bad, FixturePath("damaged.tlb"));
  ASSERT_TRUE(library.ok()) << library.error().message;
  EXPECT_EQ((*library)->Interfaces()->Item(1)->Name(), "");
  testing::WalkAll(**library);
}

// A member block is decoded when its type's members are first asked for: a
// corrupt one fails the whole decode (ParseMsft) but not the opening, and
// leaves that type alone without members.
TEST_F(MsftMalformed, CorruptMemberBlockEmptiesOnlyItsType) {
  size_t shape = TypeInfo(IndexOf("IShape"));
  std::vector<uint8_t> bad = good_;
  SetU32(&bad, shape + 0x04, uint32_t(good_.size()));
  EXPECT_EQ(KindOf(bad), ErrorKind::kCorrupt);
  Result<MsftFile> opened = OpenMsft(bad.data(), bad.size());
  ASSERT_TRUE(opened.ok()) << opened.error().message;
  size_t index = IndexOf("IShape");
  Status decoded = opened->DecodeMembers(index);
  ASSERT_FALSE(decoded.ok());
  EXPECT_EQ(decoded.error().kind, ErrorKind::kCorrupt);
  EXPECT_TRUE(opened->types[index].funcs.empty());
  EXPECT_TRUE(opened->DecodeMembers(index).ok()) << "decoded once, the failure is not repeated";
  PortableOpener opener;
  auto library = opener.OpenLibraryBytes(bad, FixturePath("damaged-members.tlb"));
  ASSERT_TRUE(library.ok()) << library.error().message;
  // The vtable faces: IShape's own functions are gone, ICircle's are there.
  EXPECT_EQ(FindType(**library, "IShape")->VTableInterface()->Members()->Count(), 0u);
  EXPECT_GT(FindType(**library, "ICircle")->VTableInterface()->Members()->Count(), 0u);
  testing::WalkAll(**library);
}

TEST_F(MsftMalformed, BaseInterfaceLoopIsBounded) {
  size_t shape = IndexOf("IShape"), circle = IndexOf("ICircle");
  std::vector<uint8_t> bad = good_;
  // IShape now derives from ICircle, which derives from IShape.
  SetU32(&bad, TypeInfo(shape) + 0x54, uint32_t(circle * 0x64));
  PortableOpener opener;
  auto library = opener.OpenLibraryBytes(bad, FixturePath("loop.tlb"));
  ASSERT_TRUE(library.ok()) << library.error().message;
  const Type* ishape = FindType(**library, "IShape");
  ASSERT_NE(ishape, nullptr);
  EXPECT_EQ(ishape->Members()->Count(), 0u) << "a looping base chain lists nothing";
  EXPECT_EQ(FindType(**library, "ICircle")->Members()->Count(), 0u);
  ASSERT_EQ(ishape->VTableInterface()->ImplementedInterfaces()->Count(), 1u);
  EXPECT_EQ(ishape->VTableInterface()->ImplementedInterfaces()->Item(1)->Name(), "ICircle");
  testing::WalkTotals totals = testing::WalkAll(**library, 64);
  EXPECT_GT(totals.types, 0u);
}

TEST_F(MsftMalformed, SelfReferencingTypeIsBounded) {
  size_t shape = IndexOf("IShape");
  std::vector<uint8_t> bad = good_;
  SetU32(&bad, TypeInfo(shape) + 0x54, uint32_t(shape * 0x64));  // its own base
  PortableOpener opener;
  auto library = opener.OpenLibraryBytes(bad, FixturePath("self.tlb"));
  ASSERT_TRUE(library.ok());
  const Type* ishape = FindType(**library, "IShape");
  EXPECT_EQ(ishape->Members()->Count(), 0u);
  testing::WalkAll(**library, 64);
}

// PE modules: damage the headers and the resource directory of scrrun.dll.
class MsftMalformedPe : public ::testing::Test {
 protected:
  void SetUp() override {
    good_ = ReadAll(WinePath("scrrun.dll"));
    ASSERT_GT(good_.size(), 0x400u);
    pe_ = U32(good_, 0x3C);
    size_t optional = pe_ + 24;
    uint16_t magic = uint16_t(good_[optional] | good_[optional + 1] << 8);
    size_t dirs = optional + (magic == 0x20B ? 112 : 96);
    resource_dir_entry_ = dirs + 2 * 8;
    uint32_t rva = U32(good_, resource_dir_entry_);
    // File offset of the resource root, through the section table.
    uint16_t sections = uint16_t(good_[pe_ + 6] | good_[pe_ + 7] << 8);
    uint16_t optional_size = uint16_t(good_[pe_ + 20] | good_[pe_ + 21] << 8);
    for (uint16_t i = 0; i < sections; ++i) {
      size_t s = optional + optional_size + i * 40u;
      uint32_t va = U32(good_, s + 12), raw_size = U32(good_, s + 16), raw = U32(good_, s + 20);
      if (rva >= va && rva < va + raw_size) resource_root_ = raw + (rva - va);
    }
    ASSERT_NE(resource_root_, 0u);
  }
  ErrorKind Open(const std::vector<uint8_t>& bytes) {
    PortableOpener opener;
    auto library = opener.OpenLibraryBytes(bytes, "damaged.dll");
    EXPECT_FALSE(library.ok());
    // Listing the resource numbers reads the same headers and directory.
    auto numbers = ListTypeLibResources(MemorySource(bytes, "damaged.dll"));
    EXPECT_FALSE(numbers.ok());
    if (!numbers.ok() && !library.ok()) {
      EXPECT_EQ(numbers.error().kind, library.error().kind) << numbers.error().message;
    }
    return library.ok() ? ErrorKind::kInvalidArgument : library.error().kind;
  }
  std::vector<uint8_t> good_;
  size_t pe_ = 0, resource_dir_entry_ = 0, resource_root_ = 0;
};

TEST_F(MsftMalformedPe, GoodModuleOpens) {
  PortableOpener opener;
  auto library = opener.OpenLibraryBytes(good_, WinePath("scrrun.dll"));
  ASSERT_TRUE(library.ok()) << library.error().message;
  EXPECT_EQ((*library)->Name(), "Scripting");
  auto numbers = ListTypeLibResources(MemorySource(good_, "scrrun.dll"));
  ASSERT_TRUE(numbers.ok()) << numbers.error().message;
  EXPECT_EQ(*numbers, std::vector<uint16_t>{1});
}

TEST_F(MsftMalformedPe, HeaderDamage) {
  std::vector<uint8_t> bad = good_;
  bad[pe_] = 'X';
  EXPECT_EQ(Open(bad), ErrorKind::kNotTypeLibrary);
  bad = good_;
  SetU32(&bad, 0x3C, uint32_t(good_.size()));
  EXPECT_EQ(Open(bad), ErrorKind::kCorrupt);
  bad = good_;
  SetU32(&bad, resource_dir_entry_, 0x7FFFFFF0u);
  EXPECT_EQ(Open(bad), ErrorKind::kCorrupt);
  bad = good_;
  SetU32(&bad, resource_dir_entry_ + 4, 0);  // no resources at all
  EXPECT_EQ(Open(bad), ErrorKind::kNotTypeLibrary);
}

TEST_F(MsftMalformedPe, ResourceDirectoryDamage) {
  std::vector<uint8_t> bad = good_;
  SetU16(&bad, resource_root_ + 14, 0xFFFF);  // id entries beyond the data
  SetU16(&bad, resource_root_ + 12, 0xFFFF);
  EXPECT_EQ(Open(bad), ErrorKind::kCorrupt);
  bad = good_;
  SetU32(&bad, resource_dir_entry_ + 4, 8);  // the root no longer fits
  EXPECT_EQ(Open(bad), ErrorKind::kCorrupt);
}

TEST_F(MsftMalformedPe, TruncatedModule) {
  for (size_t len : {size_t(2), size_t(0x40), size_t(pe_ + 4), resource_root_ + 8}) {
    std::vector<uint8_t> part(good_.begin(), good_.begin() + std::ptrdiff_t(len));
    PortableOpener opener;
    auto library = opener.OpenLibraryBytes(part, "truncated.dll");
    ASSERT_FALSE(library.ok()) << "length " << len;
    EXPECT_TRUE(library.error().kind == ErrorKind::kCorrupt ||
                library.error().kind == ErrorKind::kNotTypeLibrary)
        << library.error().message;
  }
  // Cut inside the resource directory: the module is broken, not foreign.
  std::vector<uint8_t> part(good_.begin(), good_.begin() + std::ptrdiff_t(resource_root_ + 8));
  EXPECT_EQ(Open(part), ErrorKind::kCorrupt);
}

}  // namespace
}  // namespace velbrook::typeinfo::msft
