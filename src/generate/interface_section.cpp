// The interface section. Blocks follow the display order of the checked
// rows; the object classes sharing a block are found by hidden number.
#include "generate/interface_section.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "generate/event_section.h"
#include "generate/row_resolution.h"
#include "render/inherited_members.h"
#include "render/member_render.h"
#include "render/naming.h"
#include "render/text_ops.h"
#include "typeinfo/help_text.h"

namespace velbrook::generate {
namespace {

constexpr char kSeparator[] = "'--------------------------------";
constexpr size_t kMaxTableText = 256;
constexpr size_t kCreatePadding = 27;

struct ClassEntry {
  const typeinfo::Type* object_class;
  std::string name;  // as the generated names use it
  std::string prog_id;
  std::optional<render::Rename> rename;
};

bool IsActiveX(const typeinfo::Type& object_class) {
  constexpr uint32_t kBoth = typeinfo::kTypeFlagCanCreate | typeinfo::kTypeFlagControl;
  return (object_class.TypeFlags() & kBoth) == kBoth;
}

// Checked coclass rows by their "Interfaces" text, hidden numbers ascending.
// Built once per run so the scan for further object classes stays linear.
using ClassGroups = std::unordered_map<std::string, std::vector<size_t>>;

ClassGroups GroupCheckedClassRows(const GenerationRun& run) {
  ClassGroups groups;
  const ContentsList& list = *run.inputs.classes;
  const size_t class_count = run.inputs.row_maps->ClassRowCount();
  for (size_t r = 0; r < list.RowCount(); ++r) {
    const size_t hidden = list.HiddenNumber(r);
    if (!list.IsChecked(r) || hidden >= class_count) continue;
    groups[list.CellText(r, kInterfacesColumn)].push_back(hidden);
  }
  for (auto& group : groups) std::sort(group.second.begin(), group.second.end());
  return groups;
}

class InterfaceBlock {
 public:
  InterfaceBlock(GenerationRun* run, const ClassGroups& groups)
      : run_(run), groups_(groups), out_(run->writer) {}

  void Write(size_t hidden);

 private:
  void AddClass(const typeinfo::Type* object_class);
  void WriteHeading();
  void WriteGuidConstants();
  void WriteTypeHead();
  void WriteCreateMembers();
  void WriteInheritedMembers();
  const typeinfo::MemberList* ChooseMembers();
  void WriteMembers(const typeinfo::MemberList* members);
  void CollectCreatorsAndEvents();
  std::string VtableCreator(const ClassEntry& entry) const;
  std::string InvokeCreator(const ClassEntry& entry) const;
  void WriteGuid(const std::string& prefix, const std::string& name, const typeinfo::Type& type);
  // Bytes built for this block but not written yet.
  size_t Pending() const { return body_text_.size() + creator_text_.size() + event_text_.size(); }
  void WriteRenameNote(const std::optional<render::Rename>& rename);

  GenerationRun* run_;
  const ClassGroups& groups_;
  IncludeWriter& out_;
  const typeinfo::Type* interface_ = nullptr;
  std::string name_;  // as the generated names use it
  std::optional<render::Rename> name_rename_;
  bool activex_ = false;
  bool has_events_ = false;
  std::vector<ClassEntry> classes_;
  std::string body_text_;
  std::string creator_text_;
  std::string event_text_;
};

void InterfaceBlock::AddClass(const typeinfo::Type* object_class) {
  if (object_class == nullptr) return;
  std::string name = object_class->Name();
  if (name.size() > kMaxTableText) name.resize(kMaxTableText);
  ClassEntry entry{object_class, std::string(), run_->ProgIdOf(*object_class), std::nullopt};
  entry.name = render::StandaloneName(name, &entry.rename);
  if (entry.prog_id.size() > kMaxTableText) entry.prog_id.resize(kMaxTableText);
  classes_.push_back(std::move(entry));
}

void InterfaceBlock::WriteRenameNote(const std::optional<render::Rename>& rename) {
  if (!rename) return;
  out_.WriteLine("'" + render::RenameNote(*rename));
  run_->render.renames.push_back(*rename);
}

void InterfaceBlock::WriteGuid(const std::string& prefix, const std::string& name,
                               const typeinfo::Type& type) {
  std::string text;
  render::WriteGuidConstant(&run_->render, prefix, name, type, &run_->prog_ids, &text);
  out_.WriteRaw(text);
}

void InterfaceBlock::Write(size_t hidden) {
  // The row's interface and, for an object class row, its class.
  const ClassRowTarget target = ResolveClassRow(run_->inputs, hidden);
  if (target.interface == nullptr) return;  // nothing to write a block for
  interface_ = target.interface;
  if (target.object_class != nullptr) {
    AddClass(target.object_class);
    activex_ = IsActiveX(*target.object_class);
  }
  // Each interface is written once per run, whichever row asks first.
  const std::string key = InterfaceName(interface_);
  if (run_->written_interfaces.Contains(key)) return;
  run_->written_interfaces.Append(key);
  name_ = render::StandaloneName(key, &name_rename_);
  run_->render.interface_name = name_;
  run_->render.activex = activex_;
  run_->render.event = false;

  out_.WriteLine("");
  out_.WriteLine(kSeparator);
  out_.WriteLine("'");
  // The other checked object classes with this default interface share the
  // block; found by hidden number, wherever the sort put their rows.
  if (target.object_class != nullptr) {
    auto group = groups_.find(key);
    if (group != groups_.end()) {
      for (size_t p : group->second) {
        if (p != hidden) AddClass(ItemOf(run_->inputs.library->ObjectClasses(), p + 1));
      }
    }
  }
  WriteHeading();
  WriteGuidConstants();
  if (!run_->UseInvoke()) WriteTypeHead();
  if (!run_->UseInvoke()) WriteCreateMembers();
  if (!run_->UseInvoke()) WriteInheritedMembers();
  const typeinfo::MemberList* members = ChooseMembers();
  if (members != nullptr) {
    WriteMembers(members);
    CollectCreatorsAndEvents();
  }
  if (!run_->UseInvoke()) {
    out_.WriteLine("end type '-(" + name_ + ")");
    out_.WriteLine("");
  }
  // The creators, the member bodies and the event blocks follow the TYPE.
  out_.WriteLine(creator_text_);
  out_.WriteLine(body_text_);
  if (!event_text_.empty()) {
    out_.WriteLine("");
    out_.WriteLine(event_text_);
    event_text_.clear();
  }
}

// The comment heading: the interface and the object classes it serves.
void InterfaceBlock::WriteHeading() {
  run_->render.member_names.Clear();
  out_.WriteLine("'Interface " + name_);
  WriteRenameNote(name_rename_);
  for (const ClassEntry& entry : classes_) {
    std::string line = "'   default interface to object " + entry.name;
    if (!entry.prog_id.empty()) line += " - progID: " + entry.prog_id;
    out_.WriteLine(line);
    WriteRenameNote(entry.rename);
  }
  out_.WriteLine("'");
  out_.WriteLine(kSeparator);
  out_.WriteLine("");
}

// IID of the interface, CLSID of each class and IID of its event interface.
void InterfaceBlock::WriteGuidConstants() {
  WriteGuid(render::kIidPrefix, name_, *interface_);
  for (const ClassEntry& entry : classes_) {
    WriteGuid(render::kClsidPrefix, entry.name, *entry.object_class);
    const typeinfo::Type* event = entry.object_class->DefaultEventInterface();
    if (event != nullptr) {
      std::optional<render::Rename> rename;
      const std::string event_name = render::StandaloneName(event->Name(), &rename);
      if (!run_->render.written_guid_names.Contains(render::kIidPrefix + event_name)) {
        WriteRenameNote(rename);
      }
      WriteGuid(render::kIidPrefix, event_name, *event);
      has_events_ = true;
    }
  }
}

// The wrapper TYPE's first lines: the vtable pointer and, for a class with
// events, the event-handler bookkeeping.
void InterfaceBlock::WriteTypeHead() {
  std::string head = "type " + name_;
  if (activex_) head += " extends CANVAS";
  const std::string help = typeinfo::CleanHelpText(interface_->HelpString());
  if (!help.empty()) head += " '" + help;
  out_.WriteLine(head);
  out_.WriteLine("    pointer as integer = 0                  ' pointer to interface vtable");
  render::AddDeclaredName(&run_->render, "pointer");
  if (has_events_) {
    out_.WriteLine("    nbeventsset as integer = 0     'number of user-defined event handlers set");
    render::AddDeclaredName(&run_->render, "nbeventsset");
    out_.WriteLine(
        "    eventpointers as string * 800  'buffer for event dispidmembers and pointers");
    render::AddDeclaredName(&run_->render, "eventpointers");
    out_.WriteLine("    SetEvent as sub      'sub used to register event handlers");
    render::AddDeclaredName(&run_->render, "SetEvent");
  }
}

// One Create member per object class served by this wrapper.
void InterfaceBlock::WriteCreateMembers() {
  for (const ClassEntry& entry : classes_) {
    const size_t padding =
        entry.name.size() < kCreatePadding ? kCreatePadding - entry.name.size() : 0;
    out_.WriteLine("    Create" + entry.name + " as sub" + std::string(padding, ' ') +
                   "' create an instance of the " + entry.name + " object");
    render::AddDeclaredName(&run_->render, "Create" + entry.name);
  }
}

// Members inherited from the bases. The TYPE lines end with CR LF already;
// written as they are so no empty line follows them inside the type. No
// lines: nothing is written.
void InterfaceBlock::WriteInheritedMembers() {
  std::string member_blocks;
  std::string type_lines;
  const size_t room = out_.Room() > Pending() ? out_.Room() - Pending() : 0;
  const render::InheritedWalk walk = render::RenderInheritedMembers(
      &run_->render, *interface_, activex_, &member_blocks, &type_lines, room);
  if (!walk.loop_base.empty()) {
    run_->Warn("Sorry, the base interfaces of " + name_ + " lead back to " + walk.loop_base + "." +
               kCrLf + kCrLf + "(each inherited member is written once.)");
  }
  body_text_ += member_blocks;
  out_.WriteRaw(type_lines);
}

// The members to write: the vtable face's where there is one, else the
// dispinterface's own, with a warning when the style cannot reach them.
const typeinfo::MemberList* InterfaceBlock::ChooseMembers() {
  const typeinfo::Type* vtable = interface_->VTableInterface();
  const typeinfo::MemberList* members = vtable == nullptr ? nullptr : vtable->Members();
  if (members == nullptr) {
    if (!run_->UseInvoke()) {
      run_->Warn("Sorry, interface " + name_ + " probably won't be functional." + kCrLf + kCrLf +
                 "(it is based on Invoke and can't be accessed from a VTable.)");
    }
    members = interface_->Members();
    if (members == nullptr) return nullptr;
  }
  if (run_->UseInvoke() && render::IsDispatchBased(*interface_) == 0) {
    run_->Warn("Sorry, interface " + name_ + " probably won't be functional." + kCrLf + kCrLf +
               "(it is not based on Invoke and must be accessed from its VTable.)");
  }
  return members;
}

// Each member's body text and, in vtable style, its TYPE line.
void InterfaceBlock::WriteMembers(const typeinfo::MemberList* members) {
  const uint32_t count = typeinfo::WalkCount(members);
  for (uint32_t m = 1; m <= count && run_->writer.HasRoomFor(Pending()); ++m) {
    const typeinfo::Member* member = members->Item(m);
    if (member == nullptr) continue;
    body_text_ += render::RenderMember(&run_->render, *member);
    if (!run_->UseInvoke()) {
      out_.WriteLine("    " + render::TypeMemberLine(run_->render, *member));
      render::AddDeclaredName(&run_->render, render::MemberDeclName(run_->render, *member));
    }
  }
}

// Creators for every class served, and the event blocks of their default
// event interfaces.
void InterfaceBlock::CollectCreatorsAndEvents() {
  for (const ClassEntry& entry : classes_) {
    // Many classes sharing one long event interface multiply its text.
    if (!run_->writer.HasRoomFor(Pending())) return;
    const typeinfo::Type* event = entry.object_class->DefaultEventInterface();
    if (event != nullptr) {
      event_text_ += EventBlockText(run_, event, entry.name);
      event_text_ += kCrLf;
      run_->written_interfaces.Append(event->Name());
    }
    creator_text_ += "' Creation of " + entry.name + " object" + kCrLf;
    creator_text_ += run_->UseInvoke() ? InvokeCreator(entry) : VtableCreator(entry);
    creator_text_ += kCrLf;
  }
}

std::string InterfaceBlock::VtableCreator(const ClassEntry& entry) const {
  const std::string& c = entry.name;
  const std::string created = "Creation of " + c + " object failed:";
  std::string text;
  auto line = [&text](const std::string& l) { text += l + kCrLf; };
  const std::string sub_name = render::AsciiUpper(name_) + "Create" + c;
  line("declare sub " + sub_name);
  line("sub " + sub_name);
  if (!IsActiveX(*entry.object_class)) {
    line("CoCreateInstance(CLSID_" + c + ", 0, 21, IID_" + name_ + ", hbObj) 'CLSCTX_ALL");
    line("COMRESULT=EAX");
    line(CreatorFailureLine(created));
  } else {
    const std::string id = entry.prog_id.empty() ? entry.object_class->GuidText() : entry.prog_id;
    line("'convert progID (or CLSID) to Unicode");
    line("defstr progid=\"" + id + "\"");
    line("Velbrookl=MultiByteToWideChar(0,0,@progid,-1,0,0)");
    line("defstr wprogid=space$(Velbrookl+Velbrookl)");
    line("Velbrookl=MultiByteToWideChar(0,0,@progid,-1,@wprogid,Velbrookl)");
    line("'create control and bind it to hWnd");
    line("COMRESULT=AtlAxCreateControl(@wprogid,hbHnd,0,0)");
    line(CreatorFailureLine(created));
    line("'get IUnknown interface of the object created");
    line("COMRESULT=AtlAxGetControl(hbHnd,hbObj) 'get IUnknown of the control");
    line(CreatorFailureLine(created));
    if (entry.object_class->DefaultEventInterface() != nullptr) {
      line("'attach event interface");
      line(
          "COMRESULT=AtlAdvise(byref(hbObj), @pstandardEventsVtable, IID_IDispatch, "
          "@Velbrookl)");
      line(CreatorFailureLine("Connection of " + c + " event handler failed:"));
    }
    line("'QueryInterface to get IDispatch interface of the object created");
    line("Velbrookpsub=byref(byref(byref(hbObj))) 'QueryInterface");
    line("'and store it in .pointer");
    line("callfunc Velbrookpsub, hbObj, @IID_IDispatch, byref(hbObj)");
    line("COMRESULT=EAX");
    line(CreatorFailureLine(created));
  }
  line("end sub");
  return text;
}

std::string InterfaceBlock::InvokeCreator(const ClassEntry& entry) const {
  const std::string id = entry.prog_id.empty() ? entry.object_class->GuidText() : entry.prog_id;
  if (IsActiveX(*entry.object_class)) {
    return "'dim obj as ACTIVEX : obj.CreateActiveX(\"" + id + "\") '" + entry.name + kCrLf;
  }
  return "'dim intf as INTERFACE : intf.CreateObject(\"" + id + "\") '" + entry.name + kCrLf;
}

}  // namespace

std::string CreatorFailureLine(const std::string& message) {
  return "if COMRESULT then showmessage \"" + message +
         "\"+chr$(13)+WinErrorMsg(COMRESULT)+\" (&h\"+hex$(COMRESULT)+\")\"";
}

void WriteInterfaceSection(GenerationRun* run) {
  const ClassGroups groups = GroupCheckedClassRows(*run);
  const ContentsList& list = *run->inputs.classes;
  for (size_t r = 0; r < list.RowCount() && run->Going(); ++r) {
    run->Progress("Object classes", r + 1, list.RowCount());
    if (!list.IsChecked(r)) continue;
    InterfaceBlock block(run, groups);
    block.Write(list.HiddenNumber(r));
  }
}

}  // namespace velbrook::generate
