// The type-information component: the object kinds and operations that every
// other part of Velbrook walks. Two readers implement it (oleaut32 and our own
// file reader); callers only ever see these interfaces.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "typeinfo/result.h"
#include "typeinfo/variant.h"

namespace velbrook::typeinfo {

class Type;
class Member;
class Parameter;
class TypeDescriptor;
class RawTypeInfo;

// Texts come as views (the *View operations) so that walking a library
// copies nothing; Name(), HelpString() and the like copy a view into a
// std::string for callers that keep or build text. A view stays valid as long
// as the object it came from, that is as long as the Library that object
// belongs to: it points into that library's bytes or into memory the library
// owns, never into a temporary. Do not keep one past the Library.

// An ordered collection indexed from 1 to Count(). Item() outside that range
// yields null. Callers walk Count() & 0xFFFF entries (see WalkCount).
template <typename T>
class List {
 public:
  virtual ~List() = default;
  virtual uint32_t Count() const = 0;
  virtual const T* Item(uint32_t index) const = 0;
};

using TypeList = List<Type>;
using MemberList = List<Member>;
using ParameterList = List<Parameter>;

// Only the low 16 bits of a count are used by callers.
template <typename T>
uint32_t WalkCount(const List<T>* list) {
  return list == nullptr ? 0 : (list->Count() & 0xFFFFu);
}

// TYPEKIND values.
enum TypeKindValue : int32_t {
  kTypeKindEnum = 0,
  kTypeKindRecord = 1,
  kTypeKindModule = 2,
  kTypeKindInterface = 3,
  kTypeKindDispatch = 4,
  kTypeKindCoclass = 5,
  kTypeKindAlias = 6,
  kTypeKindUnion = 7,
};

// TYPEFLAGS bits used by callers.
constexpr uint32_t kTypeFlagCanCreate = 0x02;
constexpr uint32_t kTypeFlagControl = 0x20;
constexpr uint32_t kTypeFlagDual = 0x40;

// SYSKIND values.
constexpr int32_t kSysKindWin16 = 0;
constexpr int32_t kSysKindWin32 = 1;
constexpr int32_t kSysKindMac = 2;
constexpr int32_t kSysKindWin64 = 3;

// IMPLTYPEFLAGS bits.
constexpr int32_t kImplTypeFlagDefault = 0x1;
constexpr int32_t kImplTypeFlagSource = 0x2;

// PARAMFLAGS bits.
constexpr int32_t kParamFlagIn = 0x01;
constexpr int32_t kParamFlagOut = 0x02;
constexpr int32_t kParamFlagLcid = 0x04;
constexpr int32_t kParamFlagRetval = 0x08;
constexpr int32_t kParamFlagOptional = 0x10;
constexpr int32_t kParamFlagHasDefault = 0x20;

// InvokeKind values; 0 is a data member (variable, constant or field).
constexpr int32_t kInvokeData = 0;
constexpr int32_t kInvokeFunc = 1;
constexpr int32_t kInvokePropertyGet = 2;
constexpr int32_t kInvokePropertyPut = 4;
constexpr int32_t kInvokePropertyPutRef = 8;

// HRESULTs the component hands back where callers test a result.
constexpr int32_t kResultOk = 0;
constexpr int32_t kResultNullObject = -1;
constexpr int32_t kResultFail = static_cast<int32_t>(0x80004005);
constexpr int32_t kResultBadIndex = static_cast<int32_t>(0x8002000B);

// One dimension of a fixed-size array.
struct ArrayBound {
  int32_t lower = 0;
  int32_t upper = 0;
};

// What a VT_USERDEFINED reference into another library names when that type
// cannot be found (the library is missing, or lacks it): the imported
// library's file name as the importing library records it, and the type as
// the reference gives it: its GUID, or "type #N" for a reference by position.
struct MissingType {
  std::string import_file;
  std::string type;
};

class TypeDescriptor {
 public:
  virtual ~TypeDescriptor() = default;
  // The type of a VT_USERDEFINED element, or null (also when unresolved).
  virtual const Type* ReferencedType() const = 0;
  // For a VT_USERDEFINED element whose ReferencedType is null because it is
  // imported from a library that was not found: what the reference names.
  virtual std::optional<MissingType> MissingReference() const { return std::nullopt; }
  // Number of VT_PTR levels removed before the element type.
  virtual int32_t PointerLevel() const = 0;
  // Element VT after removing pointers; 0x2000|T for SAFEARRAY of T,
  // 0x1000|T for a fixed-size array of T, 0 for a user-defined type.
  virtual int32_t VarType() const = 0;
  // Bounds of a fixed-size array, one entry per dimension; empty otherwise.
  virtual std::vector<ArrayBound> ArrayBounds() const = 0;
};

class Parameter {
 public:
  virtual ~Parameter() = default;
  virtual std::string_view NameView() const = 0;
  std::string Name() const { return std::string(NameView()); }
  virtual const TypeDescriptor* ParamType() const = 0;
  virtual int32_t ParamFlags() const = 0;
};

class Member {
 public:
  virtual ~Member() = default;
  virtual std::string_view NameView() const = 0;
  std::string Name() const { return std::string(NameView()); }
  // Null when the member has no parameters.
  virtual const ParameterList* Parameters() const = 0;
  // For a function its return type; for a data member its type.
  virtual const TypeDescriptor* ValueType() const = 0;
  // Value of a constant; VT_EMPTY when the member is no constant.
  virtual Variant ConstantValue() const = 0;
  virtual int32_t MemberId() const = 0;
  virtual int32_t VTableOffset() const = 0;
  virtual int32_t InvokeKind() const = 0;
  // Where a field starts in its record or union, in bytes as the library
  // stores it (VARDESC oInst of a VAR_PERINSTANCE variable); -1 for every
  // other member.
  virtual int64_t InstanceOffset() const = 0;
  // Raw help string; callers clean it with CleanHelpText.
  virtual std::string_view HelpStringView() const = 0;
  std::string HelpString() const { return std::string(HelpStringView()); }
};

// The few ITypeInfo operations the source-interface walk needs. Each returns
// an HRESULT the caller tests; on failure the out value is left cleared.
class RawTypeInfo {
 public:
  virtual ~RawTypeInfo() = default;
  // TYPEATTR.cImplTypes.
  virtual int32_t GetTypeAttr(int32_t* impl_type_count) const = 0;
  virtual int32_t GetImplTypeFlags(uint32_t index, int32_t* flags) const = 0;
  // GetRefTypeOfImplType followed by GetRefTypeInfo.
  virtual const RawTypeInfo* GetRefTypeInfoOfImplType(uint32_t index) const = 0;
  // GetDocumentation(MEMBERID_NIL), name only.
  virtual int32_t GetDocumentationName(std::string* name) const = 0;
};

class Type {
 public:
  virtual ~Type() = default;
  virtual std::string_view NameView() const = 0;
  std::string Name() const { return std::string(NameView()); }
  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex.
  virtual std::string_view GuidTextView() const = 0;
  std::string GuidText() const { return std::string(GuidTextView()); }
  virtual uint32_t TypeFlags() const = 0;
  // Short word for the kind, see KindTextOf in kind_text.h.
  virtual std::string_view KindTextView() const = 0;
  std::string KindText() const { return std::string(KindTextView()); }
  // Dual dispinterface: its vtable interface; vtable interface: itself;
  // pure dispinterface and every other kind: null.
  virtual const Type* VTableInterface() const = 0;
  virtual const MemberList* Members() const = 0;
  // Direct bases of an interface; implemented interfaces of a coclass.
  virtual const TypeList* ImplementedInterfaces() const = 0;
  virtual const Type* DefaultInterface() const = 0;
  virtual const Type* DefaultEventInterface() const = 0;
  virtual int32_t TypeKind() const = 0;
  virtual std::string_view HelpStringView() const = 0;
  std::string HelpString() const { return std::string(HelpStringView()); }
  virtual const class RawTypeInfo* RawTypeInfo() const = 0;
  // TYPEATTR cbSizeInstance and cbAlignment as the library stores them: for
  // a record or union its size and alignment in bytes, laid out for the
  // library's SysKind.
  virtual uint32_t InstanceSize() const = 0;
  virtual uint32_t Alignment() const = 0;
  // An alias's aliased type (TYPEATTR tdescAlias); null for every other kind
  // (and for a reader that cannot tell).
  virtual const TypeDescriptor* AliasedType() const { return nullptr; }
  // Name of the library that defines the type: differs from the opened
  // library's for a type imported from another one. Empty when unknown.
  virtual std::string_view LibraryNameView() const { return std::string_view(); }
  std::string LibraryName() const { return std::string(LibraryNameView()); }
};

class Library {
 public:
  virtual ~Library() = default;
  virtual std::string Name() const = 0;
  virtual std::string GuidText() const = 0;
  virtual uint16_t MajorVersion() const = 0;
  virtual uint16_t MinorVersion() const = 0;
  // TLIBATTR.lcid; 0 (neutral) for a reader that cannot tell.
  virtual uint32_t Lcid() const { return 0; }
  virtual std::string HelpString() const = 0;
  // TLIBATTR syskind: the platform the library's layouts were made for.
  virtual int32_t SysKind() const = 0;
  virtual const TypeList* ObjectClasses() const = 0;
  virtual const TypeList* Interfaces() const = 0;
  virtual const TypeList* Enumerations() const = 0;
  virtual const TypeList* Records() const = 0;
  // Modules (TKIND_MODULE): where database and Office libraries keep
  // language and option constants. Null for a reader that lists none.
  virtual const TypeList* Modules() const { return nullptr; }
};

// The application object: opens library files. A path may end in "\N" to
// select TYPELIB resource N of a PE file.
class Opener {
 public:
  virtual ~Opener() = default;
  virtual Result<std::unique_ptr<Library>> OpenLibraryFile(const std::string& path) const = 0;
  // The numbers of the TYPELIB resources of the PE module at `path`, in
  // ascending order, each openable as "path\N". Empty when the file is no PE
  // module (a bare library file) and from a reader that cannot list them,
  // which opens the path as it is. An error when the file cannot be read
  // (kNotFound when it does not exist) or is a module without any TYPELIB
  // resource.
  virtual Result<std::vector<uint16_t>> TypeLibResourceNumbers(const std::string& /*path*/) const {
    return std::vector<uint16_t>();
  }
};

}  // namespace velbrook::typeinfo
