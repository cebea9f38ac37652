// Writes SLTG libraries laid out as the format's public descriptions give
// it (the same facts the reader follows), and wraps them in PE modules.
#include "sltg_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <stdexcept>

namespace velbrook::typeinfo::msft::sltg_testing {

namespace {

class Bytes {
 public:
  void U8(uint32_t v) { data.push_back(uint8_t(v)); }
  void U16(uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    U16(v);
    U16(v >> 16);
  }
  void Raw(const void* p, size_t n) {
    data.insert(data.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
  }
  void Raw(const Bytes& b) { Raw(b.data.data(), b.data.size()); }
  void Fill(size_t n, uint8_t byte) { data.insert(data.end(), n, byte); }
  void Text(const std::string& s) {  // length u16, characters; 0xFFFF for none
    if (s.empty()) return U16(0xFFFF);
    U16(uint32_t(s.size()));
    Raw(s.data(), s.size());
  }
  void PatchU16(size_t at, uint32_t v) {
    data[at] = uint8_t(v);
    data[at + 1] = uint8_t(v >> 8);
  }
  void PatchU32(size_t at, uint32_t v) {
    PatchU16(at, v);
    PatchU16(at + 2, v >> 16);
  }
  size_t size() const { return data.size(); }
  std::vector<uint8_t> data;
};

std::vector<uint8_t> GuidBytes(const std::string& text) {
  std::vector<uint8_t> g(16, 0);
  if (text.empty()) return g;
  unsigned d1 = 0, d2 = 0, d3 = 0, b[8] = {};
  if (std::sscanf(text.c_str(), "%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x", &d1, &d2, &d3, &b[0],
                  &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7]) != 11) {
    throw std::invalid_argument("bad GUID " + text);
  }
  g = {uint8_t(d1), uint8_t(d1 >> 8), uint8_t(d1 >> 16), uint8_t(d1 >> 24),
       uint8_t(d2), uint8_t(d2 >> 8), uint8_t(d3),       uint8_t(d3 >> 8)};
  for (unsigned x : b) g.push_back(uint8_t(x));
  return g;
}

std::vector<std::string> Split(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

const std::map<std::string, uint16_t> kVts = {
    {"EMPTY", 0},    {"I2", 2},   {"I4", 3},       {"R4", 4},     {"R8", 5},       {"CY", 6},
    {"DATE", 7},     {"BSTR", 8}, {"DISPATCH", 9}, {"ERROR", 10}, {"BOOL", 11},    {"VARIANT", 12},
    {"UNKNOWN", 13}, {"I1", 16},  {"UI1", 17},     {"UI2", 18},   {"UI4", 19},     {"I8", 20},
    {"UI8", 21},     {"INT", 22}, {"UINT", 23},    {"VOID", 24},  {"HRESULT", 25}, {"LPSTR", 30}};

// Names are entries of 8 bytes (0xFF) and the NUL-terminated name, padded as
// the format's writers do.
class NameTable {
 public:
  uint16_t Add(const std::string& name) {
    auto found = offsets_.find(name);
    if (found != offsets_.end()) return found->second;
    uint16_t offset = uint16_t(bytes_.size());
    bytes_.Fill(8, 0xFF);
    bytes_.Raw(name.c_str(), name.size() + 1);
    size_t size = bytes_.size(), aligned = (size + 0x1F) & ~size_t(0x1F);
    bytes_.Fill((aligned - size < 4 ? aligned : (size + 1) & ~size_t(1)) - size, 0);
    offsets_.emplace(name, offset);
    return offset;
  }
  const Bytes& bytes() const { return bytes_; }

 private:
  std::map<std::string, uint16_t> offsets_;
  Bytes bytes_;
};

// The help string tree: every word of every help string, and an end word,
// as leaves of a balanced tree laid out in preorder.
class HelpCoder {
 public:
  explicit HelpCoder(const Library& library) {
    std::vector<std::string> words;
    auto add = [&](const std::string& text) {
      longest_ = std::max(longest_, text.size() + 1);
      for (const std::string& w : Split(text)) words.push_back(w);
    };
    for (const Type& t : library.types) {
      add(t.help);
      for (const Func& f : t.funcs) add(f.help);
      for (const Var& v : t.vars) add(v.help);
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    words.push_back("");  // the end word
    Build(words, {});
  }
  std::vector<uint8_t> Encode(const std::string& text) const {
    std::vector<bool> bits;
    std::vector<std::string> words = Split(text);
    words.push_back("");
    for (const std::string& w : words) {
      const std::vector<bool>& code = codes_.at(w);
      bits.insert(bits.end(), code.begin(), code.end());
    }
    std::vector<uint8_t> out((bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i) {
      if (bits[i]) out[i / 8] |= uint8_t(0x80 >> (i % 8));
    }
    return out;
  }
  void Write(Bytes* out) const {
    out->U16(uint32_t(longest_));
    out->U32(uint32_t(tree_.size()));
    out->Raw(tree_);
  }

 private:
  void Build(const std::vector<std::string>& words, std::vector<bool> path) {
    if (words.size() == 1) {
      codes_[words[0]] = path;
      tree_.U8(0);
      tree_.Raw(words[0].c_str(), words[0].size() + 1);
      return;
    }
    size_t node = tree_.size(), half = words.size() / 2;
    tree_.U8(0x80);
    tree_.U16(0);  // patched: where a 0 bit leads
    path.push_back(true);
    Build({words.begin(), words.begin() + std::ptrdiff_t(half)}, path);
    tree_.data[node + 1] = uint8_t(tree_.size() >> 8);
    tree_.data[node + 2] = uint8_t(tree_.size());
    path.back() = false;
    Build({words.begin() + std::ptrdiff_t(half), words.end()}, path);
  }

  Bytes tree_;
  std::map<std::string, std::vector<bool>> codes_;
  size_t longest_ = 1;
};

struct Shared {
  const Library& library;
  NameTable names;
  HelpCoder help;
  uint16_t stdole = 0;  // name table offset of the stdole description
};

// One type info block.
class TypeWriter {
 public:
  TypeWriter(Shared* shared, const Type& type) : s_(*shared), t_(type) {}

  Bytes Write() {
    Bytes records;
    for (size_t base : {size_t(0), size_t(1)}) {
      refs_.clear();
      extras_ = Bytes();
      extras_base_ = base == 0 ? 0 : records.size();
      records = Records();
    }
    Bytes members = records;
    members.Raw(extras_);

    Bytes block;
    const size_t ref_size = refs_.empty() ? 0 : RefTable().size();
    block.U16(0x0501);
    block.U32(refs_.empty() ? 0xFFFFFFFFu : 0x22);
    block.U32(0xFFFFFFFFu);
    block.U32(uint32_t(0x22 + ref_size));
    block.U32(0xFFFFFFFFu);
    block.U16(1);  // version 1.0
    block.U16(0);
    block.U32(0xFFFE0000u);
    block.U8(0x02 | (t_.flags & 0x1F) << 3);
    block.U8(t_.flags >> 5);
    block.U8(0x02);
    block.U8(uint32_t(t_.kind));
    block.U32(0);
    if (!refs_.empty()) block.Raw(RefTable());
    block.U16(0x0001);
    block.U16(0xFFFF);
    block.U8(0x01);
    block.U32(uint32_t(members.size()));
    block.Raw(members);
    // The tail.
    block.U16(uint32_t(t_.funcs.size()));
    block.U16(uint32_t(t_.vars.size()));
    block.U16(uint32_t(t_.impls.size()));
    block.U16(0);
    block.U16(t_.funcs.empty() ? 0xFFFF : funcs_at_);
    block.U16(t_.vars.empty() ? 0xFFFF : vars_at_);
    block.U16(t_.impls.empty() ? 0xFFFF : 0);
    for (int i = 0; i < 3; ++i) block.U16(0);
    block.U16(alias_);
    block.U16(0xFFFF);
    block.U16(0);
    block.U16(0);
    block.U16(simple_alias_);
    block.U16(0);
    block.U16(t_.size);
    block.U16(t_.alignment);
    block.U16(0xFFFF);
    block.U16(0xFFFF);
    block.U16(uint32_t(t_.first_slot + t_.funcs.size()) * 4);
    for (int i = 0; i < 4; ++i) block.U16(0xFFFF);
    block.U16(0);
    block.U16(uint32_t(members.size()));
    return block;
  }

 private:
  Bytes RefTable() const {
    Bytes r;
    r.U8(0xDF);
    r.U8(0);
    r.Fill(0x42, 0xFF);
    r.U32(uint32_t(refs_.size() * 8));
    r.Fill(refs_.size() * 8, 0xFF);
    r.U16(0xFFFF);
    r.U8(1);
    r.U32(0);
    for (const std::string& ref : refs_) r.Text(ref);
    r.U8(0xDF);
    return r;
  }

  uint16_t Ref(const std::string& name) {
    char text[64];
    if (name.compare(0, 7, "stdole.") == 0) {
      static const std::map<std::string, int> kStdole = {
          {"GUID", 0}, {"IUnknown", 3}, {"IDispatch", 4}};
      std::snprintf(text, sizeof text, "*\\R%x*#%x", s_.stdole, kStdole.at(name.substr(7)));
    } else {
      int index = -1;
      for (size_t i = 0; i < s_.library.types.size(); ++i) {
        if (s_.library.types[i].name == name) index = int(i);
      }
      if (index < 0) throw std::invalid_argument("no type " + name);
      std::snprintf(text, sizeof text, "*\\Rffff*#%x", index);
    }
    for (size_t i = 0; i < refs_.size(); ++i) {
      if (refs_[i] == text) return uint16_t(i);
    }
    refs_.push_back(text);
    return uint16_t(refs_.size() - 1);
  }

  uint16_t Extra(const Bytes& bytes) {
    size_t at = extras_base_ + extras_.size();
    extras_.Raw(bytes);
    return uint16_t(at);
  }

  uint16_t ArrayDescriptor(const std::vector<uint32_t>& dims) {
    Bytes d;
    d.U16(uint32_t(dims.size()));
    d.U16(0x0004);  // FADF_EMBEDDED
    d.U32(0);
    d.U32(0);
    d.U32(0);
    for (uint32_t n : dims) {
      d.U32(n);
      d.U32(0);
    }
    return Extra(d);
  }

  std::vector<uint16_t> Words(const std::string& spec, uint16_t flags) {
    std::vector<std::string> tokens = Split(spec);
    std::vector<uint16_t> words;
    bool implicit_pointer = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
      const std::string& token = tokens[i];
      uint16_t marks = implicit_pointer ? 0x0E00 : 0;
      implicit_pointer = false;
      if (token == "PTR") {
        const std::string next = i + 1 < tokens.size() ? tokens[i + 1] : "";
        if (next == "PTR" || next == "SAFEARRAY" || next == "CARRAY") {
          words.push_back(26 | marks);
        } else {
          implicit_pointer = true;
        }
      } else if (token == "SAFEARRAY") {
        words.push_back(27 | marks);
        words.push_back(ArrayDescriptor({0}));
      } else if (token == "CARRAY") {
        std::vector<uint32_t> dims;
        std::istringstream in(tokens[++i]);
        for (std::string n; std::getline(in, n, 'x');) dims.push_back(uint32_t(std::stoul(n)));
        words.push_back(28 | marks);
        words.push_back(ArrayDescriptor(dims));
      } else if (token == "USER") {
        words.push_back(29 | marks);
        words.push_back(uint16_t(Ref(tokens[++i]) * 4));
      } else {
        words.push_back(kVts.at(token) | marks);
      }
    }
    words[0] |= flags;
    return words;
  }

  // The type in the record itself when it is one word, else its offset.
  uint16_t TypeField(const std::string& spec, uint16_t flags, bool* simple) {
    std::vector<uint16_t> words = Words(spec, flags);
    *simple = words.size() == 1;
    if (*simple) return words[0];
    Bytes b;
    for (uint16_t w : words) b.U16(w);
    return Extra(b);
  }

  uint16_t HelpField(const std::string& text) {
    if (text.empty()) return 0xFFFF;
    std::vector<uint8_t> bits = s_.help.Encode(text);
    Bytes b;
    b.Raw(bits.data(), bits.size());
    return Extra(b);
  }

  static uint16_t WordFlags(uint16_t param_flags) {
    const bool in = param_flags & 1, out = param_flags & 2;
    uint16_t w = in && out ? 0x8000 : out ? 0x4000 : in ? 0 : 0xC000;
    if (param_flags & 4) w |= 0x2000;
    if (param_flags & 8) w |= 0x80;
    return w;
  }

  Bytes Records() {
    Bytes r;
    for (size_t i = 0; i < t_.impls.size(); ++i) {
      r.U16(0x004A);
      r.U16(i + 1 < t_.impls.size() ? uint32_t(r.size() + 0x14) : 0xFFFF);
      r.U16(0xFFFF);
      r.U8(t_.impls[i].flags);
      r.U8(0x80);
      r.U16(0x0012);
      r.U16(Ref(t_.impls[i].type));
      r.U16(0x4001);
      r.U16(0xFFFE);
      r.U16(0xFFFF);
      r.U16(0x001D);
      r.U16(uint32_t(i * 4));
    }
    funcs_at_ = uint16_t(r.size());
    const bool dispatch = t_.kind == 4 && !(t_.flags & 0x40);
    const uint8_t magic = dispatch ? 0xCB : t_.kind == 2 ? 0x8B : 0x4C;
    for (size_t i = 0; i < t_.funcs.size(); ++i) {
      const Func& f = t_.funcs[i];
      bool simple = false;
      const size_t at = r.size();
      r.U8(magic | 0x20);
      r.U8(uint32_t(f.invoke) << 4 | 2);
      r.U16(0xFFFF);  // patched below
      r.U16(s_.names.Add(f.name));
      r.U32(uint32_t(f.id));
      r.U16(f.help_context);
      r.U16(HelpField(f.help));
      r.U16(f.params.empty() ? 0xFFFF : uint32_t(at + 0x18));
      r.U8(uint32_t(f.params.size()) << 3 | 4);
      const uint16_t ret = TypeField(f.ret, 0, &simple);
      r.U8(uint32_t(f.optional) << 1 | (simple ? 0x80 : 0));
      r.U16(ret);
      r.U16(dispatch ? 0 : uint32_t(t_.first_slot + i) * 4);
      r.U16(0);  // function flags
      for (const Param& p : f.params) {
        std::vector<uint16_t> words = Words(p.type, WordFlags(p.flags));
        const uint16_t name = p.name.empty() ? 0xFFFE : s_.names.Add(p.name);
        if (words.size() <= 2) {  // short types follow the name at once
          r.U16(name | 1);
          for (uint16_t w : words) r.U16(w);
        } else {
          Bytes b;
          for (uint16_t w : words) b.U16(w);
          r.U16(name);
          r.U16(Extra(b));
        }
      }
      if (i + 1 < t_.funcs.size()) r.PatchU16(at + 2, uint32_t(r.size()));
    }
    vars_at_ = uint16_t(r.size());
    for (size_t i = 0; i < t_.vars.size(); ++i) {
      const Var& v = t_.vars[i];
      bool simple = false;
      const size_t at = r.size();
      const uint16_t type = TypeField(v.type, 0, &simple);
      uint8_t flags = simple ? 0x02 : 0;
      uint16_t value = uint16_t(v.value);
      if (v.kind == Var::kDispatch) flags |= 0x40;
      if (v.kind == Var::kConstant) {
        flags |= 0x10;
        if (v.inline_value) {
          flags |= 0x08;
        } else {
          Bytes b;
          const std::string vt = Split(v.type).back();
          if (vt == "BSTR") {
            b.Text(v.text);
          } else {
            const size_t size = vt == "I2" || vt == "UI2" || vt == "BOOL" ? 2
                                : vt == "R8" || vt == "I8"                ? 8
                                                                          : 4;
            for (size_t k = 0; k < size; ++k) b.U8(uint32_t(uint64_t(v.value) >> (8 * k)));
          }
          value = Extra(b);
        }
      }
      r.U8(0x2A);
      r.U8(flags);
      r.U16(0xFFFF);  // patched below
      r.U16(v.name == "=" ? 0xFFFE : s_.names.Add(v.name));
      r.U16(value);
      r.U16(type);
      r.U32(uint32_t(v.id));
      r.U16(0xFFFE);
      r.U16(HelpField(v.help));
      r.U16(0);  // variable flags
      if (i + 1 < t_.vars.size()) r.PatchU16(at + 2, uint32_t(at + 0x14));
    }
    if (!t_.alias.empty()) {
      std::vector<uint16_t> words = Words(t_.alias, 0);
      simple_alias_ = words.size() == 1 ? 1 : 0;
      bool simple = false;
      alias_ = TypeField(t_.alias, 0, &simple);
    }
    return r;
  }

  Shared& s_;
  const Type& t_;
  std::vector<std::string> refs_;
  Bytes extras_;
  size_t extras_base_ = 0;
  uint16_t funcs_at_ = 0, vars_at_ = 0, alias_ = 0xFFFF, simple_alias_ = 0;
};

std::string IndexName(size_t i, char first) {
  std::string name(10, 'A');
  name[0] = first;
  for (size_t k = 9; i > 0; --k, i /= 26) name[k] = char('A' + i % 26);
  return name;
}

}  // namespace

std::vector<uint8_t> WriteSltg(const Library& library) {
  Shared shared{library, NameTable(), HelpCoder(library)};
  const uint16_t library_name = shared.names.Add(library.name);
  shared.stdole = shared.names.Add(
      "*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#C:\\Windows\\System32\\stdole2.tlb#");
  std::vector<Bytes> blocks;
  for (const Type& t : library.types) blocks.push_back(TypeWriter(&shared, t).Write());

  // The index: the marker, "dir" for the library block, a name per type.
  Bytes index;
  index.Raw(
      "\x01"
      "CompObj\0dir",
      13);
  std::vector<uint16_t> index_at;
  for (size_t i = 0; i < blocks.size(); ++i) {
    index_at.push_back(uint16_t(index.size()));
    std::string name = IndexName(i, 'B');
    index.Raw(name.c_str(), name.size() + 1);
  }

  Bytes lib;
  lib.U16(0x51CC);
  lib.U16(3);
  lib.U16(library_name);
  lib.U16(0xFFFF);
  lib.Text(library.help);
  lib.Text(library.help_file);
  lib.U32(library.help_context);
  lib.U16(1);  // SYS_WIN32
  lib.U16(library.lcid);
  lib.U32(0);
  lib.U16(0);  // library flags
  lib.U16(library.major);
  lib.U16(library.minor);
  lib.Raw(GuidBytes(library.guid).data(), 16);
  lib.Fill(0x40, 0xFF);
  lib.U16(uint32_t(library.types.size()));
  for (size_t i = 0; i < library.types.size(); ++i) {
    const Type& t = library.types[i];
    lib.Text(IndexName(i, 'B'));
    lib.Text(IndexName(i, 'C'));
    lib.U16(0xFFFF);
    lib.U16(shared.names.Add(t.name));
    std::vector<uint8_t> help =
        t.help.empty() ? std::vector<uint8_t>() : shared.help.Encode(t.help);
    lib.U16(uint32_t(help.size()));
    lib.Raw(help.data(), help.size());
    lib.U16(0xFFFF);
    lib.U32(t.help_context);
    lib.U16(0xFFFF);
    lib.Raw(GuidBytes(t.guid).data(), 16);
    lib.U16(uint32_t(t.kind));
  }
  const size_t name_table_field = lib.size();
  lib.U32(0);  // patched: where the name table starts
  shared.help.Write(&lib);
  lib.PatchU32(name_table_field, uint32_t(lib.size()));
  const uint16_t header[6] = {0xFFFF, 1, 2, 0xFF00, 0xFFFF, 0xFFFF};
  for (uint16_t w : header) lib.U16(w);
  lib.Fill(0x200, 0xFF);
  lib.U32(uint32_t(shared.names.bytes().size()));
  lib.Raw(shared.names.bytes());
  lib.U32(0x01FFFF01);
  lib.U32(0);
  const size_t library_length = lib.size();
  // What follows the library block in the files of the format's writers.
  const uint16_t tail1[6] = {1, 0xFFFE, 0x0A03, 0, 0xFFFF, 0xFFFF};
  for (uint16_t w : tail1) lib.U16(w);
  lib.Raw(GuidBytes("000204FF-0000-0000-C000-000000000046").data(), 16);
  lib.Raw("\x08\0\0\0TYPELIB", 12);
  const uint16_t tail2[6] = {0xFFFF, 0xFFFF, 0x0200, 0, 0, 0};
  for (uint16_t w : tail2) lib.U16(w);
  lib.Fill(16, 0);

  Bytes file;
  file.Raw("SLTG", 4);
  file.U16(uint32_t(blocks.size() + 2));
  file.U16(9);
  file.U16(uint32_t(index.size()));
  file.U16(1);
  file.Raw(GuidBytes("000204FF-0000-0000-C000-000000000046").data(), 16);
  file.U32(0x44);
  file.U32(0xFFFF0000u);
  for (size_t i = 0; i < blocks.size(); ++i) {
    file.U32(uint32_t(blocks[i].size()));
    file.U16(index_at[i]);
    file.U16(uint32_t(i + 2));
  }
  file.U32(uint32_t(library_length));
  file.U16(9);  // "dir"
  file.U16(0);
  file.Raw(index);
  file.Fill(9, 0);
  for (const Bytes& b : blocks) file.Raw(b);
  file.Raw(lib);
  return file.data;
}

// DOS header with e_lfanew 0x40; PE32 headers (COFF, optional header with 16
// data directories, one section ".rsrc" at RVA 0x1000, file offset 0x200);
// the resource tree: "TYPELIB" -> each id -> language 0 -> its data. The
// tree's parts follow each other: root, type directory, the language
// directories, the name "TYPELIB", the data entries, then the libraries.
std::vector<uint8_t> WrapInPe(const std::vector<uint8_t>& library, uint16_t id) {
  return WrapInPe({{id, library}});
}

std::vector<uint8_t> WrapInPe(
    const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& libraries) {
  const uint32_t count = uint32_t(libraries.size());
  const uint32_t languages_at = 0x28 + 8 * count;
  const uint32_t name_at = languages_at + 24 * count;
  const uint32_t entries_at = name_at + 0x10;
  const uint32_t data_at = entries_at + 16 * count;
  Bytes rsrc;
  auto directory = [&](uint16_t named, uint16_t ids) {
    rsrc.U32(0);
    rsrc.U32(0);
    rsrc.U32(0);
    rsrc.U16(named);
    rsrc.U16(ids);
  };
  directory(1, 0);                  // 0x00 root
  rsrc.U32(0x80000000u | name_at);  // name "TYPELIB"
  rsrc.U32(0x80000000u | 0x18);     // 0x18 type directory
  directory(0, uint16_t(count));
  for (uint32_t i = 0; i < count; ++i) {
    rsrc.U32(libraries[i].first);
    rsrc.U32(0x80000000u | (languages_at + 24 * i));
  }
  for (uint32_t i = 0; i < count; ++i) {
    directory(0, 1);
    rsrc.U32(0);
    rsrc.U32(entries_at + 16 * i);
  }
  rsrc.U16(7);  // "TYPELIB" as UTF-16
  for (char c : std::string("TYPELIB")) rsrc.U16(uint8_t(c));
  rsrc.Fill(entries_at - rsrc.size(), 0);
  uint32_t at = data_at;
  for (const auto& entry : libraries) {
    rsrc.U32(0x1000 + at);  // data RVA
    rsrc.U32(uint32_t(entry.second.size()));
    rsrc.U32(0);
    rsrc.U32(0);
    at += uint32_t(entry.second.size());
  }
  for (const auto& entry : libraries) rsrc.Raw(entry.second.data(), entry.second.size());
  const uint32_t resource_size = uint32_t(rsrc.size());
  const uint32_t raw_size = uint32_t((rsrc.size() + 0x1FF) & ~size_t(0x1FF));
  rsrc.Fill(raw_size - rsrc.size(), 0);
  const uint32_t image_size = 0x1000 + ((raw_size + 0xFFF) & ~0xFFFu);

  Bytes pe;
  pe.Raw("MZ", 2);
  pe.Fill(0x3A, 0);
  pe.U32(0x40);
  pe.Raw("PE\0\0", 4);
  pe.U16(0x14C);  // i386
  pe.U16(1);      // one section
  pe.U32(0);
  pe.U32(0);
  pe.U32(0);
  pe.U16(0xE0);
  pe.U16(0x2102);  // executable, 32-bit, DLL
  pe.U16(0x10B);
  pe.U16(0);
  pe.U32(0);
  pe.U32(raw_size);
  pe.U32(0);
  pe.U32(0);  // no entry point
  pe.U32(0x1000);
  pe.U32(0x1000);
  pe.U32(0x10000000u);                    // image base
  pe.U32(0x1000);                         // section alignment
  pe.U32(0x200);                          // file alignment
  for (int i = 0; i < 3; ++i) pe.U32(4);  // OS, image and subsystem versions
  pe.U32(0);
  pe.U32(image_size);
  pe.U32(0x200);  // size of headers
  pe.U32(0);
  pe.U16(2);  // GUI subsystem
  pe.U16(0);
  for (uint32_t v : {0x100000u, 0x1000u, 0x100000u, 0x1000u}) pe.U32(v);
  pe.U32(0);
  pe.U32(16);
  for (int i = 0; i < 16; ++i) {
    pe.U32(i == 2 ? 0x1000 : 0);
    pe.U32(i == 2 ? resource_size : 0);
  }
  pe.Raw(".rsrc\0\0\0", 8);
  pe.U32(resource_size);
  pe.U32(0x1000);
  pe.U32(raw_size);
  pe.U32(0x200);
  pe.U32(0);
  pe.U32(0);
  pe.U32(0);
  pe.U32(0x40000040u);  // initialized data, readable
  pe.Fill(0x200 - pe.size(), 0);
  pe.Raw(rsrc);
  return pe.data;
}

}  // namespace velbrook::typeinfo::msft::sltg_testing
