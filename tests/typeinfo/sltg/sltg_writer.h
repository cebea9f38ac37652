// A small SLTG writer for the tests: nothing in our toolchain writes the
// older format, so the tests describe libraries here and write them, as bare
// files or as the TYPELIB resource of a PE module.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velbrook::typeinfo::msft::sltg_testing {

// Types are written as words: a VT name ("I4", "BSTR", "VARIANT", ...) or
// "USER <type>" with <type> a type of the library or "stdole.<type>", each
// possibly after "PTR", "SAFEARRAY" or "CARRAY <n>x<m>..." (dimensions from 0).
struct Param {
  std::string name;  // empty: no name
  std::string type;
  uint16_t flags = 1;  // PARAMFLAG_FIN and friends (in, out, lcid, retval)
};

struct Func {
  std::string name;
  int32_t id = 0;
  int invoke = 1;  // INVOKEKIND
  std::string ret = "HRESULT";
  std::vector<Param> params;
  uint8_t optional = 0;  // the last parameters that are optional
  std::string help;
  uint16_t help_context = 0xFFFE;
};

struct Var {
  enum Kind { kInstance, kConstant, kDispatch };
  std::string name;  // "=" repeats the previous variable's name
  int32_t id = 0;
  std::string type;
  Kind kind = kInstance;
  int64_t value = 0;          // a constant's value, or the offset in the instance
  bool inline_value = false;  // the value is kept in the record itself
  std::string text;           // a string constant's value
  std::string help;
};

struct Impl {
  std::string type;   // as after "USER"
  uint8_t flags = 0;  // IMPLTYPEFLAGS
};

struct Type {
  int kind = 0;  // TYPEKIND
  std::string name;
  std::string guid;    // "XXXXXXXX-XXXX-..."; empty for none
  uint16_t flags = 0;  // TYPEFLAGS
  std::string help;
  uint32_t help_context = 0;
  std::vector<Impl> impls;
  std::vector<Func> funcs;
  std::vector<Var> vars;
  uint16_t first_slot = 0;  // vtable slot of the first function
  std::string alias;        // an alias's type
  uint16_t size = 4;        // cbSizeInstance
  uint16_t alignment = 4;   // cbAlignment
};

struct Library {
  std::string name;
  std::string guid;
  std::string help;
  std::string help_file;
  uint32_t help_context = 0;
  uint16_t major = 1, minor = 0;
  uint16_t lcid = 0x409;
  std::vector<Type> types;
};

std::vector<uint8_t> WriteSltg(const Library& library);

// A 32-bit PE module (a DLL without code) whose only resource is TYPELIB
// `id`, language 0, holding `library`.
std::vector<uint8_t> WrapInPe(const std::vector<uint8_t>& library, uint16_t id);
// The same with one TYPELIB resource per library, by id, in the order given.
std::vector<uint8_t> WrapInPe(
    const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& libraries);

// The library the SLTG tests read: every kind and feature the reader knows.
Library FeaturesLibrary();
// The same without what Wine's oleaut32 cannot read of it, so that both
// readers must agree on all of it.
Library PlainLibrary();

}  // namespace velbrook::typeinfo::msft::sltg_testing
