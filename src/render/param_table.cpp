// Analysis of a member's parameters into the parameter table.
#include "render/param_table.h"

#include "render/missing_types.h"
#include "render/naming.h"
#include "render/text_ops.h"
#include "render/var_type_text.h"

namespace velbrook::render {
namespace {

constexpr int32_t kArrayBit = 0x2000;
constexpr int32_t kVectorBit = 0x1000;

std::string AttributeWords(int32_t flags) {
  std::string words;
  if (flags & typeinfo::kParamFlagIn) words += "[in] ";
  if (flags & typeinfo::kParamFlagOut) words += "[byref] ";
  if (flags & typeinfo::kParamFlagLcid) words += "[lcid] ";
  if (flags & typeinfo::kParamFlagRetval) words += "[retval] ";
  if (flags & typeinfo::kParamFlagOptional) words += "[optional] ";
  if (flags & typeinfo::kParamFlagHasDefault) words += "[hasdefault] ";
  return words;
}

// Pointer levels the vtable call supplies by itself for a type word: an
// integer holds whatever address the caller puts in it; "@" before a
// STRING's BSTR variable or a by-address type gives one level; BYTE, WORD
// and SINGLE are pushed as values. -1: any level (or a word we cannot judge).
int LevelsPassed(const std::string& type_word) {
  if (type_word == "WORD" || type_word == "BYTE" || type_word == "SINGLE") return 0;
  if (type_word == "STRING" || type_word == "GUID" || type_word == "VARIANT" ||
      type_word == "DOUBLE" || type_word == "int64") {
    return 1;
  }
  return -1;
}

std::string WithoutLeadingUnderscores(const std::string& name) {
  size_t first = name.find_first_not_of('_');
  return first == std::string::npos ? std::string() : name.substr(first);
}

// The row of a parameter that has a type descriptor: its prefixed name, type
// word and VT note, passing form and declaration.
ParamRow TypedRow(const typeinfo::TypeDescriptor& descriptor, std::string name, std::string note,
                  int32_t flags, bool is_last, int index, int retval_index, bool event, bool vtable,
                  std::vector<typeinfo::MissingType>* missing) {
  const int32_t vt = descriptor.VarType();
  std::string prefix = ParamPrefix(vt);
  // A last out parameter already called pSomething is a result pointer.
  if (is_last && (flags & typeinfo::kParamFlagOut) && StartsWith(name, "p")) {
    prefix.clear();
  }
  if (StartsWith(name, "bstr") || StartsWith(name, "str")) prefix.clear();

  std::string type;
  if (vt == 0) {
    note = "[VT=0] " + note;
    // A record or interface is passed as a pointer-sized value.
    type = "DWORD";
    if (const typeinfo::Type* referenced = descriptor.ReferencedType()) {
      const std::string type_name = referenced->Name();
      if (type_name == "GUID") {
        type = "GUID";
        prefix.clear();
      } else {
        note = referenced->KindText() + " " + note;
        if (!type_name.empty()) note += " " + type_name;
      }
      if (name.empty()) name = type_name;
    } else {
      // Not found (its library is missing): the same pointer-sized value,
      // the note naming what the library refers to.
      note = std::string(kMissingWord) + " " + note;
      if (std::optional<typeinfo::MissingType> what = descriptor.MissingReference()) {
        note += " " + MissingTypeText(*what);
        missing->push_back(std::move(*what));
      }
    }
  } else {
    type = VarTypeText(vt);
    if (type.empty() && (vt & kArrayBit)) {
      const std::string element = VarTypeText(vt - kArrayBit);
      note = "Array of " + element + " " + element;
      type = "DWORD";
      prefix = "a";
    } else if (type.empty() && (vt & kVectorBit)) {
      const std::string element = VarTypeText(vt - kVectorBit);
      note = "Vector of " + element + " " + element;
      type = "DWORD";
      prefix = "a";
    }
  }

  const int32_t level = descriptor.PointerLevel();
  if (FirstWord(type) == "STRING" && level >= 1) {
    note += "[pointerlevel=" + std::to_string(level) + "] ";
  }
  if (name.empty()) name = "Unknown";
  ParamRow row;
  row.base_word = FirstWord(type);

  // The caller passes such a parameter as the address of a variable.
  const bool out = flags & typeinfo::kParamFlagOut;
  if (out && (index != retval_index || event)) {
    note = type + " " + note;
    type = "DWORD";
    prefix = "p" + prefix;
  }
  // An [in] pointer the call would push as a value (OLECHAR* as a WORD) or
  // as too few levels of "@" (double** as one): the caller passes the
  // address in an integer instead.
  const int passed = LevelsPassed(TrimBlanks(type.substr(0, type.find('\''))));
  if (vtable && !event && !out && passed >= 0 && level > passed) {
    if (row.base_word != "STRING") note += "[pointerlevel=" + std::to_string(level) + "] ";
    note = type + " " + note;
    type = "DWORD";
    prefix = "p" + prefix;
    row.base_word = "DWORD";
  }
  if (event) {
    note = type + " " + note;
    prefix = "v";
    type = "variant";
  }
  if (prefix.empty()) prefix = "_";
  row.name = prefix + name;

  size_t apostrophe = type.find('\'');
  if (apostrophe != std::string::npos) {
    note = type.substr(apostrophe + 1) + " " + note;
    type = type.substr(0, apostrophe);
  }
  type = TrimBlanks(type);
  if (type == "DWORD" || type == "LONG") type = "integer";
  row.type = type;
  row.note = ReplaceAll(ReplaceAll(note, "'", ""), "  ", " ");
  return row;
}

// The row's one name in the member's scope of names; a renaming names the
// parameter as the library gives it.
void ClaimName(const std::string& library_name, NameScope* names, ParamRow* row,
               std::vector<Rename>* renames) {
  std::optional<Rename> rename;
  row->name = names->Claim(row->name, &rename);
  if (!rename) return;
  if (!library_name.empty()) rename->original = library_name;
  renames->push_back(std::move(*rename));
}

}  // namespace

ParamTable AnalyseParameters(const typeinfo::Member& member, bool event, bool vtable) {
  ParamTable table;
  NameScope names(NameScope::Closed::kReservedWords);
  const typeinfo::ParameterList* parameters = member.Parameters();
  const uint32_t count = typeinfo::WalkCount(parameters);
  for (uint32_t i = 1; i <= count; ++i) {
    const typeinfo::Parameter* parameter = parameters->Item(i);
    // A parameter the library does not describe still declares a value.
    if (parameter == nullptr) {
      table.rows.push_back({"Unknown", "integer", "unreadable", ""});
      ClaimName("", &names, &table.rows.back(), &table.renames);
      continue;
    }
    const std::string library_name = parameter->Name();
    std::string name = WithoutLeadingUnderscores(library_name);
    const int32_t flags = parameter->ParamFlags();
    std::string note = AttributeWords(flags);
    if (flags & typeinfo::kParamFlagRetval) {
      table.retval_index = static_cast<int>(i) - 1;
    }
    const typeinfo::TypeDescriptor* descriptor = parameter->ParamType();
    if (descriptor == nullptr) {
      table.rows.push_back({name, "integer", "unreadable " + note, ""});
    } else {
      table.rows.push_back(TypedRow(*descriptor, std::move(name), std::move(note), flags,
                                    i == count, static_cast<int>(i) - 1, table.retval_index, event,
                                    vtable, &table.missing));
    }
    ClaimName(library_name, &names, &table.rows.back(), &table.renames);
  }
  return table;
}

}  // namespace velbrook::render
