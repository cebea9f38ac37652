// FindInLibrary: walks the library's lists once per kind of the query and
// collects the matching items, each once.
#include "catalogue/library_finder.h"

#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

#include "catalogue/ascii_text.h"
#include "catalogue/library_search.h"
#include "catalogue/registered_library.h"
#include "catalogue/registry_functions.h"
#include "typeinfo/library_contents.h"

namespace velbrook::catalogue {

namespace {

bool EqualsIgnoringAsciiCase(const std::string& text, const std::string& lowered_key) {
  if (text.size() != lowered_key.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowered_key[i]) return false;
  }
  return true;
}

// A type that has a GUID: the all-zero GUID is what a type without one
// reports.
bool HasGuid(const std::string& comparable_guid) {
  return comparable_guid.find_first_not_of("0-") != std::string::npos;
}

struct ProgIds {
  std::string prog_id;
  std::string version_independent;
};

class Finder {
 public:
  Finder(const typeinfo::Library& library, const SearchQuery& query,
         const ClassesRegistry& registry)
      : library_(library), query_(query), registry_(registry) {}

  std::vector<SearchHit> Find() {
    if (!CheckSearchQuery(query_).ok()) return {};
    const bool any = query_.kind == SearchKind::kAny;
    const std::string trimmed = TrimBlanks(query_.text);
    if (query_.kind == SearchKind::kName || any) FindByName(SearchKey(query_.text));
    if (query_.kind == SearchKind::kMember || any) FindMembers(LowerAscii(trimmed));
    if (query_.kind == SearchKind::kGuid || (any && LooksLikeGuid(trimmed))) {
      FindByGuid(ComparableGuid(trimmed));
    }
    if (query_.kind == SearchKind::kProgId || any) FindByProgId(LowerAscii(trimmed));
    return std::move(hits_);
  }

 private:
  // Adds a hit unless the same item is there already; a listed position
  // replaces an unknown one (a default interface found again in the list).
  void Add(SearchHit hit) {
    auto key = std::make_tuple(hit.kind, hit.name, hit.owner_kind, hit.owner);
    auto found = seen_.find(key);
    if (found == seen_.end()) {
      seen_.emplace(std::move(key), hits_.size());
      hits_.push_back(std::move(hit));
    } else if (hits_[found->second].index == 0) {
      hits_[found->second].index = hit.index;
    }
  }

  void AddType(ItemKind kind, const typeinfo::Type& type, uint32_t index) {
    SearchHit hit;
    hit.kind = kind;
    hit.name = type.Name();
    hit.index = index;
    Add(std::move(hit));
  }

  void AddMember(ItemKind kind, std::string name, ItemKind owner_kind, const typeinfo::Type& owner,
                 uint32_t index, std::string declared_by = std::string()) {
    SearchHit hit;
    hit.kind = kind;
    hit.name = std::move(name);
    hit.owner_kind = owner_kind;
    hit.owner = owner.Name();
    hit.declared_by = std::move(declared_by);
    hit.index = index;
    Add(std::move(hit));
  }

  // An interface is an event interface when some object class of the
  // library declares it as a source, as the contents window sorts them.
  // Asked only once an interface matches, since it walks every class.
  ItemKind InterfaceKind(const typeinfo::Type& type) {
    if (!contents_) contents_ = typeinfo::BuildLibraryContents(library_, typeinfo::ProgIdLookup());
    return contents_->FindSourceInterface(type.Name()) ? ItemKind::kEventInterface
                                                       : ItemKind::kInterface;
  }

  const ProgIds& ProgIdsOf(const typeinfo::Type& coclass, uint32_t index) {
    auto found = prog_ids_.find(index);
    if (found != prog_ids_.end()) return found->second;
    const std::string key = "CLSID\\" + coclass.GuidText();
    ProgIds ids{ReadKeyValue(registry_, key + "\\ProgID"),
                ReadKeyValue(registry_, key + "\\VersionIndependentProgID")};
    return prog_ids_.emplace(index, std::move(ids)).first->second;
  }

  void FindByName(const std::string& key) {
    auto matches = [&key](const typeinfo::Type* type) {
      return type != nullptr && ComparableName(type->Name()) == key;
    };
    const typeinfo::TypeList* classes = library_.ObjectClasses();
    for (uint32_t i = 1; i <= typeinfo::WalkCount(classes); ++i) {
      const typeinfo::Type* coclass = classes->Item(i);
      if (coclass == nullptr) continue;
      if (matches(coclass) || ProgIdPartMatches(ProgIdsOf(*coclass, i).prog_id, key)) {
        AddType(ItemKind::kObjectClass, *coclass, i);
      }
      const typeinfo::Type* default_interface = coclass->DefaultInterface();
      if (matches(default_interface)) {
        AddType(InterfaceKind(*default_interface), *default_interface, 0);
      }
    }
    const typeinfo::TypeList* interfaces = library_.Interfaces();
    for (uint32_t i = 1; i <= typeinfo::WalkCount(interfaces); ++i) {
      const typeinfo::Type* type = interfaces->Item(i);
      if (matches(type)) AddType(InterfaceKind(*type), *type, i);
    }
  }

  void FindMembers(const std::string& key) {
    const typeinfo::TypeList* interfaces = library_.Interfaces();
    for (uint32_t i = 1; i <= typeinfo::WalkCount(interfaces); ++i) {
      const typeinfo::Type* type = interfaces->Item(i);
      if (type == nullptr) continue;
      const std::vector<DeclaringType> chain = DeclaringChain(*type);
      for (size_t c = 0; c < chain.size(); ++c) {
        for (const MatchedMember& member : MatchesDeclaredBy(chain[c], key)) {
          ItemKind owner_kind = InterfaceKind(*type);
          ItemKind kind = owner_kind == ItemKind::kEventInterface       ? ItemKind::kEvent
                          : member.invoke_kind == typeinfo::kInvokeFunc ? ItemKind::kMethod
                                                                        : ItemKind::kProperty;
          AddMember(kind, member.name, owner_kind, *type, i,
                    c == 0 ? std::string() : chain[c].type->Name());
        }
      }
    }
    FindMembersOfList(library_.Records(), key, ItemKind::kRecord);
    FindMembersOfList(library_.Enumerations(), key, ItemKind::kEnumeration);
    FindMembersOfList(library_.Modules(), key, ItemKind::kModule);
  }

  // Fields of records, constants of enumerations, constants and functions
  // of modules.
  void FindMembersOfList(const typeinfo::TypeList* list, const std::string& key,
                         ItemKind owner_kind) {
    for (uint32_t i = 1; i <= typeinfo::WalkCount(list); ++i) {
      const typeinfo::Type* type = list->Item(i);
      if (type == nullptr) continue;
      ForEachMatchingMember(*type, key, [&](const typeinfo::Member& member) {
        ItemKind kind = owner_kind == ItemKind::kRecord ? ItemKind::kField
                        : owner_kind == ItemKind::kEnumeration || typeinfo::IsConstantMember(member)
                            ? ItemKind::kConstant
                            : ItemKind::kMethod;
        AddMember(kind, member.Name(), owner_kind, *type, i);
      });
    }
  }

  // The side of an interface that lists only the members it declares: a
  // dual dispinterface lists those of IUnknown, IDispatch and every base as
  // well, its vtable interface only its own.
  static const typeinfo::Type& DeclaringSide(const typeinfo::Type& type) {
    const typeinfo::Type* vtable = type.VTableInterface();
    return type.TypeKind() == typeinfo::kTypeKindDispatch && vtable != nullptr ? *vtable : type;
  }

  // A declaring side with the key that tells types apart across the walk
  // (the component may hand out a new object for the same type).
  struct DeclaringType {
    const typeinfo::Type* type;
    std::string key;
  };
  static DeclaringType DeclaringTypeOf(const typeinfo::Type& type) {
    const typeinfo::Type& side = DeclaringSide(type);
    return DeclaringType{&side, side.GuidText() + side.Name()};
  }

  // The interface's declaring side, then that of each base interface it
  // inherits from, nearest first, but for IUnknown and IDispatch, whose
  // members every automation interface has. Each base once; a bounded walk,
  // since bases can loop in a damaged library.
  static std::vector<DeclaringType> DeclaringChain(const typeinfo::Type& type) {
    constexpr size_t kMostBases = 64;
    std::vector<DeclaringType> chain{DeclaringTypeOf(type)};
    std::set<std::string> seen{chain.front().key};
    for (size_t next = 0; next < chain.size() && chain.size() <= kMostBases; ++next) {
      const typeinfo::TypeList* bases = chain[next].type->ImplementedInterfaces();
      for (uint32_t b = 1; b <= typeinfo::WalkCount(bases) && chain.size() <= kMostBases; ++b) {
        const typeinfo::Type* base = bases->Item(b);
        if (base == nullptr || IsAutomationRoot(*base)) continue;
        DeclaringType link = DeclaringTypeOf(*base);
        if (seen.insert(link.key).second) chain.push_back(std::move(link));
      }
    }
    return chain;
  }

  struct MatchedMember {
    std::string name;
    int32_t invoke_kind;
  };

  // The members a type declares whose name is key, read once per type: a
  // base's members are asked for by every interface derived from it.
  const std::vector<MatchedMember>& MatchesDeclaredBy(const DeclaringType& declaring,
                                                      const std::string& key) {
    auto [found, inserted] = declared_matches_.try_emplace(declaring.key);
    if (inserted) {
      ForEachMatchingMember(*declaring.type, key, [&](const typeinfo::Member& member) {
        found->second.push_back(MatchedMember{member.Name(), member.InvokeKind()});
      });
    }
    return found->second;
  }

  static bool IsAutomationRoot(const typeinfo::Type& type) {
    const std::string name = LowerAscii(TrimBlanks(type.Name()));
    return name == "iunknown" || name == "idispatch";
  }

  template <typename OnMatch>
  static void ForEachMatchingMember(const typeinfo::Type& type, const std::string& key,
                                    OnMatch on_match) {
    const typeinfo::MemberList* members = type.Members();
    for (uint32_t j = 1; j <= typeinfo::WalkCount(members); ++j) {
      const typeinfo::Member* member = members->Item(j);
      if (member != nullptr && EqualsIgnoringAsciiCase(member->Name(), key)) on_match(*member);
    }
  }

  void FindByGuid(const std::string& guid) {
    if (!HasGuid(guid)) return;
    if (ComparableGuid(library_.GuidText()) == guid) {
      SearchHit hit;
      hit.kind = ItemKind::kLibrary;
      hit.name = library_.Name();
      Add(std::move(hit));
    }
    auto find_in = [&](const typeinfo::TypeList* list, std::optional<ItemKind> kind) {
      for (uint32_t i = 1; i <= typeinfo::WalkCount(list); ++i) {
        const typeinfo::Type* type = list->Item(i);
        if (type == nullptr || ComparableGuid(type->GuidText()) != guid) continue;
        AddType(kind ? *kind : InterfaceKind(*type), *type, i);
      }
    };
    find_in(library_.ObjectClasses(), ItemKind::kObjectClass);
    find_in(library_.Interfaces(), std::nullopt);
    find_in(library_.Records(), ItemKind::kRecord);
    find_in(library_.Enumerations(), ItemKind::kEnumeration);
    find_in(library_.Modules(), ItemKind::kModule);
  }

  void FindByProgId(const std::string& key) {
    auto matches = [&key](const std::string& prog_id) {
      return !prog_id.empty() &&
             (EqualsIgnoringAsciiCase(prog_id, key) || ProgIdPartMatches(prog_id, key));
    };
    const typeinfo::TypeList* classes = library_.ObjectClasses();
    for (uint32_t i = 1; i <= typeinfo::WalkCount(classes); ++i) {
      const typeinfo::Type* coclass = classes->Item(i);
      if (coclass == nullptr) continue;
      const ProgIds& ids = ProgIdsOf(*coclass, i);
      if (matches(ids.prog_id) || matches(ids.version_independent)) {
        AddType(ItemKind::kObjectClass, *coclass, i);
      }
    }
  }

  const typeinfo::Library& library_;
  const SearchQuery& query_;
  const ClassesRegistry& registry_;
  std::vector<SearchHit> hits_;
  std::map<std::tuple<ItemKind, std::string, ItemKind, std::string>, size_t> seen_;
  std::optional<typeinfo::LibraryContents> contents_;
  std::map<uint32_t, ProgIds> prog_ids_;
  std::map<std::string, std::vector<MatchedMember>> declared_matches_;
};

}  // namespace

std::vector<SearchHit> FindInLibrary(const typeinfo::Library& library, const SearchQuery& query,
                                     const ClassesRegistry& registry) {
  return Finder(library, query, registry).Find();
}

}  // namespace velbrook::catalogue
