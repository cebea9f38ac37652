// GetRefTypeInfo with the library's memory of references that failed.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <cstddef>
#include <functional>
#include <set>
#include <unordered_set>
#include <utility>

namespace velbrook::typeinfo::oleaut {

// oleaut32 does not remember an imported library it could not load: every
// reference into it that is followed starts the registry and file search
// anew (one Office library asked 6,660 times under Wine). A failed reference
// is therefore asked once per type info and HREFTYPE; and when the failure
// is a library that cannot be loaded, once for the whole library: a type
// library keeps one table of its HREFTYPEs for all its type infos (the
// automation protocol's type reference table), so the same HREFTYPE names
// the same import everywhere. Other failures stay with their type info,
// since some HREFTYPEs (the other face of a dual interface) depend on it.
// Successes are not remembered: oleaut32 keeps a library once loaded.
class RefCache {
 public:
  // GetRefTypeInfo of context for href; the test seam.
  using Lookup = std::function<HRESULT(ITypeInfo* context, HREFTYPE href, ITypeInfo** out)>;

  RefCache();
  explicit RefCache(Lookup lookup) : lookup_(std::move(lookup)) {}

  // The referenced type info with a reference of its own, or null.
  ITypeInfo* Resolve(ITypeInfo* context, HREFTYPE href);
  // Calls made into oleaut32 so far.
  size_t lookups() const { return lookups_; }

  // True for the results of a library that cannot be found or read.
  static bool IsLibraryFailure(HRESULT result);

 private:
  Lookup lookup_;
  std::unordered_set<HREFTYPE> unloadable_;
  std::set<std::pair<ITypeInfo*, HREFTYPE>> failed_;
  size_t lookups_ = 0;
};

}  // namespace velbrook::typeinfo::oleaut
