// AnalyseParameters over every pointer shape the parameter table knows: what
// an [in] pointer becomes in each style, and the out pointers beside it.
#include "render/param_table.h"

#include <gtest/gtest.h>

#include "fakes/fake_component.h"

namespace velbrook::render {
namespace {

using fakes::FakeMember;
using fakes::FakeType;
using fakes::FakeTypeDescriptor;
using fakes::Param;
using namespace typeinfo;

enum class Style { kVtable, kInvoke, kEvent };

// vt kRecord and kGuid stand for user-defined types named RECT and GUID.
constexpr int32_t kRecord = -1;
constexpr int32_t kGuid = -2;

struct ShapeCase {
  const char* label;
  int32_t vt;
  int32_t level;
  int32_t flags;
  Style style;
  const char* name;
  const char* type;
  const char* note;
  const char* base_word;
};

void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.label; }

class PointerShapeTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(PointerShapeTest, Row) {
  const ShapeCase& c = GetParam();
  FakeMember member("M");
  if (c.vt < 0) {
    auto descriptor = std::make_shared<FakeTypeDescriptor>(0, c.level);
    descriptor->SetReferencedType(
        std::make_shared<FakeType>(c.vt == kGuid ? "GUID" : "RECT", kTypeKindRecord));
    member.AddParameter(std::make_shared<fakes::FakeParameter>("x", c.flags, descriptor));
  } else {
    member.AddParameter(Param("x", c.flags, c.vt, c.level));
  }
  const ParamTable table =
      AnalyseParameters(member, c.style == Style::kEvent, c.style == Style::kVtable);
  ASSERT_EQ(table.rows.size(), 1u);
  const ParamRow& row = table.rows[0];
  EXPECT_EQ(row.name, c.name);
  EXPECT_EQ(row.type, c.type);
  EXPECT_EQ(row.note, c.note);
  EXPECT_EQ(row.base_word, c.base_word);
}

constexpr int32_t kIn = kParamFlagIn;
constexpr int32_t kOut = kParamFlagOut;
constexpr int32_t kInOut = kParamFlagIn | kParamFlagOut;
constexpr Style kVtable = Style::kVtable;

// The parameter is named "x": ParamPrefix of the element type before it, and
// "p" before that where the variable holds an address.
INSTANTIATE_TEST_SUITE_P(
    Shapes, PointerShapeTest,
    ::testing::Values(
        // Pushed as values: a pointer to one of them must become an address.
        ShapeCase{"OLECHAR*", 18, 1, kIn, kVtable, "pl_x", "integer",
                  "WORD [VT_UI2] [in] [pointerlevel=1] ", "DWORD"},
        ShapeCase{"short*", 2, 1, kIn, kVtable, "pw_x", "integer",
                  "WORD [VT_I2] [in] [pointerlevel=1] ", "DWORD"},
        ShapeCase{"char** (rgszNames)", 16, 2, kIn, kVtable, "pb_x", "integer",
                  "BYTE [VT_I1] [in] [pointerlevel=2] ", "DWORD"},
        ShapeCase{"byte*", 17, 1, kIn, kVtable, "pl_x", "integer",
                  "BYTE [VT_UI1] [in] [pointerlevel=1] ", "DWORD"},
        ShapeCase{"float*", 4, 1, kIn, kVtable, "ps_x", "integer",
                  "SINGLE [VT_R4] [in] [pointerlevel=1] ", "DWORD"},
        ShapeCase{"no direction flag", 18, 1, 0, kVtable, "pl_x", "integer",
                  "WORD [VT_UI2] [pointerlevel=1] ", "DWORD"},
        // The values themselves stay values.
        ShapeCase{"WORD", 18, 0, kIn, kVtable, "l_x", "WORD", "[VT_UI2] [in] ", "WORD"},
        ShapeCase{"float", 4, 0, kIn, kVtable, "s_x", "SINGLE", "[VT_R4] [in] ", "SINGLE"},
        // An integer already holds whatever address it is given.
        ShapeCase{"long**", 3, 2, kIn, kVtable, "l_x", "integer", "[VT_I4] [in] ", "LONG"},
        ShapeCase{"IUnknown*", 13, 0, kIn, kVtable, "l_x", "integer", "[VT_UNKNOWN] [in] ",
                  "DWORD"},
        ShapeCase{"record*", kRecord, 1, kIn, kVtable, "l_x", "integer", "record [VT=0] [in] RECT",
                  "DWORD"},
        ShapeCase{"SAFEARRAY(long)*", 0x2003, 1, kIn, kVtable, "ax", "integer",
                  "Array of LONG [VT_I4] LONG [VT_I4]", "DWORD"},
        // "@" gives one level: enough for one pointer, too few for two.
        ShapeCase{"double*", 5, 1, kIn, kVtable, "d_x", "DOUBLE", "[VT_R8] [in] ", "DOUBLE"},
        ShapeCase{"double**", 5, 2, kIn, kVtable, "pd_x", "integer",
                  "DOUBLE [VT_R8] [in] [pointerlevel=2] ", "DWORD"},
        ShapeCase{"CY*", 6, 1, kIn, kVtable, "q_x", "int64", "[VT_CY] [in] ", "int64"},
        ShapeCase{"VARIANT*", 12, 1, kIn, kVtable, "v_x", "VARIANT", "[VT_VARIANT] [in] ",
                  "VARIANT"},
        ShapeCase{"VARIANT**", 12, 2, kIn, kVtable, "pv_x", "integer",
                  "VARIANT [VT_VARIANT] [in] [pointerlevel=2] ", "DWORD"},
        ShapeCase{"REFGUID", kGuid, 1, kIn, kVtable, "_x", "GUID", "[VT=0] [in] ", "GUID"},
        ShapeCase{"GUID**", kGuid, 2, kIn, kVtable, "px", "integer",
                  "GUID [VT=0] [in] [pointerlevel=2] ", "DWORD"},
        // A string pointer is passed as the address of its converted BSTR.
        ShapeCase{"BSTR*", 8, 1, kIn, kVtable, "strx", "STRING", "[VT_BSTR] [in] [pointerlevel=1] ",
                  "STRING"},
        ShapeCase{"BSTR**", 8, 2, kIn, kVtable, "pstrx", "integer",
                  "STRING [VT_BSTR] [in] [pointerlevel=2] ", "DWORD"},
        // Out pointers were addresses already; [in, out] is one of them.
        ShapeCase{"[out] short*", 2, 1, kOut, kVtable, "pw_x", "integer", "WORD [VT_I2] [byref] ",
                  "WORD"},
        ShapeCase{"[in, out] OLECHAR*", 18, 1, kInOut, kVtable, "pl_x", "integer",
                  "WORD [VT_UI2] [in] [byref] ", "WORD"},
        // Invoke usage comments and event templates keep the element type.
        ShapeCase{"OLECHAR* with Invoke", 18, 1, kIn, Style::kInvoke, "l_x", "WORD",
                  "[VT_UI2] [in] ", "WORD"},
        ShapeCase{"OLECHAR* in an event", 18, 1, kIn, Style::kEvent, "vx", "variant",
                  "WORD [VT_UI2] [in] ", "WORD"}));

}  // namespace
}  // namespace velbrook::render
