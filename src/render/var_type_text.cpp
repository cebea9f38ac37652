// The fixed VT code table of the type words.
#include "render/var_type_text.h"

namespace velbrook::render {
namespace {

struct VarTypeRow {
  int32_t vt;
  const char* text;  // type word and its comment, as generated
};

// The comment starts with a blank and the HotBasic comment mark; callers
// split the text at that apostrophe.
constexpr VarTypeRow kVarTypeRows[] = {
    {0, "DWORD '[VT_EMPTY]"},
    {1, "DWORD '[VT_NULL]"},
    {2, "WORD '[VT_I2]"},
    {3, "LONG '[VT_I4]"},
    {4, "SINGLE '[VT_R4]"},
    {5, "DOUBLE '[VT_R8]"},
    {6, "int64 '[VT_CY]"},
    {7, "DOUBLE '[VT_DATE]"},
    {8, "STRING '[VT_BSTR]"},
    {9, "DWORD '[VT_DISPATCH]"},
    {10, "DWORD '[VT_ERROR]"},
    {11, "LONG '[VT_BOOL]"},
    {12, "VARIANT '[VT_VARIANT]"},
    {13, "DWORD '[VT_UNKNOWN]"},
    {14, "DWORD '[VT_DECIMAL]"},
    {16, "BYTE '[VT_I1]"},
    {17, "BYTE '[VT_UI1]"},
    {18, "WORD '[VT_UI2]"},
    {19, "DWORD '[VT_UI4]"},
    {20, "int64 '[VT_I8]"},
    {21, "int64 '[VT_UI8]"},
    {22, "LONG '[VT_INT]"},
    {23, "DWORD '[VT_UINT]"},
    {24, "DWORD '[VT_VOID]"},
    {25, "DWORD '[VT_HRESULT]"},
    {26, "DWORD '[VT_PTR]"},
    {27, "DWORD '[VT_SAFEARRAY]"},
    {28, "DWORD '[VT_CARRAY]"},
    {29, "DWORD '[VT_USERDEFINED]"},
    {30, "STRING '[VT_LPSTR]"},
    {31, "STRING '[VT_LPWSTR]"},
    {36, "DWORD '[VT_RECORD]"},
    {64, "int64 '[VT_FILETIME]"},
    {65, "DWORD '[VT_BLOB]"},
    {66, "DWORD '[VT_STREAM]"},
    {67, "DWORD '[VT_STORAGE]"},
    {68, "DWORD '[VT_STREAMED_OBJECT]"},
    {69, "DWORD '[VT_STORED_OBJECT]"},
    {70, "DWORD '[VT_BLOB_OBJECT]"},
    {71, "DWORD '[VT_CF]"},
    {72, "GUID '[VT_CLSID]"},
    {4096, "DWORD '[&h1000]"},
    {8192, "DWORD '[&h2000]"},
    {16384, "VT_BYREF"},
    {32768, "VT_RESERVED"},
};

}  // namespace

std::string VarTypeText(int32_t vt) {
  for (const VarTypeRow& row : kVarTypeRows) {
    if (row.vt == vt) return row.text;
  }
  return std::string();
}

}  // namespace velbrook::render
