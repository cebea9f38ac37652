// winedump, a reader of the format written apart from ours, agrees with ours
// on the test library: every type's name, GUID and kind, and the functions
// and variables it lists, by name and in order.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "sltg_writer.h"
#include "typeinfo/component.h"
#include "typeinfo/msft/msft_file.h"

namespace velbrook::typeinfo::msft {
namespace {

struct WinedumpView {
  struct Type {
    uint32_t name_offset = 0;
    std::string guid;
    int kind = -1;
    std::vector<uint32_t> members;  // name offsets of its functions or variables
  };
  std::vector<Type> types;
  std::map<uint32_t, std::string> names;  // by offset in the name table
};

WinedumpView Parse(const std::string& text) {
  WinedumpView view;
  std::istringstream in(text);
  std::map<size_t, std::vector<uint32_t>> members;
  long block = -1;
  bool in_member = false, in_directory = false;
  unsigned long table = 0;
  std::string line, pending;
  while (std::getline(in, line)) {
    unsigned long n = 0, offset = 0;
    char guid[40];
    if (std::sscanf(line.c_str(), "Block %lu {", &n) == 1) {
      block = long(n);
      members[n].clear();
    } else if (line.find("Library block entry") != std::string::npos) {
      block = -1;
    } else if (block >= 0 &&
               (line.rfind("    function ", 0) == 0 || line.rfind("    variable ", 0) == 0)) {
      in_member = true;
    } else if (block >= 0 && in_member &&
               std::sscanf(line.c_str(), "        name = %lxh", &n) == 1) {
      members[size_t(block)].push_back(uint32_t(n));
      in_member = false;
    } else if (line.rfind("Other typeinfo ", 0) == 0) {
      view.types.emplace_back();
      in_directory = true;
    } else if (in_directory && std::sscanf(line.c_str(), "    name offset = %lxh", &n) == 1) {
      view.types.back().name_offset = uint32_t(n);
    } else if (in_directory && std::sscanf(line.c_str(), "    uuid = {%36[0-9a-f-]}", guid) == 1) {
      view.types.back().guid = guid;
    } else if (in_directory && std::sscanf(line.c_str(), "    typekind = %lu", &n) == 1) {
      view.types.back().kind = int(n);
    } else if (std::sscanf(line.c_str(), "name table offset = %lx", &n) == 1) {
      table = n;
      in_directory = false;
    } else if (table != 0 &&
               std::sscanf(line.c_str(), "%lx: ff ff ff ff ff ff ff ff", &offset) == 1) {
      pending = std::to_string(offset - table);
    } else if (!pending.empty() && line.size() >= 2 && line.front() == '"' && line.back() == '"') {
      view.names[uint32_t(std::stoul(pending))] = line.substr(1, line.size() - 2);
      pending.clear();
    }
  }
  for (size_t i = 0; i < view.types.size(); ++i) view.types[i].members = members[i];
  return view;
}

std::string LowerGuid(const Guid& g) {
  std::string text = GuidToText(g).substr(1, 36);
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(SltgWinedump, AgreesOnNamesGuidsKindsAndMembers) {
  if (std::system("winedump --help >/dev/null 2>&1") != 0 &&
      std::system("command -v winedump >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "winedump is not installed (Debian package wine64-tools)";
  }
  const std::vector<uint8_t> bytes = sltg_testing::WriteSltg(sltg_testing::FeaturesLibrary());
  const std::string path = std::string(VELBROOK_BINARY_DIR) + "/sltg_winedump_input.tlb";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  std::string output;
  if (FILE* pipe = popen(("winedump dump '" + path + "' 2>&1").c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    ASSERT_EQ(pclose(pipe), 0) << output.substr(0, 2000);
  }
  const WinedumpView view = Parse(output);
  Result<MsftFile> ours = ParseTypeLibrary(bytes.data(), bytes.size());
  ASSERT_TRUE(ours.ok()) << ours.error().message;
  ASSERT_EQ(view.types.size(), ours->types.size());
  size_t compared = 0;
  for (size_t i = 0; i < view.types.size(); ++i) {
    const WinedumpView::Type& theirs = view.types[i];
    const TypeInfoRecord& t = ours->types[i];
    ASSERT_TRUE(view.names.count(theirs.name_offset)) << "type " << i;
    EXPECT_EQ(view.names.at(theirs.name_offset), t.name.text) << "type " << i;
    EXPECT_EQ(theirs.guid, LowerGuid(t.guid)) << t.name.text;
    const bool dual = (t.type_flags & kTypeFlagDual) != 0;
    EXPECT_TRUE(theirs.kind == t.type_kind || (dual && theirs.kind == kTypeKindInterface))
        << t.name.text << ": winedump " << theirs.kind << ", ours " << t.type_kind;
    // winedump lists the functions of interfaces and the variables of
    // records and enumerations.
    std::vector<std::string> expected;
    if (theirs.kind == kTypeKindInterface) {
      for (const FuncRecord& f : t.funcs) expected.emplace_back(f.name.text);
    } else if (theirs.kind == kTypeKindRecord || theirs.kind == kTypeKindEnum) {
      for (const VarRecord& v : t.vars) expected.emplace_back(v.name.text);
    }
    std::vector<std::string> listed;
    for (uint32_t offset : theirs.members)
      listed.push_back(view.names.count(offset) ? view.names.at(offset) : "?");
    EXPECT_EQ(listed, expected) << t.name.text;
    compared += listed.size();
  }
  EXPECT_GT(compared, 10u) << "winedump's output was not understood";
}

}  // namespace
}  // namespace velbrook::typeinfo::msft
