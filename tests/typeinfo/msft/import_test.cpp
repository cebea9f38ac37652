// Where the portable reader finds a library that another imports: the
// registry, beside the importer, an import folder, under another case, as a
// module's TYPELIB resource ("file\N"); and what a reference names when the
// library is found nowhere. Each import is searched for once per opener.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "sltg_writer.h"
#include "test_support.h"
#include "typeinfo/msft/portable_opener.h"

namespace velbrook::typeinfo::msft {
namespace {

namespace fs = std::filesystem;
using testing::FindMember;
using testing::FindType;
using testing::ReadAll;

constexpr char kBaseGuid[] = "{7E1A0001-0000-4000-8000-0000000000B1}";
constexpr char kThingGuid[] = "{7E1A0002-0000-4000-8000-0000000000B1}";

// Answers for impbase alone, and counts the questions per library.
class RecordingLocator : public LibraryLocator {
 public:
  std::optional<std::string> Locate(const std::string& guid_text, uint16_t major, uint16_t minor,
                                    uint32_t) const override {
    ++asked[guid_text];
    if (guid_text == kBaseGuid && major == 1 && minor == 2 && !path.empty()) return path;
    return std::nullopt;
  }
  std::string path;
  mutable std::map<std::string, int> asked;
};

void Write(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The importer with its import renamed in place (same length, so no offset
// moves): "impbase.d\3" names TYPELIB resource 3 of the module impbase.d.
std::vector<uint8_t> ImportingResourceThree(std::vector<uint8_t> bytes) {
  const std::string from = "impbase.tlb", to = "impbase.d\\3";
  auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
  EXPECT_NE(at, bytes.end());
  if (at != bytes.end()) std::copy(to.begin(), to.end(), at);
  return bytes;
}

enum class Place { kNowhere, kRegistry, kBeside, kImportFolder, kImportFolderUpperCase, kModule };

struct ImportCase {
  const char* name;
  Place place;
};

void PrintTo(const ImportCase& c, std::ostream* out) { *out << c.name; }

class ImportResolution : public ::testing::TestWithParam<ImportCase> {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() /
        ("velbrook_imports_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + GetParam().name);
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "lib");
    fs::create_directories(dir_ / "imports");
    fs::create_directories(dir_ / "registered");
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_P(ImportResolution, FindsTheImportedLibraryOnceOrNamesWhatIsMissing) {
  const Place place = GetParam().place;
  std::vector<uint8_t> user = ReadAll(VELBROOK_IDL_FIXTURE_IMPUSER);
  const std::vector<uint8_t> base = ReadAll(VELBROOK_IDL_IMPORTED);
  ASSERT_FALSE(user.empty());
  ASSERT_FALSE(base.empty());
  auto locator = std::make_shared<RecordingLocator>();
  switch (place) {
    case Place::kNowhere:
      break;
    case Place::kRegistry:
      Write(dir_ / "registered" / "impbase.tlb", base);
      locator->path = (dir_ / "registered" / "impbase.tlb").string();
      break;
    case Place::kBeside:
      Write(dir_ / "lib" / "impbase.tlb", base);
      break;
    case Place::kImportFolder:
      Write(dir_ / "imports" / "impbase.tlb", base);
      break;
    case Place::kImportFolderUpperCase:
      Write(dir_ / "imports" / "IMPBASE.TLB", base);
      break;
    case Place::kModule:
      user = ImportingResourceThree(std::move(user));
      Write(dir_ / "imports" / "impbase.d", sltg_testing::WrapInPe(base, 3));
      break;
  }
  Write(dir_ / "lib" / "impuser.tlb", user);

  PortableOpener opener;
  opener.SetLocator(locator);
  opener.SetSearchPaths({(dir_ / "nonexistent").string(), (dir_ / "imports").string()});
  auto library = opener.OpenLibraryFile((dir_ / "lib" / "impuser.tlb").string());
  ASSERT_TRUE(library.ok()) << library.error().message;
  testing::WalkAll(**library);

  const Type* user_type = FindType(**library, "IUser");
  ASSERT_NE(user_type, nullptr);
  const Member* take = FindMember(*user_type, "Take", kInvokeFunc);
  ASSERT_NE(take, nullptr);
  const TypeDescriptor* thing = take->Parameters()->Item(1)->ParamType();
  if (place == Place::kNowhere) {
    EXPECT_EQ(thing->ReferencedType(), nullptr);
    std::optional<MissingType> missing = thing->MissingReference();
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->import_file, "impbase.tlb");
    EXPECT_EQ(missing->type, kThingGuid);
  } else {
    ASSERT_NE(thing->ReferencedType(), nullptr);
    EXPECT_EQ(thing->ReferencedType()->Name(), "IBaseThing");
    EXPECT_FALSE(thing->MissingReference().has_value());
  }
  // Asked once each, found or not, however many references lead there.
  EXPECT_EQ(locator->asked[kBaseGuid], 1);
  for (const auto& [guid, count] : locator->asked) EXPECT_EQ(count, 1) << guid;
}

const ImportCase kCases[] = {
    {"Nowhere", Place::kNowhere},
    {"Registry", Place::kRegistry},
    {"Beside", Place::kBeside},
    {"ImportFolder", Place::kImportFolder},
    {"ImportFolderOtherCase", Place::kImportFolderUpperCase},
    {"ModuleResource", Place::kModule},
};

INSTANTIATE_TEST_SUITE_P(Places, ImportResolution, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ImportCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace velbrook::typeinfo::msft
