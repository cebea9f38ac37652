// The closure walk: an index from every type that has a row to that row, a
// queue of member lists still to read, and sets that let each type, alias and
// row be met once.
#include "generate/dependency_closure.h"

#include <deque>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "generate/row_resolution.h"

namespace velbrook::generate {
namespace {

// Interfaces of OLE Automation that every include file has already: their
// pointers are plain integers or the generic block's INTERFACE.
bool IsAutomationBasic(const std::string& name) {
  return name == "IUnknown" || name == "IDispatch";
}

// Types are matched by name and GUID: a reader may hand out two objects for
// one type (the two faces of a dual interface).
std::string KeyOf(const typeinfo::Type& type) { return type.Name() + '\n' + type.GuidText(); }

struct RowHash {
  size_t operator()(const RowRef& row) const {
    return std::hash<size_t>()(row.hidden * 4 + static_cast<size_t>(row.list));
  }
};
struct RowEqual {
  bool operator()(const RowRef& a, const RowRef& b) const {
    return a.list == b.list && a.hidden == b.hidden;
  }
};

// What to read of a type: its own members (a record's fields, an event
// interface's or a base's members), the members an interface block writes,
// or its bases.
enum class Walk { kMembers, kInterface, kBases };

struct WalkHash {
  size_t operator()(const std::pair<const typeinfo::Type*, Walk>& walk) const {
    return std::hash<const void*>()(walk.first) * 3 + static_cast<size_t>(walk.second);
  }
};

class ClosureWalker {
 public:
  explicit ClosureWalker(const GenerationInputs& inputs)
      : in_(inputs), library_name_(inputs.library->Name()) {}

  Closure Run() {
    IndexRows();
    const std::pair<ListKind, const ContentsList*> lists[] = {
        {ListKind::kClasses, in_.classes},
        {ListKind::kEvents, in_.events},
        {ListKind::kTypes, in_.types},
        {ListKind::kEnumerations, in_.enumerations}};
    for (const auto& [kind, list] : lists) {
      for (size_t r = 0; r < list->RowCount(); ++r) {
        if (!list->IsChecked(r)) continue;
        const RowRef row{kind, list->HiddenNumber(r)};
        if (selected_.insert(row).second) QueueRow(row);
      }
    }
    while (!queue_.empty()) {
      const auto [type, walk] = queue_.front();
      queue_.pop_front();
      Read(*type, walk);
    }
    return std::move(closure_);
  }

 private:
  // Every row's types, the lowest hidden number first within a list, so the
  // row chosen does not depend on how the user sorted the list.
  void IndexRows() {
    auto index = [this](const typeinfo::Type* type, RowRef row) {
      if (type == nullptr) return;
      auto [found, added] = row_of_.emplace(KeyOf(*type), row);
      if (!added && found->second.list == row.list && row.hidden < found->second.hidden) {
        found->second = row;
      }
    };
    for (size_t r = 0; r < in_.classes->RowCount(); ++r) {
      const RowRef row{ListKind::kClasses, in_.classes->HiddenNumber(r)};
      const ClassRowTarget target = ResolveClassRow(in_, row.hidden);
      index(target.object_class, row);
      index(target.interface, row);
    }
    for (size_t r = 0; r < in_.events->RowCount(); ++r) {
      const RowRef row{ListKind::kEvents, in_.events->HiddenNumber(r)};
      index(ResolveEventRow(in_, row.hidden), row);
    }
    for (size_t r = 0; r < in_.types->RowCount(); ++r) {
      const RowRef row{ListKind::kTypes, in_.types->HiddenNumber(r)};
      index(ResolveRecordRow(in_, row.hidden), row);
    }
    for (size_t r = 0; r < in_.enumerations->RowCount(); ++r) {
      const RowRef row{ListKind::kEnumerations, in_.enumerations->HiddenNumber(r)};
      index(ResolveEnumerationRow(in_, row.hidden), row);
    }
  }

  // What the generator writes for a row: a record's fields, an interface
  // block (for an object class also its default event interface's block),
  // an event interface's block. Constants name no type.
  void QueueRow(RowRef row) {
    switch (row.list) {
      case ListKind::kTypes:
        Queue(ResolveRecordRow(in_, row.hidden), Walk::kMembers);
        break;
      case ListKind::kEvents:
        Queue(ResolveEventRow(in_, row.hidden), Walk::kMembers);
        break;
      case ListKind::kClasses: {
        const ClassRowTarget target = ResolveClassRow(in_, row.hidden);
        Queue(target.interface, Walk::kInterface);
        if (target.object_class != nullptr) {
          Queue(target.object_class->DefaultEventInterface(), Walk::kMembers);
        }
        break;
      }
      case ListKind::kEnumerations:
        break;
    }
  }

  void Queue(const typeinfo::Type* type, Walk walk) {
    if (type != nullptr && queued_.insert({type, walk}).second) queue_.push_back({type, walk});
  }

  void Read(const typeinfo::Type& type, Walk walk) {
    switch (walk) {
      case Walk::kMembers:
        Members(type.Members(), InterfaceName(&type));
        break;
      case Walk::kInterface: {
        // The members an interface block writes: the vtable face's where
        // there is one, then every base's.
        const typeinfo::Type* vtable = type.VTableInterface();
        const typeinfo::MemberList* members = vtable == nullptr ? nullptr : vtable->Members();
        Members(members != nullptr ? members : type.Members(), InterfaceName(&type));
        Queue(&type, Walk::kBases);
        break;
      }
      case Walk::kBases: {
        // An interface block writes its bases' members too. A base of
        // another library (IUnknown, IDispatch) needs nothing of this one.
        const typeinfo::TypeList* bases = type.ImplementedInterfaces();
        for (uint32_t k = 1; k <= typeinfo::WalkCount(bases); ++k) {
          const typeinfo::Type* base = bases->Item(k);
          if (base == nullptr || row_of_.count(KeyOf(*base)) == 0) continue;
          Queue(base, Walk::kMembers);
          Queue(base, Walk::kBases);
        }
        break;
      }
    }
  }

  void Members(const typeinfo::MemberList* members, const std::string& owner) {
    for (uint32_t m = 1; m <= typeinfo::WalkCount(members); ++m) {
      const typeinfo::Member* member = members->Item(m);
      if (member == nullptr) continue;
      const std::string used_by = owner + "." + member->Name();
      Reference(member->ValueType(), used_by);
      const typeinfo::ParameterList* parameters = member->Parameters();
      for (uint32_t p = 1; p <= typeinfo::WalkCount(parameters); ++p) {
        const typeinfo::Parameter* parameter = parameters->Item(p);
        if (parameter != nullptr) Reference(parameter->ParamType(), used_by);
      }
    }
  }

  // The include file names the type of a user-defined element only (behind
  // any pointers), never that of an array's element. Aliases are followed,
  // each once, so a loop of aliases ends.
  void Reference(const typeinfo::TypeDescriptor* descriptor, std::string used_by) {
    while (descriptor != nullptr && descriptor->VarType() == 0) {
      const typeinfo::Type* type = descriptor->ReferencedType();
      if (type == nullptr) return;
      if (type->TypeKind() != typeinfo::kTypeKindAlias) {
        Need(*type, used_by);
        return;
      }
      if (!followed_aliases_.insert(KeyOf(*type)).second) return;
      used_by += " through alias " + type->Name();
      descriptor = type->AliasedType();
    }
  }

  void Need(const typeinfo::Type& type, const std::string& used_by) {
    const std::string name = type.Name();
    // Written as the generic block's GUID wherever it is used, even when the
    // library has a GUID record of its own.
    if (name == "GUID") return;
    auto found = row_of_.find(KeyOf(type));
    if (found != row_of_.end()) {
      Add(found->second, used_by);
      return;
    }
    if (IsAutomationBasic(name) || !warned_.insert(KeyOf(type)).second) return;
    const std::string library = type.LibraryName();
    if (library != library_name_) {
      closure_.warnings.push_back("needs " + name + " from " +
                                  (library.empty() ? std::string("another library") : library) +
                                  " (used by " + used_by + ")");
    } else {
      closure_.warnings.push_back("needs " + type.KindText() + " " + name +
                                  ", which no list shows (used by " + used_by + ")");
    }
  }

  void Add(RowRef row, const std::string& used_by) {
    if (!selected_.insert(row).second) return;
    closure_.added.push_back(Describe(row, used_by));
    QueueRow(row);
  }

  AddedRow Describe(RowRef row, const std::string& used_by) const {
    AddedRow added{row, std::string(), std::string(), used_by};
    switch (row.list) {
      case ListKind::kTypes: {
        const typeinfo::Type* record = ResolveRecordRow(in_, row.hidden);
        added.name = record ? typeinfo::RecordRowName(record->Name()) : std::string();
        added.what = "record " + added.name;
        break;
      }
      case ListKind::kEnumerations: {
        const typeinfo::Type* group = ResolveEnumerationRow(in_, row.hidden);
        const bool module = group && group->TypeKind() == typeinfo::kTypeKindModule;
        added.name = group ? group->Name() : std::string();
        added.what = (module ? "module " : "enumeration ") + added.name;
        break;
      }
      case ListKind::kEvents:
        added.name = InterfaceName(ResolveEventRow(in_, row.hidden));
        added.what = "event interface " + added.name;
        break;
      case ListKind::kClasses: {
        const ClassRowTarget target = ResolveClassRow(in_, row.hidden);
        added.name = InterfaceName(target.interface);
        added.what = "interface " + added.name;
        if (target.object_class != nullptr) {
          added.what += " (object class " + target.object_class->Name() + ")";
        }
        break;
      }
    }
    return added;
  }

  const GenerationInputs& in_;
  const std::string library_name_;
  std::unordered_map<std::string, RowRef> row_of_;
  std::unordered_set<RowRef, RowHash, RowEqual> selected_;
  std::unordered_set<std::pair<const typeinfo::Type*, Walk>, WalkHash> queued_;
  std::deque<std::pair<const typeinfo::Type*, Walk>> queue_;
  std::unordered_set<std::string> followed_aliases_;
  std::unordered_set<std::string> warned_;
  Closure closure_;
};

}  // namespace

Closure CloseSelection(const GenerationInputs& inputs) { return ClosureWalker(inputs).Run(); }

std::string AddedRowText(const AddedRow& row) {
  return "added " + row.what + ": used by " + row.used_by;
}

void CheckAddedRows(const std::vector<AddedRow>& rows, VectorContentsLists* lists) {
  std::vector<RowRef> refs;
  for (const AddedRow& row : rows) refs.push_back(row.row);
  CheckRowRefs(refs, lists);
}

}  // namespace velbrook::generate
