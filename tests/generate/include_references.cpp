// Reads an include file the way its reader would: the type after "as" in
// code, the type a note names, and the headings and TYPE lines that define
// names. The library is walked once to learn its aliases and which names
// belong to other libraries.
#include "include_references.h"

#include <deque>
#include <map>
#include <optional>
#include <regex>
#include <unordered_set>

#include "generate/generic_block_hook.h"
#include "generate/include_writer.h"
#include "typeinfo/library_contents.h"

namespace velbrook::generate::testing {
namespace {

// HotBasic's own type words (compared lower-cased).
const std::set<std::string> kLanguageWords = {"integer", "long",   "dword",    "word",  "byte",
                                              "short",   "single", "double",   "int64", "string",
                                              "variant", "sub",    "function", "memory"};

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

struct Definitions {
  std::set<std::string> types;  // TYPE lines: records, wrappers, the generic block's
  std::set<std::string> enumerations;
  std::set<std::string> modules;
  std::set<std::string> interfaces;  // interface blocks and event interface blocks
  std::set<std::string> classes;
};

const std::regex kTypeLine(R"(^\s*[Tt][Yy][Pp][Ee]\s+([A-Za-z_]\w*))");
const std::regex kGroupHeading(R"(^' (\S+)(Enumeration|Module)$)");
const std::regex kInterfaceHeading(R"(^'(?:Interface|EVENT INTERFACE) (\S+))");
const std::regex kClassHeading(R"(^'   default interface to object (\S+))");
const std::regex kAsWord(R"(\b[Aa][Ss]\s+([A-Za-z_]\w*))");
// A record field replaced by the fields of the record it names.
const std::regex kEmbedded(R"(^\s*'embedded \S+ as ([A-Za-z_]\w*))");
const std::regex kNote(
    R"(\b(record|enum|interface|dispinterface|coclass|alias|union|module) \[VT=0\](?:\s*\[\w+\])*\s*([A-Za-z_]\w*))");
const std::regex kFieldNote(
    R"(\[VT_EMPTY\] (record|enum|interface|dispinterface|coclass|alias|union|module) ([A-Za-z_]\w*))");

void ScanLine(const std::string& line, std::set<TypeUse>* uses, Definitions* defs) {
  std::smatch match;
  if (std::regex_search(line, match, kTypeLine)) defs->types.insert(match[1]);
  if (std::regex_search(line, match, kGroupHeading)) {
    (match[2] == "Module" ? defs->modules : defs->enumerations).insert(match[1]);
  }
  if (std::regex_search(line, match, kInterfaceHeading)) defs->interfaces.insert(match[1]);
  if (std::regex_search(line, match, kClassHeading)) defs->classes.insert(match[1]);
  const size_t comment = line.find('\'');
  const std::string code = line.substr(0, comment);
  for (auto it = std::sregex_iterator(code.begin(), code.end(), kAsWord);
       it != std::sregex_iterator(); ++it) {
    uses->insert({"type", (*it)[1]});
  }
  if (comment == std::string::npos) return;
  if (std::regex_search(line, match, kEmbedded)) uses->insert({"type", match[1]});
  const std::string note = line.substr(comment);
  if (note.find("[VT=0]") != std::string::npos && std::regex_search(note, match, kNote)) {
    uses->insert({match[1], match[2]});
  }
  if (note.find("[VT_EMPTY]") != std::string::npos && std::regex_search(note, match, kFieldNote)) {
    uses->insert({match[1], match[2]});
  }
}

void Scan(const std::string& text, std::set<TypeUse>* uses, Definitions* defs) {
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    ScanLine(text.substr(at, end - at), uses, defs);
    at = end + 2;
  }
}

// What the library's walk learns: its aliases and the names of the types it
// refers to in other libraries.
struct LibraryFacts {
  std::map<std::string, const typeinfo::Type*> aliases;
  std::set<std::string> foreign;
};

LibraryFacts Learn(const typeinfo::Library& library) {
  LibraryFacts facts;
  const std::string own = library.Name();
  std::unordered_set<const typeinfo::Type*> seen;
  std::deque<const typeinfo::Type*> queue;
  auto visit = [&](const typeinfo::Type* type) {
    if (type == nullptr || !seen.insert(type).second) return;
    if (type->LibraryName() != own) facts.foreign.insert(type->Name());
    if (type->TypeKind() == typeinfo::kTypeKindAlias) facts.aliases.emplace(type->Name(), type);
    queue.push_back(type);
  };
  auto descriptor = [&](const typeinfo::TypeDescriptor* d) {
    if (d != nullptr) visit(d->ReferencedType());
  };
  for (const typeinfo::TypeList* list :
       {library.ObjectClasses(), library.Interfaces(), library.Records(), library.Enumerations(),
        library.Modules()}) {
    for (uint32_t i = 1; i <= typeinfo::WalkCount(list); ++i) visit(list->Item(i));
  }
  while (!queue.empty()) {
    const typeinfo::Type* type = queue.front();
    queue.pop_front();
    visit(type->VTableInterface());
    visit(type->DefaultInterface());
    visit(type->DefaultEventInterface());
    descriptor(type->AliasedType());
    const typeinfo::TypeList* bases = type->ImplementedInterfaces();
    for (uint32_t k = 1; k <= typeinfo::WalkCount(bases); ++k) visit(bases->Item(k));
    const typeinfo::MemberList* members = type->Members();
    for (uint32_t m = 1; m <= typeinfo::WalkCount(members); ++m) {
      const typeinfo::Member* member = members->Item(m);
      if (member == nullptr) continue;
      descriptor(member->ValueType());
      const typeinfo::ParameterList* parameters = member->Parameters();
      for (uint32_t p = 1; p <= typeinfo::WalkCount(parameters); ++p) {
        if (parameters->Item(p) != nullptr) descriptor(parameters->Item(p)->ParamType());
      }
    }
  }
  return facts;
}

// An alias as the type it stands for; none when that is a base type.
std::optional<TypeUse> Resolve(const TypeUse& use, const LibraryFacts& facts) {
  if (use.kind != "alias") return use;
  auto found = facts.aliases.find(use.name);
  const typeinfo::Type* alias = found == facts.aliases.end() ? nullptr : found->second;
  for (int step = 0; alias != nullptr && step < 64; ++step) {
    const typeinfo::TypeDescriptor* aliased = alias->AliasedType();
    if (aliased == nullptr || aliased->VarType() != 0) return std::nullopt;
    const typeinfo::Type* target = aliased->ReferencedType();
    if (target == nullptr) return std::nullopt;
    if (target->TypeKind() != typeinfo::kTypeKindAlias) {
      return TypeUse{target->KindText(), target->Name()};
    }
    alias = target;
  }
  return std::nullopt;
}

bool Defined(const TypeUse& use, const Definitions& defs) {
  if (use.kind == "type") {
    return kLanguageWords.count(Lower(use.name)) != 0 || defs.types.count(use.name) != 0;
  }
  if (use.kind == "record") {
    return use.name == "GUID" || defs.types.count(typeinfo::RecordRowName(use.name)) != 0;
  }
  if (use.kind == "enum") return defs.enumerations.count(use.name) != 0;
  if (use.kind == "module") return defs.modules.count(use.name) != 0;
  if (use.kind == "interface" || use.kind == "dispinterface") {
    return defs.interfaces.count(use.name) != 0;
  }
  if (use.kind == "coclass") return defs.classes.count(use.name) != 0;
  return false;
}

// The definitions every include file may lean on: the generic block's, even
// when the file leaves the block out (it is then included elsewhere).
Definitions GenericDefinitions() {
  StringSink sink;
  IncludeWriter writer(&sink);
  LinkedGenericBlock()(&writer);
  std::set<TypeUse> ignored;
  Definitions defs;
  Scan(sink.text(), &ignored, &defs);
  return defs;
}

}  // namespace

std::set<TypeUse> UsedTypes(const std::string& include_text) {
  std::set<TypeUse> uses;
  Definitions ignored;
  Scan(include_text, &uses, &ignored);
  return uses;
}

std::vector<std::string> UndefinedTypes(const std::string& include_text,
                                        const typeinfo::Library& library) {
  std::set<TypeUse> uses;
  Definitions defs = GenericDefinitions();
  Scan(include_text, &uses, &defs);
  const LibraryFacts facts = Learn(library);
  std::vector<std::string> undefined;
  for (const TypeUse& use : uses) {
    const std::optional<TypeUse> resolved = Resolve(use, facts);
    if (!resolved || facts.foreign.count(resolved->name) != 0) continue;
    if (!Defined(*resolved, defs)) undefined.push_back(use.kind + " " + use.name);
  }
  return undefined;
}

std::set<std::string> UsedTypeNames(const std::string& include_text,
                                    const typeinfo::Library& library) {
  const LibraryFacts facts = Learn(library);
  std::set<std::string> names;
  for (const TypeUse& use : UsedTypes(include_text)) {
    if (std::optional<TypeUse> resolved = Resolve(use, facts)) {
      names.insert(resolved->kind == "record" ? typeinfo::RecordRowName(resolved->name)
                                              : resolved->name);
    }
  }
  return names;
}

}  // namespace velbrook::generate::testing
