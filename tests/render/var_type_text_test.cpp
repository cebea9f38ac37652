// VarTypeText over its whole table and the codes outside it.
#include "render/var_type_text.h"

#include <gtest/gtest.h>

namespace velbrook::render {
namespace {

struct VarTypeCase {
  int32_t vt;
  const char* expected;
};

class VarTypeTextTest : public ::testing::TestWithParam<VarTypeCase> {};

TEST_P(VarTypeTextTest, GivesTypeWordAndComment) {
  EXPECT_EQ(VarTypeText(GetParam().vt), GetParam().expected) << "vt " << GetParam().vt;
}

INSTANTIATE_TEST_SUITE_P(
    Table, VarTypeTextTest,
    ::testing::Values(
        VarTypeCase{0, "DWORD '[VT_EMPTY]"}, VarTypeCase{1, "DWORD '[VT_NULL]"},
        VarTypeCase{2, "WORD '[VT_I2]"}, VarTypeCase{3, "LONG '[VT_I4]"},
        VarTypeCase{4, "SINGLE '[VT_R4]"}, VarTypeCase{5, "DOUBLE '[VT_R8]"},
        VarTypeCase{6, "int64 '[VT_CY]"}, VarTypeCase{7, "DOUBLE '[VT_DATE]"},
        VarTypeCase{8, "STRING '[VT_BSTR]"}, VarTypeCase{9, "DWORD '[VT_DISPATCH]"},
        VarTypeCase{10, "DWORD '[VT_ERROR]"}, VarTypeCase{11, "LONG '[VT_BOOL]"},
        VarTypeCase{12, "VARIANT '[VT_VARIANT]"}, VarTypeCase{13, "DWORD '[VT_UNKNOWN]"},
        VarTypeCase{14, "DWORD '[VT_DECIMAL]"}, VarTypeCase{16, "BYTE '[VT_I1]"},
        VarTypeCase{17, "BYTE '[VT_UI1]"}, VarTypeCase{18, "WORD '[VT_UI2]"},
        VarTypeCase{19, "DWORD '[VT_UI4]"}, VarTypeCase{20, "int64 '[VT_I8]"},
        VarTypeCase{21, "int64 '[VT_UI8]"}, VarTypeCase{22, "LONG '[VT_INT]"},
        VarTypeCase{23, "DWORD '[VT_UINT]"}, VarTypeCase{24, "DWORD '[VT_VOID]"},
        VarTypeCase{25, "DWORD '[VT_HRESULT]"}, VarTypeCase{26, "DWORD '[VT_PTR]"},
        VarTypeCase{27, "DWORD '[VT_SAFEARRAY]"}, VarTypeCase{28, "DWORD '[VT_CARRAY]"},
        VarTypeCase{29, "DWORD '[VT_USERDEFINED]"}, VarTypeCase{30, "STRING '[VT_LPSTR]"},
        VarTypeCase{31, "STRING '[VT_LPWSTR]"}, VarTypeCase{36, "DWORD '[VT_RECORD]"},
        VarTypeCase{64, "int64 '[VT_FILETIME]"}, VarTypeCase{65, "DWORD '[VT_BLOB]"},
        VarTypeCase{66, "DWORD '[VT_STREAM]"}, VarTypeCase{67, "DWORD '[VT_STORAGE]"},
        VarTypeCase{68, "DWORD '[VT_STREAMED_OBJECT]"},
        VarTypeCase{69, "DWORD '[VT_STORED_OBJECT]"}, VarTypeCase{70, "DWORD '[VT_BLOB_OBJECT]"},
        VarTypeCase{71, "DWORD '[VT_CF]"}, VarTypeCase{72, "GUID '[VT_CLSID]"},
        VarTypeCase{4096, "DWORD '[&h1000]"}, VarTypeCase{8192, "DWORD '[&h2000]"},
        VarTypeCase{16384, "VT_BYREF"}, VarTypeCase{32768, "VT_RESERVED"}));

// Codes with no row, combined codes included: no bit is masked.
INSTANTIATE_TEST_SUITE_P(OutsideTable, VarTypeTextTest,
                         ::testing::Values(VarTypeCase{15, ""}, VarTypeCase{32, ""},
                                           VarTypeCase{33, ""}, VarTypeCase{34, ""},
                                           VarTypeCase{35, ""}, VarTypeCase{37, ""},
                                           VarTypeCase{50, ""}, VarTypeCase{63, ""},
                                           VarTypeCase{73, ""}, VarTypeCase{8195, ""},
                                           VarTypeCase{4099, ""}, VarTypeCase{16392, ""},
                                           VarTypeCase{-1, ""}, VarTypeCase{65536 + 3, ""}));

TEST(VarTypeTextShapeTest, CommentStartsWithBlankAndApostrophe) {
  for (int32_t vt = 0; vt <= 0x9000; ++vt) {
    const std::string text = VarTypeText(vt);
    if (text.empty() || text == "VT_BYREF" || text == "VT_RESERVED") continue;
    const size_t apostrophe = text.find('\'');
    ASSERT_NE(apostrophe, std::string::npos) << vt;
    EXPECT_EQ(text[apostrophe - 1], ' ') << vt;
    EXPECT_EQ(text.substr(apostrophe + 1, 1), "[") << vt;
    EXPECT_EQ(text.back(), ']') << vt;
  }
}

TEST(VarTypeTextShapeTest, ByrefHasNoApostrophe) {
  EXPECT_EQ(VarTypeText(16384).find('\''), std::string::npos);
}

}  // namespace
}  // namespace velbrook::render
