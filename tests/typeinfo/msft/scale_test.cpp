// A library of 10,000 dual interfaces and 10,000 coclasses (written here,
// since widl gives up long before that size) opens and is walked completely
// well within a second.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "test_support.h"
#include "typeinfo/msft/portable_opener.h"

namespace velbrook::typeinfo::msft {
namespace {

class Writer {
 public:
  size_t size() const { return bytes_.size(); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(uint8_t(v >> (8 * i)));
  }
  void U16(uint16_t v) {
    bytes_.push_back(uint8_t(v));
    bytes_.push_back(uint8_t(v >> 8));
  }
  void Text(const std::string& s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
  void Pad() {
    while (bytes_.size() % 4) bytes_.push_back(0);
  }
  void PatchU32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = uint8_t(v >> (8 * i));
  }
  std::vector<uint8_t> bytes_;
};

// Interfaces 0..n-1 are dual dispinterfaces with one method
// Get([in] long a, [out, retval] long* r); coclass n+i implements
// interface i. The layout follows the MSFT description in msft_parse.cpp.
std::vector<uint8_t> ManyInterfaces(uint32_t n) {
  Writer w;
  const uint32_t types = 2 * n;
  w.Text("MSFT");
  for (uint32_t v : {0x00010002u, 0xFFFFFFFFu, 0u,    0u,          1u /* SYS_WIN32 */,
                     1u,          0u,          types, 0xFFFFFFFFu, 0u,
                     0u,          0u,          0u,    0xFFFFFFFFu, 0xFFFFFFFFu,
                     0xFFFFFFFFu, 0x20u,       0x80u, 0xFFFFFFFFu, 0u}) {
    w.U32(v);
  }
  for (uint32_t i = 0; i < types; ++i) w.U32(i * 0x64);
  size_t dir = w.size();
  for (int i = 0; i < 15; ++i) {
    w.U32(0xFFFFFFFFu);
    w.U32(0);
    w.U32(0xFFFFFFFFu);
    w.U32(0x0F);
  }
  auto segment = [&](int index, size_t start) {
    w.PatchU32(dir + size_t(index) * 16, uint32_t(start));
    w.PatchU32(dir + size_t(index) * 16 + 4, uint32_t(w.size() - start));
  };
  // Names: types first, then "Get", "a", "r".
  std::vector<uint32_t> name_at(types);
  size_t names = w.size();
  auto name = [&](const std::string& text, uint32_t hreftype) {
    uint32_t at = uint32_t(w.size() - names);
    w.U32(hreftype);
    w.U32(0xFFFFFFFFu);
    w.U32(uint32_t(text.size()));
    w.Text(text);
    w.Pad();
    return at;
  };
  for (uint32_t i = 0; i < types; ++i) {
    name_at[i] = name((i < n ? "IThing" : "Thing") + std::to_string(i % n), i * 0x64);
  }
  uint32_t get = name("Get", 0xFFFFFFFFu), a = name("a", 0xFFFFFFFFu), r = name("r", 0xFFFFFFFFu);
  segment(7, names);
  size_t guids = w.size();
  for (uint32_t i = 0; i < types; ++i) {
    w.U32(i);
    w.U32(0x40000000u);
    w.U32(0x80000000u);
    w.U32(0x12345678u);
    w.U32(i * 0x64);
    w.U32(0xFFFFFFFFu);
  }
  segment(5, guids);
  size_t refs = w.size();
  for (uint32_t i = 0; i < n; ++i) {
    w.U32(i * 0x64);
    w.U32(1);  // IMPLTYPEFLAG_FDEFAULT
    w.U32(0xFFFFFFFFu);
    w.U32(0xFFFFFFFFu);
  }
  segment(3, refs);
  size_t descs = w.size();
  w.U16(26);  // VT_PTR to the base type VT_I4
  w.U16(0);
  w.U16(3);
  w.U16(0x8000);
  segment(9, descs);
  std::vector<uint32_t> block_at(n);
  for (uint32_t i = 0; i < n; ++i) {
    block_at[i] = uint32_t(w.size());
    w.U32(48);           // infolen
    w.U32(48);           // record size, index 0
    w.U32(0x80190019u);  // returns HRESULT
    w.U32(0);            // flags
    w.U16(28);           // vtable offset after IDispatch
    w.U16(0);
    w.U32(4u << 8 | 1u << 3 | 1u);  // stdcall, INVOKE_FUNC, FUNC_PUREVIRTUAL
    w.U16(2);
    w.U16(0);
    w.U32(0x80030003u);  // a: VT_I4
    w.U32(a);
    w.U32(1);
    w.U32(0);  // r: the VT_PTR entry
    w.U32(r);
    w.U32(0x0A);
    w.U32(0x60020000u);  // member id
    w.U32(get);          // name
    w.U32(0);            // record offset
  }
  size_t infos = w.size();
  for (uint32_t i = 0; i < types; ++i) {
    bool iface = i < n;
    w.U32(iface ? 4u : 5u);  // TKIND_DISPATCH / TKIND_COCLASS
    w.U32(iface ? block_at[i] : 0xFFFFFFFFu);
    for (int k = 0; k < 4; ++k) w.U32(0);
    w.U32(iface ? 1u : 0u);  // one function
    for (int k = 0; k < 4; ++k) w.U32(0);
    w.U32(i * 24);                  // posguid
    w.U32(iface ? 0x1040u : 0x2u);  // dual / can-create
    w.U32(name_at[i]);
    w.U32(0);
    w.U32(0xFFFFFFFFu);  // no help string
    w.U32(0);
    w.U32(0);
    w.U32(0xFFFFFFFFu);
    w.U16(iface ? 0 : 1);   // cImplTypes
    w.U16(iface ? 32 : 0);  // cbSizeVft: 8 slots
    w.U32(4);
    w.U32(iface ? 0xFFFFFFFFu : (i - n) * 16);  // datatype1
    w.U32(0);
    w.U32(0);
    w.U32(0xFFFFFFFFu);
  }
  segment(0, infos);
  return w.bytes_;
}

TEST(MsftScale, TenThousandInterfacesOpenAndWalkFast) {
  std::vector<uint8_t> bytes = ManyInterfaces(10000);
  auto start = std::chrono::steady_clock::now();
  PortableOpener opener;
  auto library = opener.OpenLibraryBytes(std::move(bytes), "many.tlb");
  ASSERT_TRUE(library.ok()) << library.error().message;
  testing::WalkTotals totals = testing::WalkAll(**library);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ((*library)->Interfaces()->Count(), 10000u);
  EXPECT_EQ((*library)->ObjectClasses()->Count(), 10000u);
  const Type* last = (*library)->Interfaces()->Item(10000);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->Name(), "IThing9999");
  ASSERT_NE(last->VTableInterface(), nullptr);
  ASSERT_EQ(last->VTableInterface()->Members()->Count(), 1u);
  const Member* get = last->VTableInterface()->Members()->Item(1);
  EXPECT_EQ(get->Name(), "Get");
  EXPECT_EQ(get->Parameters()->Count(), 2u);
  EXPECT_EQ(get->Parameters()->Item(2)->ParamType()->PointerLevel(), 1);
  EXPECT_EQ((*library)->ObjectClasses()->Item(10000)->DefaultInterface(), last);
  // Each dispatch face has 8 slots but no base to inherit them from, so it
  // lists its own function only (the rule oleaut32 follows).
  EXPECT_EQ(last->Members()->Count(), 1u);
  EXPECT_EQ(totals.types, 30000u);  // 10,000 coclasses and two faces of each interface
  EXPECT_EQ(totals.members, 20000u);
  EXPECT_LT(seconds, 1.0) << "open and walk took " << seconds << " s";
}

}  // namespace
}  // namespace velbrook::typeinfo::msft
