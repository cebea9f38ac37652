// Well-formed but hostile libraries: generation stays bounded, warns where it
// cannot do what the library asks, and writes nothing once the include file
// would pass its limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "cli/backends.h"
#include "cli/generate_command.h"
#include "generate/generator.h"
#include "golden_support.h"
#include "typeinfo/msft/msft_bytes.h"
#include "typeinfo/msft/msft_file.h"
#include "typeinfo/msft/portable_opener.h"

namespace velbrook::generate::testing {
namespace {

namespace fs = std::filesystem;

struct Generated {
  Result<std::string> text;
  std::vector<std::string> warnings;
};

Generated Generate(const typeinfo::Library& library, bool invoke,
                   const std::vector<std::string>& names = {}) {
  const CheckedRows rows = CheckRows(library, names);
  GenerationInputs inputs = InputsOver(library, rows);
  inputs.use_invoke = [invoke] { return invoke; };
  inputs.include_generics = [] { return false; };
  std::vector<std::string> warnings;
  inputs.warn = [&warnings](const std::string& text) { warnings.push_back(text); };
  Result<std::string> text = GenerateIncludeText(inputs);
  return {std::move(text), std::move(warnings)};
}

// Lines between "  TYPE name" and its "  END TYPE".
size_t InnerLines(const std::string& text, const std::string& name) {
  const size_t head = text.find("  TYPE " + name + "\r\n");
  const size_t end = text.find("  END TYPE\r\n", head);
  if (head == std::string::npos || end == std::string::npos) return 0;
  size_t lines = 0;
  for (size_t at = text.find("\r\n", head) + 2; at < end; at = text.find("\r\n", at) + 2) ++lines;
  return lines;
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// R0..R13 flatten (R13 to 49,148 lines); R14 would need 98,300 and is
// written as it is; R15 and above then embed only R14-typed lines.
TEST(GenerateHostileTest, NestedRecordsFlattenUpToTheLimitWithOneWarning) {
  std::unique_ptr<typeinfo::Library> library = OpenFixture("nest");
  ASSERT_NE(library, nullptr);
  for (bool invoke : {true, false}) {
    Generated run = Generate(*library, invoke);
    ASSERT_TRUE(run.text.ok()) << run.text.error().message;
    const std::string& text = run.text.value();
    EXPECT_EQ(InnerLines(text, "R13"), 49148u);
    EXPECT_NE(
        text.find("  TYPE R14\r\n    'not flattened: embedding its records would take "
                  "more than 65536 lines\r\n     x as R13\r\n     y as R13\r\n  END TYPE\r\n"),
        std::string::npos);
    EXPECT_EQ(InnerLines(text, "R21"), 380u);
    EXPECT_LT(text.size(), kMaxIncludeBytes / 8);
    ASSERT_EQ(run.warnings.size(), 1u);
    EXPECT_EQ(run.warnings[0].rfind("Sorry, record R14 is not flattened.\r\n", 0), 0u);
  }
}

// Together its records would give more than the whole file may hold: the
// command fails and leaves the old file as it was.
TEST(GenerateHostileTest, TooLargeAFileIsNotWritten) {
  const fs::path dir = fs::path(VELBROOK_BINARY_DIR) / "test_output" / "generate_hostile";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string output = (dir / "flood.inc").string();
  WriteBytes(output, "old");
  for (bool vtable : {false, true}) {
    cli::GenerateRequest request;
    request.library = FixturePath("flood");
    request.backend = cli::DefaultBackend();
    request.all = true;
    request.vtable = vtable;
    request.output = output;
    EXPECT_EQ(cli::RunGenerate(request), 1);
    EXPECT_EQ(ReadBytes(output), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  }
  std::unique_ptr<typeinfo::Library> library = OpenFixture("flood");
  ASSERT_NE(library, nullptr);
  Generated run = Generate(*library, true);
  ASSERT_FALSE(run.text.ok());
  EXPECT_EQ(run.text.error().kind, ErrorKind::kTooLarge);
  EXPECT_EQ(run.text.error().message,
            "generation stopped: the include file would be larger than 64 MB, far more than any "
            "real type library needs; nothing was written");
}

// The limit from both sides on a library of our own.
TEST(GenerateHostileTest, LimitIsTheLastByteAllowed) {
  std::unique_ptr<typeinfo::Library> library = OpenFixture("shapes");
  ASSERT_NE(library, nullptr);
  const CheckedRows rows = CheckRows(*library, {});
  GenerationInputs inputs = InputsOver(*library, rows);
  const std::string whole = GenerateIncludeText(inputs).value();
  inputs.max_bytes = whole.size();
  EXPECT_EQ(GenerateIncludeText(inputs).value(), whole);
  inputs.max_bytes = whole.size() - 1;
  const Result<std::string> cut = GenerateIncludeText(inputs);
  ASSERT_FALSE(cut.ok());
  EXPECT_EQ(cut.error().message,
            "generation stopped: the include file would be larger than " +
                std::to_string(whole.size() - 1) +
                " bytes, far more than any real type library needs; nothing was written");
}

// IBase made to derive from IDerived: IBase -> IDerived -> IMiddle -> IBase.
TEST(GenerateHostileTest, BaseChainLoopGivesEachMemberOnceAndAWarning) {
  std::vector<uint8_t> bytes;
  {
    const std::string good = ReadBytes(FixturePath("inherit"));
    bytes.assign(good.begin(), good.end());
  }
  Result<typeinfo::msft::MsftFile> parsed = typeinfo::msft::ParseMsft(bytes.data(), bytes.size());
  ASSERT_TRUE(parsed.ok());
  size_t base = SIZE_MAX, derived = SIZE_MAX;
  for (size_t i = 0; i < parsed->types.size(); ++i) {
    if (parsed->types[i].name.text == "IBase") base = i;
    if (parsed->types[i].name.text == "IDerived") derived = i;
  }
  ASSERT_NE(base, SIZE_MAX);
  ASSERT_NE(derived, SIZE_MAX);
  typeinfo::msft::testing::SetU32(&bytes, typeinfo::msft::testing::TypeInfoAt(bytes, base) + 0x54,
                                  parsed->types[derived].hreftype);
  typeinfo::msft::PortableOpener opener;
  auto library = opener.OpenLibraryBytes(bytes, "loop.tlb");
  ASSERT_TRUE(library.ok()) << library.error().message;

  Generated run = Generate(**library, false, {"IBase"});
  ASSERT_TRUE(run.text.ok());
  for (const char* member : {"BaseOne", "BaseTwo", "MiddleOne", "DerivedOne"}) {
    EXPECT_EQ(Occurrences(run.text.value(), "    " + std::string(member) + " as "), 1u) << member;
  }
  ASSERT_EQ(run.warnings.size(), 1u);
  EXPECT_EQ(run.warnings[0],
            "Sorry, the base interfaces of IBase lead back to IBase.\r\n\r\n(each inherited "
            "member is written once.)");
}

// ControlInfo's stored size cut below its last field's end: its fields are
// written one after the other with a warning; Tagged, which embeds it, is
// still laid out around what was written.
TEST(GenerateHostileTest, RecordSizeBelowItsFieldsGivesPackedOrderAndAWarning) {
  const std::string good = ReadBytes(FixturePath("records"));
  std::vector<uint8_t> bytes(good.begin(), good.end());
  Result<typeinfo::msft::MsftFile> parsed = typeinfo::msft::ParseMsft(bytes.data(), bytes.size());
  ASSERT_TRUE(parsed.ok());
  size_t control = SIZE_MAX;
  for (size_t i = 0; i < parsed->types.size(); ++i) {
    if (parsed->types[i].name.text == "ControlInfo") control = i;
  }
  ASSERT_NE(control, SIZE_MAX);
  typeinfo::msft::testing::SetU32(&bytes,
                                  typeinfo::msft::testing::TypeInfoAt(bytes, control) + 0x50, 10);
  typeinfo::msft::PortableOpener opener;
  auto library = opener.OpenLibraryBytes(bytes, "short.tlb");
  ASSERT_TRUE(library.ok()) << library.error().message;

  Generated run = Generate(**library, false, {"ControlInfo", "Tagged"});
  ASSERT_TRUE(run.text.ok());
  const std::string why = "field dwFlags ends at 16 as written, past the record's size 10";
  EXPECT_NE(run.text.value().find("  TYPE ControlInfo\r\n    'fields one after the other: " + why +
                                  "\r\n     cb as LONG '[VT_I4]\r\n"
                                  "     hAccel as DWORD '[VT_VOID]\r\n"
                                  "     cAccel as WORD '[VT_UI2]\r\n"
                                  "     dwFlags as DWORD '[VT_UI4]\r\n  END TYPE\r\n"),
            std::string::npos);
  EXPECT_NE(run.text.value().find("     info_dwFlags as DWORD '[VT_UI4]\r\n"
                                  "    'end of embedded info\r\n"
                                  "     pad2(0 TO 1) as BYTE 'padding\r\n"
                                  "     count as WORD '[VT_I2]\r\n"),
            std::string::npos);
  ASSERT_EQ(run.warnings.size(), 1u);
  EXPECT_EQ(run.warnings[0],
            "Sorry, record ControlInfo is not laid out as the library lays it out.\r\n\r\n(" + why +
                "; its fields are written one after the other.)");
}

}  // namespace
}  // namespace velbrook::generate::testing
