// The failed-reference memory of one library.
#include "typeinfo/oleaut/ref_cache.h"

namespace velbrook::typeinfo::oleaut {

namespace {

// HRESULT_FROM_WIN32 of the file errors, as constants.
constexpr HRESULT FromWin32(DWORD error) {
  return static_cast<HRESULT>((error & 0xFFFF) | (FACILITY_WIN32 << 16) | 0x80000000u);
}

}  // namespace

RefCache::RefCache()
    : lookup_([](ITypeInfo* context, HREFTYPE href, ITypeInfo** out) {
        return context->GetRefTypeInfo(href, out);
      }) {}

bool RefCache::IsLibraryFailure(HRESULT result) {
  switch (result) {
    case TYPE_E_CANTLOADLIBRARY:
    case TYPE_E_LIBNOTREGISTERED:
    case TYPE_E_REGISTRYACCESS:
    case TYPE_E_INVDATAREAD:
    case TYPE_E_UNSUPFORMAT:
    case TYPE_E_IOERROR:
    case STG_E_FILENOTFOUND:
    case STG_E_PATHNOTFOUND:
    case FromWin32(ERROR_FILE_NOT_FOUND):
    case FromWin32(ERROR_PATH_NOT_FOUND):
    case FromWin32(ERROR_MOD_NOT_FOUND):
    case FromWin32(ERROR_BAD_EXE_FORMAT):
      return true;
    default:
      return false;
  }
}

ITypeInfo* RefCache::Resolve(ITypeInfo* context, HREFTYPE href) {
  if (context == nullptr || unloadable_.count(href) > 0 || failed_.count({context, href}) > 0) {
    return nullptr;
  }
  ITypeInfo* referenced = nullptr;
  ++lookups_;
  const HRESULT result = lookup_(context, href, &referenced);
  if (SUCCEEDED(result) && referenced != nullptr) return referenced;
  if (IsLibraryFailure(result)) {
    unloadable_.insert(href);
  } else {
    failed_.insert({context, href});
  }
  return nullptr;
}

}  // namespace velbrook::typeinfo::oleaut
