// The shapes fixture (fixtures/shapes.idl, compiled by widl): every fact
// checked here follows from the IDL and from how oleaut32 presents it.
#include <gtest/gtest.h>

#include "test_support.h"
#include "typeinfo/dump.h"
#include "typeinfo/msft/portable_opener.h"

namespace velbrook::typeinfo::msft {
namespace {

using testing::FindMember;
using testing::FindType;
using testing::FixturePath;
using testing::WinePath;

constexpr int32_t kVtI2 = 2, kVtI4 = 3, kVtR8 = 5, kVtBstr = 8, kVtVoid = 24, kVtHresult = 25;

class MsftFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    auto opened = opener_.OpenLibraryFile(FixturePath("shapes.tlb"));
    ASSERT_TRUE(opened.ok()) << opened.error().message;
    library_ = std::move(opened.value());
  }
  const Type& Get(const std::string& name) {
    const Type* type = FindType(*library_, name);
    EXPECT_NE(type, nullptr) << name;
    static const Type* none = nullptr;
    return type ? *type : *none;
  }
  PortableOpener opener_;
  std::unique_ptr<Library> library_;
};

TEST_F(MsftFixture, LibraryAttributesAndLists) {
  EXPECT_EQ(library_->Name(), "VelbrookShapes");
  EXPECT_EQ(library_->GuidText(), "{7A1C5E20-1D2B-4C3D-9E8F-0A1B2C3D4E5F}");
  EXPECT_EQ(library_->MajorVersion(), 1);
  EXPECT_EQ(library_->MinorVersion(), 2);
  EXPECT_EQ(library_->HelpString(), "Velbrook shapes fixture");
  EXPECT_EQ(library_->ObjectClasses()->Count(), 1u);
  EXPECT_EQ(library_->Interfaces()->Count(), 3u);
  EXPECT_EQ(library_->Enumerations()->Count(), 1u);
  EXPECT_EQ(library_->Records()->Count(), 1u);  // the alias is in no list
  EXPECT_EQ(library_->Records()->Item(1)->Name(), "Point");
  EXPECT_EQ(library_->Records()->Item(0), nullptr);
  EXPECT_EQ(library_->Records()->Item(2), nullptr);
}

TEST_F(MsftFixture, DualInterfaceDispatchFace) {
  const Type& shape = Get("IShape");
  EXPECT_EQ(shape.TypeKind(), kTypeKindDispatch);
  EXPECT_EQ(shape.KindText(), "dispinterface");
  EXPECT_EQ(shape.GuidText(), "{7A1C5E22-1D2B-4C3D-9E8F-0A1B2C3D4E5F}");
  EXPECT_EQ(shape.HelpString(), "Any shape");
  EXPECT_TRUE(shape.TypeFlags() & kTypeFlagDual);
  EXPECT_FALSE(shape.TypeFlags() & 0x100) << "a dispatch face is never oleautomation";
  // IUnknown (3) and IDispatch (4) come first, then the five own functions.
  const MemberList* members = shape.Members();
  ASSERT_EQ(members->Count(), 12u);
  EXPECT_EQ(members->Item(1)->Name(), "QueryInterface");
  EXPECT_EQ(members->Item(7)->Name(), "Invoke");
  EXPECT_EQ(members->Item(8)->Name(), "Area");
  const Member* area = FindMember(shape, "Area", kInvokePropertyGet);
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->Parameters(), nullptr) << "[retval] is hidden from IDispatch";
  EXPECT_EQ(area->ValueType()->VarType(), kVtR8);
  EXPECT_EQ(area->VTableOffset(), 28);
  EXPECT_EQ(area->MemberId(), 1);
  EXPECT_EQ(area->HelpString(), "The area");
  const Member* move = FindMember(shape, "Move", kInvokeFunc);
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(move->ValueType()->VarType(), kVtVoid) << "an HRESULT result disappears";
  ASSERT_NE(move->Parameters(), nullptr);
  ASSERT_EQ(move->Parameters()->Count(), 2u);
  EXPECT_EQ(move->Parameters()->Item(1)->Name(), "dx");
  EXPECT_EQ(move->Parameters()->Item(2)->Name(), "dy");
  EXPECT_EQ(move->Parameters()->Item(2)->ParamFlags(), kParamFlagIn);
  EXPECT_EQ(move->VTableOffset(), 32);
  // The implemented interface of any dispinterface is IDispatch.
  ASSERT_EQ(shape.ImplementedInterfaces()->Count(), 1u);
  EXPECT_EQ(shape.ImplementedInterfaces()->Item(1)->Name(), "IDispatch");
}

TEST_F(MsftFixture, DualInterfaceVTableFace) {
  const Type& shape = Get("IShape");
  const Type* vtable = shape.VTableInterface();
  ASSERT_NE(vtable, nullptr);
  ASSERT_NE(vtable, &shape);
  EXPECT_EQ(vtable->TypeKind(), kTypeKindInterface);
  EXPECT_EQ(vtable->Name(), "IShape");
  EXPECT_EQ(vtable->VTableInterface(), vtable);
  EXPECT_EQ(vtable, shape.VTableInterface()) << "the same face each time";
  const MemberList* members = vtable->Members();
  ASSERT_EQ(members->Count(), 5u);
  const Member* area = FindMember(*vtable, "Area", kInvokePropertyGet);
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->ValueType()->VarType(), kVtHresult);
  ASSERT_NE(area->Parameters(), nullptr);
  ASSERT_EQ(area->Parameters()->Count(), 1u);
  EXPECT_EQ(area->Parameters()->Item(1)->Name(), "value");
  EXPECT_EQ(area->Parameters()->Item(1)->ParamFlags(), kParamFlagOut | kParamFlagRetval);
  EXPECT_EQ(area->Parameters()->Item(1)->ParamType()->PointerLevel(), 1);
  EXPECT_EQ(area->Parameters()->Item(1)->ParamType()->VarType(), kVtR8);
  EXPECT_EQ(FindMember(*vtable, "Corner", kInvokeFunc)->VTableOffset(), 44);
  ASSERT_EQ(vtable->ImplementedInterfaces()->Count(), 1u);
  EXPECT_EQ(vtable->ImplementedInterfaces()->Item(1)->Name(), "IDispatch");
  EXPECT_EQ(vtable->ImplementedInterfaces()->Item(1)->TypeKind(), kTypeKindInterface);
}

TEST_F(MsftFixture, DerivedDualSeesItsBaseThroughBothFaces) {
  const Type& circle = Get("ICircle");
  ASSERT_EQ(circle.Members()->Count(), 13u);  // 7 + IShape's 5 + Radius
  const Member* radius = circle.Members()->Item(13);
  EXPECT_EQ(radius->Name(), "Radius");
  EXPECT_EQ(radius->VTableOffset(), 48);
  EXPECT_EQ(circle.Members()->Item(8)->Name(), "Area");
  const Type* vtable = circle.VTableInterface();
  ASSERT_NE(vtable, nullptr);
  ASSERT_EQ(vtable->ImplementedInterfaces()->Count(), 1u);
  const Type* base = vtable->ImplementedInterfaces()->Item(1);
  EXPECT_EQ(base->Name(), "IShape");
  EXPECT_EQ(base->TypeKind(), kTypeKindInterface)
      << "a vtable interface derives from a vtable face";
  EXPECT_EQ(vtable->Members()->Count(), 1u);
}

TEST_F(MsftFixture, PureDispinterface) {
  const Type& events = Get("ShapeEvents");
  EXPECT_EQ(events.TypeKind(), kTypeKindDispatch);
  EXPECT_EQ(events.VTableInterface(), nullptr);
  // widl records no base for a plain dispinterface and a vtable size of its
  // own methods only, so oleaut32 lists just those.
  ASSERT_EQ(events.Members()->Count(), 1u);
  const Member* moved = FindMember(events, "Moved", kInvokeFunc);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(moved->VTableOffset(), 0) << "dispatch-only functions have no vtable slot";
  EXPECT_EQ(moved->ValueType()->VarType(), kVtVoid);
  ASSERT_EQ(moved->Parameters()->Count(), 2u);
  EXPECT_EQ(moved->Parameters()->Item(1)->Name(), "x");
}

TEST_F(MsftFixture, CoclassDefaults) {
  const Type& circle = Get("Circle");
  EXPECT_EQ(circle.TypeKind(), kTypeKindCoclass);
  EXPECT_EQ(circle.HelpString(), "A circle");
  EXPECT_TRUE(circle.TypeFlags() & kTypeFlagCanCreate);
  EXPECT_EQ(circle.ImplementedInterfaces()->Count(), 3u);
  ASSERT_NE(circle.DefaultInterface(), nullptr);
  EXPECT_EQ(circle.DefaultInterface()->Name(), "ICircle");
  ASSERT_NE(circle.DefaultEventInterface(), nullptr);
  EXPECT_EQ(circle.DefaultEventInterface()->Name(), "ShapeEvents");
  EXPECT_EQ(circle.VTableInterface(), nullptr);
  EXPECT_EQ(circle.Members()->Count(), 0u);
  const RawTypeInfo* raw = circle.RawTypeInfo();
  int32_t count = 0;
  ASSERT_EQ(raw->GetTypeAttr(&count), kResultOk);
  EXPECT_EQ(count, 3);
  int32_t flags = -1;
  EXPECT_EQ(raw->GetImplTypeFlags(2, &flags), kResultOk);
  EXPECT_EQ(flags, kImplTypeFlagDefault | kImplTypeFlagSource);
  EXPECT_NE(raw->GetImplTypeFlags(3, &flags), kResultOk);
  std::string name;
  ASSERT_NE(raw->GetRefTypeInfoOfImplType(1), nullptr);
  EXPECT_EQ(raw->GetRefTypeInfoOfImplType(1)->GetDocumentationName(&name), kResultOk);
  EXPECT_EQ(name, "ICircle");
  EXPECT_EQ(raw->GetRefTypeInfoOfImplType(3), nullptr);
  // Only a coclass has defaults.
  EXPECT_EQ(Get("IShape").DefaultInterface(), nullptr);
  EXPECT_EQ(Get("IShape").DefaultEventInterface(), nullptr);
}

TEST_F(MsftFixture, EnumerationConstants) {
  const Type& colour = Get("Colour");
  EXPECT_EQ(colour.TypeKind(), kTypeKindEnum);
  ASSERT_EQ(colour.Members()->Count(), 4u);
  const Member* red = colour.Members()->Item(1);
  EXPECT_EQ(red->Name(), "Red");
  EXPECT_EQ(red->InvokeKind(), kInvokeData);
  EXPECT_EQ(red->Parameters(), nullptr);
  EXPECT_EQ(red->ConstantValue().vt, kVtI4);
  EXPECT_EQ(red->ConstantValue().AsInt32(), 1);
  EXPECT_EQ(colour.Members()->Item(3)->ConstantValue().AsInt32(), 0x12345678);
  EXPECT_EQ(colour.Members()->Item(4)->Name(), "Below");
  EXPECT_EQ(colour.Members()->Item(4)->ConstantValue().AsInt32(), -3);
  EXPECT_EQ(colour.Members()->Item(4)->ConstantValue().vt, kVtI4);
}

TEST_F(MsftFixture, RecordFieldsAndFixedArrays) {
  const Type& point = Get("Point");
  ASSERT_EQ(point.Members()->Count(), 3u);
  const Member* grid = point.Members()->Item(3);
  EXPECT_EQ(grid->Name(), "grid");
  EXPECT_EQ(grid->ValueType()->VarType(), kVarTypeVectorFlag | kVtI2);
  std::vector<ArrayBound> bounds = grid->ValueType()->ArrayBounds();
  ASSERT_EQ(bounds.size(), 2u);
  EXPECT_EQ(bounds[0].lower, 0);
  EXPECT_EQ(bounds[0].upper, 1);
  EXPECT_EQ(bounds[1].upper, 2);
  EXPECT_EQ(point.Members()->Item(1)->ConstantValue().vt, 0);
  EXPECT_EQ(point.Members()->Item(1)->VTableOffset(), 0);
}

TEST_F(MsftFixture, UserDefinedReferences) {
  const Type* vtable = Get("IShape").VTableInterface();
  const Member* corner = FindMember(*vtable, "Corner", kInvokeFunc);
  ASSERT_NE(corner, nullptr);
  const TypeDescriptor* where = corner->Parameters()->Item(1)->ParamType();
  EXPECT_EQ(where->PointerLevel(), 1);
  EXPECT_EQ(where->VarType(), 0);
  ASSERT_NE(where->ReferencedType(), nullptr);
  EXPECT_EQ(where->ReferencedType()->Name(), "Point");
  const TypeDescriptor* size = corner->Parameters()->Item(2)->ParamType();
  // widl writes a typedef without attributes as the type it names.
  EXPECT_EQ(size->VarType(), kVtI4);
  EXPECT_EQ(size->ReferencedType(), nullptr);
  const Member* put = FindMember(*vtable, "Colour", kInvokePropertyPut);
  ASSERT_NE(put, nullptr);
  EXPECT_EQ(put->Parameters()->Item(1)->ParamType()->ReferencedType()->Name(), "Colour");
  EXPECT_EQ(put->Parameters()->Item(1)->Name(), "") << "widl leaves a propput value unnamed";
}

// The dump's limit holds to the byte: a dump one byte too large is refused.
TEST_F(MsftFixture, DumpStopsAtItsLimit) {
  const std::string whole = DumpLibrary(*library_).value();
  EXPECT_EQ(DumpLibrary(*library_, whole.size()).value(), whole);
  const Result<std::string> cut = DumpLibrary(*library_, whole.size() - 1);
  ASSERT_FALSE(cut.ok());
  EXPECT_EQ(cut.error().kind, ErrorKind::kTooLarge);
}

TEST_F(MsftFixture, ImportsFallBackOnTheBuiltInStdole) {
  // No stdole2.tlb lies beside the fixture and no search path is set.
  ASSERT_EQ(Get("IShape").Members()->Count(), 12u);
  const Member* query = Get("IShape").Members()->Item(1);
  ASSERT_NE(query, nullptr);
  ASSERT_NE(query->Parameters(), nullptr);
  ASSERT_EQ(query->Parameters()->Count(), 2u);
  EXPECT_EQ(query->Parameters()->Item(1)->Name(), "riid");
  EXPECT_EQ(query->Parameters()->Item(2)->Name(), "ppvObj");
  EXPECT_EQ(query->VTableOffset(), 0);
  const Member* invoke = Get("IShape").Members()->Item(7);
  ASSERT_EQ(invoke->Parameters()->Count(), 8u);
  EXPECT_EQ(invoke->Parameters()->Item(1)->Name(), "dispidMember");
  EXPECT_EQ(invoke->Parameters()->Item(8)->Name(), "puArgErr");
  EXPECT_EQ(invoke->VTableOffset(), 24);
}

TEST(MsftImports, UnresolvableImportYieldsNothing) {
  PortableOpener opener;
  opener.SetBuiltinStdole(false);
  auto library = opener.OpenLibraryFile(FixturePath("shapes.tlb"));
  ASSERT_TRUE(library.ok()) << library.error().message;
  const Type* shape = FindType(**library, "IShape");
  ASSERT_NE(shape, nullptr);
  // Without IDispatch the dispatch face's inherited functions cannot be
  // listed, so oleaut32 lists none; the base is left out, never invented.
  EXPECT_EQ(shape->Members()->Count(), 0u);
  EXPECT_EQ(shape->ImplementedInterfaces()->Count(), 0u);
  EXPECT_EQ(shape->VTableInterface()->Members()->Count(), 5u);
  EXPECT_EQ(shape->VTableInterface()->ImplementedInterfaces()->Count(), 0u);
}

TEST(MsftImports, SearchPathFindsTheRealStdole) {
  PortableOpener opener;
  opener.SetBuiltinStdole(false);
  opener.SetSearchPaths({"/nonexistent/dir", MSFT_WINE_DIR});
  auto library = opener.OpenLibraryFile(FixturePath("shapes.tlb"));
  ASSERT_TRUE(library.ok()) << library.error().message;
  const Type* shape = FindType(**library, "IShape");
  ASSERT_EQ(shape->Members()->Count(), 12u);
  EXPECT_EQ(shape->Members()->Item(4)->Name(), "GetTypeInfoCount");
  EXPECT_EQ(shape->Members()->Item(4)->Parameters()->Item(1)->Name(), "pctinfo");
}

class CountingLocator : public LibraryLocator {
 public:
  std::optional<std::string> Locate(const std::string& guid_text, uint16_t major, uint16_t minor,
                                    uint32_t) const override {
    ++calls;
    last = guid_text + " " + std::to_string(major) + "." + std::to_string(minor);
    return WinePath("stdole2.tlb");
  }
  mutable int calls = 0;
  mutable std::string last;
};

TEST(MsftImports, LocatorIsAskedFirstAndOnlyOnce) {
  auto locator = std::make_shared<CountingLocator>();
  PortableOpener opener;
  opener.SetBuiltinStdole(false);
  opener.SetLocator(locator);
  auto library = opener.OpenLibraryFile(FixturePath("shapes.tlb"));
  ASSERT_TRUE(library.ok());
  testing::WalkAll(**library);
  EXPECT_EQ(FindType(**library, "IShape")->Members()->Count(), 12u);
  EXPECT_EQ(locator->calls, 1) << "the import is resolved once and cached";
  EXPECT_EQ(locator->last, "{00020430-0000-0000-C000-000000000046} 2.0");
  // A second library through the same opener reuses the loaded stdole.
  auto again = opener.OpenLibraryFile(FixturePath("shapes.tlb"));
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(FindType(**again, "ICircle")->Members()->Count(), 13u);
  EXPECT_LE(locator->calls, 1);
}

TEST(MsftImports, LibraryOutlivesItsOpener) {
  std::unique_ptr<Library> library;
  {
    PortableOpener opener;
    auto opened = opener.OpenLibraryFile(FixturePath("shapes.tlb"));
    ASSERT_TRUE(opened.ok());
    library = std::move(opened.value());
  }
  const Type* shape = FindType(*library, "IShape");
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->Members()->Item(1)->Name(), "QueryInterface");
}

}  // namespace
}  // namespace velbrook::typeinfo::msft
