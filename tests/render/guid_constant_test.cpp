// WriteGuidConstant: IFoo, Widget with its ProgID, once per file, Invoke
// style and the byte order of the four groups.
#include "render/guid_constant.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/fake_component.h"
#include "fakes/text_compare.h"
#include "render/naming.h"

namespace velbrook::render {
namespace {

using fakes::FakeType;
using fakes::SameBytes;

class TableProgIds : public ProgIdSource {
 public:
  explicit TableProgIds(std::map<std::string, std::string> table) : table_(std::move(table)) {}
  std::string ProgIdOfClass(const std::string& guid_text) const override {
    auto it = table_.find(guid_text);
    return it == table_.end() ? std::string() : it->second;
  }

 private:
  std::map<std::string, std::string> table_;
};

RenderContext Context(bool use_invoke) {
  RenderContext context;
  context.use_invoke = [use_invoke] { return use_invoke; };
  return context;
}

TEST(WriteGuidConstantTest, InterfaceIFoo) {
  RenderContext context = Context(false);
  FakeType type("IFoo");
  type.SetGuidText("{00020400-0000-0000-C000-000000000046}");
  std::string out;
  WriteGuidConstant(&context, kIidPrefix, "IFoo", type, nullptr, &out);
  EXPECT_TRUE(
      SameBytes("'IID_IFoo = {00020400-0000-0000-C000-000000000046}\r\n"
                "dim IID_IFoo as GUID\r\n"
                "with IID_IFoo\r\n"
                "    .d1=&h00020400 : .d23=&h00000000 : .d4=&h000000C0 : .d5=&h46000000\r\n"
                "end with \r\n"
                "\r\n",
                out));
}

TEST(WriteGuidConstantTest, WidgetWithProgId) {
  RenderContext context = Context(false);
  const std::string guid = "{12345678-9ABC-DEF0-1122-334455667788}";
  FakeType type("Widget", typeinfo::kTypeKindCoclass);
  type.SetGuidText(guid);
  TableProgIds prog_ids({{guid, "Lib.Widget"}});
  std::string out;
  WriteGuidConstant(&context, kClsidPrefix, "Widget", type, &prog_ids, &out);
  EXPECT_TRUE(
      SameBytes("'CLSID_Widget = {12345678-9ABC-DEF0-1122-334455667788}\r\n"
                "'ProgID: Lib.Widget\r\n"
                "dim CLSID_Widget as GUID\r\n"
                "with CLSID_Widget\r\n"
                "    .d1=&h12345678 : .d23=&hDEF09ABC : .d4=&h44332211 : .d5=&h88776655\r\n"
                "end with \r\n"
                "defstr ProgID_Widget = \"Lib.Widget\"\r\n"
                "\r\n",
                out));
}

TEST(WriteGuidConstantTest, InvokeStyleWritesCommentsOnly) {
  RenderContext context = Context(true);
  const std::string guid = "{12345678-9ABC-DEF0-1122-334455667788}";
  FakeType type("Widget", typeinfo::kTypeKindCoclass);
  type.SetGuidText(guid);
  TableProgIds prog_ids({{guid, "Lib.Widget"}});
  std::string out;
  WriteGuidConstant(&context, kClsidPrefix, "Widget", type, &prog_ids, &out);
  EXPECT_TRUE(
      SameBytes("'CLSID_Widget = {12345678-9ABC-DEF0-1122-334455667788}\r\n"
                "'ProgID: Lib.Widget\r\n"
                "\r\n",
                out));
}

TEST(WriteGuidConstantTest, OncePerFile) {
  RenderContext context = Context(false);
  FakeType type("IFoo");
  type.SetGuidText("{00020400-0000-0000-C000-000000000046}");
  std::string first, again, other;
  WriteGuidConstant(&context, kIidPrefix, "IFoo", type, nullptr, &first);
  WriteGuidConstant(&context, kIidPrefix, "IFoo", type, nullptr, &again);
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(again, "");
  // The other prefix names a different constant.
  WriteGuidConstant(&context, kClsidPrefix, "IFoo", type, nullptr, &other);
  EXPECT_EQ(other.substr(0, 14), "'CLSID_IFoo = ");
  EXPECT_TRUE(SameBytes("IID_IFoo\r\nCLSID_IFoo\r\n", context.written_guid_names.Text()));
  // A new file starts with an empty list.
  context.written_guid_names.Clear();
  std::string next_file;
  WriteGuidConstant(&context, kIidPrefix, "IFoo", type, nullptr, &next_file);
  EXPECT_EQ(next_file, first);
}

TEST(WriteGuidConstantTest, LettersKeepTheirCase) {
  const GuidGroups upper = GuidGroupsOf("{FC4801A3-2BA9-11CF-A229-00AA003D7352}");
  EXPECT_EQ(upper.d1, "FC4801A3");
  EXPECT_EQ(upper.d23, "11CF2BA9");
  EXPECT_EQ(upper.d4, "AA0029A2");
  EXPECT_EQ(upper.d5, "52733D00");
  const GuidGroups lower = GuidGroupsOf("{fc4801a3-2ba9-11cf-a229-00aa003d7352}");
  EXPECT_EQ(lower.d1, "fc4801a3");
  EXPECT_EQ(lower.d23, "11cf2ba9");
  EXPECT_EQ(lower.d4, "aa0029a2");
  EXPECT_EQ(lower.d5, "52733d00");
}

// The four groups read as little-endian double words give the GUID's bytes
// in memory order (Data1, Data2, Data3 little-endian, Data4 as is).
TEST(WriteGuidConstantTest, GroupsGiveMemoryOrder) {
  const GuidGroups g = GuidGroupsOf("{00112233-4455-6677-8899-AABBCCDDEEFF}");
  auto bytes_of = [](const std::string& group) {
    uint32_t value = static_cast<uint32_t>(std::stoul(group, nullptr, 16));
    std::string out;
    for (int i = 0; i < 4; ++i) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02X", (value >> (8 * i)) & 0xFF);
      out += hex;
    }
    return out;
  };
  EXPECT_EQ(bytes_of(g.d1) + bytes_of(g.d23) + bytes_of(g.d4) + bytes_of(g.d5),
            "33221100"
            "5544"
            "7766"
            "8899AABBCCDDEEFF");
}

TEST(WriteGuidConstantTest, ReadsUseInvokeOnce) {
  RenderContext context;
  int reads = 0;
  context.use_invoke = [&reads] { return ++reads > 1; };
  FakeType type("IFoo");
  type.SetGuidText("{00020400-0000-0000-C000-000000000046}");
  std::string out;
  WriteGuidConstant(&context, kIidPrefix, "IFoo", type, nullptr, &out);
  EXPECT_EQ(reads, 1);
  EXPECT_NE(out.find("end with \r\n"), std::string::npos);
}

TEST(WriteGuidConstantTest, DamagedGuidTextDoesNotReadPastIt) {
  RenderContext context = Context(false);
  FakeType type("IShort");
  type.SetGuidText("{1234}");
  std::string out;
  WriteGuidConstant(&context, kIidPrefix, "IShort", type, nullptr, &out);
  EXPECT_NE(out.find("    .d1=&h1234 : .d23=&h : .d4=&h : .d5=&h\r\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace velbrook::render
