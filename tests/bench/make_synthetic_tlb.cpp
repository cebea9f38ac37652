// Writes a synthetic type library of N dual interfaces with oleaut32's own
// writer (widl cannot compile libraries of more than 512 types). Used by the
// reader and generation benchmarks.
// Usage: make-synthetic-tlb.exe OUTPUT.tlb COUNT
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const GUID kLibraryGuid = {
    0x5e1d0c7a, 0x2b4f, 0x4c61, {0x9a, 0x3e, 0x11, 0x2f, 0x6b, 0x80, 0x4d, 0x01}};

GUID InterfaceGuid(unsigned index) {
  GUID guid = kLibraryGuid;
  guid.Data1 += index + 1;
  return guid;
}

bool Check(HRESULT hr, const char* what) {
  if (SUCCEEDED(hr)) return true;
  std::fprintf(stderr, "make-synthetic-tlb: %s failed: 0x%08lX\n", what,
               static_cast<unsigned long>(hr));
  return false;
}

// One function: HRESULT Name([in] BSTR text, [in] long count, [out, retval] long* result)
// or a property get/put pair, depending on kind.
bool AddFunctions(ICreateTypeInfo* info, unsigned index) {
  static TYPEDESC long_ptr_target = {{nullptr}, VT_I4};
  ELEMDESC params[3] = {};
  params[0].tdesc.vt = VT_BSTR;
  params[0].paramdesc.wParamFlags = PARAMFLAG_FIN;
  params[1].tdesc.vt = VT_I4;
  params[1].paramdesc.wParamFlags = PARAMFLAG_FIN;
  params[2].tdesc.vt = VT_PTR;
  params[2].tdesc.lptdesc = &long_ptr_target;
  params[2].paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;

  FUNCDESC func = {};
  func.funckind = FUNC_PUREVIRTUAL;
  func.callconv = CC_STDCALL;
  func.elemdescFunc.tdesc.vt = VT_HRESULT;

  func.memid = 1;
  func.invkind = INVOKE_FUNC;
  func.cParams = 3;
  func.lprgelemdescParam = params;
  std::wstring method = L"Method" + std::to_wstring(index);
  LPOLESTR method_names[] = {const_cast<LPOLESTR>(method.c_str()), const_cast<LPOLESTR>(L"text"),
                             const_cast<LPOLESTR>(L"count")};
  if (!Check(info->AddFuncDesc(0, &func), "AddFuncDesc") ||
      !Check(info->SetFuncAndParamNames(0, method_names, 3), "SetFuncAndParamNames")) {
    return false;
  }

  func.memid = 2;
  func.invkind = INVOKE_PROPERTYGET;
  func.cParams = 1;
  func.lprgelemdescParam = &params[2];
  LPOLESTR get_names[] = {const_cast<LPOLESTR>(L"Value")};
  if (!Check(info->AddFuncDesc(1, &func), "AddFuncDesc") ||
      !Check(info->SetFuncAndParamNames(1, get_names, 1), "SetFuncAndParamNames")) {
    return false;
  }

  func.invkind = INVOKE_PROPERTYPUT;
  func.lprgelemdescParam = &params[1];
  LPOLESTR put_names[] = {const_cast<LPOLESTR>(L"Value")};
  return Check(info->AddFuncDesc(2, &func), "AddFuncDesc") &&
         Check(info->SetFuncAndParamNames(2, put_names, 1), "SetFuncAndParamNames");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make-synthetic-tlb OUTPUT.tlb COUNT\n");
    return 2;
  }
  unsigned count = static_cast<unsigned>(std::wcstoul(argv[2], nullptr, 10));
  CoInitialize(nullptr);

  ITypeLib* stdole = nullptr;
  ITypeInfo* dispatch = nullptr;
  if (!Check(LoadTypeLibEx(L"stdole2.tlb", REGKIND_NONE, &stdole), "LoadTypeLibEx stdole2") ||
      !Check(stdole->GetTypeInfoOfGuid(IID_IDispatch, &dispatch), "IDispatch")) {
    return 1;
  }

  ICreateTypeLib2* library = nullptr;
  if (!Check(CreateTypeLib2(SYS_WIN32, argv[1], &library), "CreateTypeLib2")) return 1;
  library->SetGuid(kLibraryGuid);
  library->SetName(const_cast<LPOLESTR>(L"Synthetic"));
  library->SetVersion(1, 0);
  library->SetLcid(0);

  for (unsigned i = 0; i < count; ++i) {
    std::wstring name = L"ISynthetic" + std::to_wstring(i);
    ICreateTypeInfo* info = nullptr;
    if (!Check(library->CreateTypeInfo(const_cast<LPOLESTR>(name.c_str()), TKIND_INTERFACE, &info),
               "CreateTypeInfo")) {
      return 1;
    }
    HREFTYPE base = 0;
    info->SetGuid(InterfaceGuid(i));
    info->SetTypeFlags(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION);
    if (!Check(info->AddRefTypeInfo(dispatch, &base), "AddRefTypeInfo") ||
        !Check(info->AddImplType(0, base), "AddImplType") || !AddFunctions(info, i) ||
        !Check(info->LayOut(), "LayOut")) {
      return 1;
    }
    info->Release();
  }
  if (!Check(library->SaveAllChanges(), "SaveAllChanges")) return 1;
  library->Release();
  std::printf("wrote %u interfaces to %ls\n", count, argv[1]);
  return 0;
}
