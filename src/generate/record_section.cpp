// Records are written in four stages: the field lines of every checked
// record, the plan of what each field embeds, the layout (the padding that
// puts each field at its offset), and the output. Everything
// stays in memory: scratch files named temp<k>.txt in the start directory
// could overwrite and then delete a user's own files.
#include "generate/record_section.h"

#include "generate/natural_layout.h"
#include "generate/record_layout.h"
#include "generate/record_plan.h"
#include "generate/row_resolution.h"
#include "render/constant_value.h"
#include "render/missing_types.h"
#include "render/naming.h"
#include "render/text_ops.h"
#include "render/var_type_text.h"
#include "typeinfo/help_text.h"

namespace velbrook::generate {
namespace {

constexpr int32_t kVtArray = 0x2000;
constexpr int32_t kVtFixedArray = 0x1000;
constexpr char kFieldIndent[] = "     ";

std::string StripLeadingUnderscores(const std::string& text) {
  return typeinfo::RecordRowName(text);
}

// A field line and what its HotBasic type is made of.
struct FieldText {
  std::string line;
  std::string type_word;                   // the type text's first word
  uint64_t elements = 1;                   // of a fixed-size array
  bool sized = true;                       // false: absurd bounds
  const typeinfo::Type* record = nullptr;  // the record the type word names
};

FieldText MakeFieldText(const typeinfo::Member& field, std::vector<render::Rename>* renames,
                        std::vector<typeinfo::MissingType>* missing) {
  FieldText out;
  const typeinfo::TypeDescriptor* type = field.ValueType();
  const int32_t vt = type == nullptr ? 0 : type->VarType();

  std::string text = render::VarTypeText(vt);
  text = render::ReplaceAll(text, "STRING", "DWORD 'string pointer");
  text = render::ReplaceAll(text, "VARIANT", "DWORD 'variant pointer");
  text = render::ReplaceAll(text, "GUID", "DWORD 'GUID pointer");

  if ((vt & kVtArray) == kVtArray) {
    text = "DWORD  ' Array of " + render::VarTypeText(vt - kVtArray);
  }
  if (vt == 0 && type != nullptr && type->ReferencedType() != nullptr) {
    const typeinfo::Type& referenced = *type->ReferencedType();
    const std::string name = StripLeadingUnderscores(referenced.Name());
    std::optional<render::Rename> renamed;  // noted where the record is written
    if (referenced.TypeKind() == typeinfo::kTypeKindRecord && type->PointerLevel() > 0) {
      // A pointer to a record (the next element of a list, say) holds its
      // address, not the record: embedding it would misplace every field
      // after it.
      text =
          "DWORD '" + (name == "GUID" ? name : render::StandaloneName(name, &renamed)) + " pointer";
    } else if (referenced.TypeKind() == typeinfo::kTypeKindRecord) {
      text = name == "GUID" ? "STRING*16 'GUID" : render::StandaloneName(name, &renamed);
      if (name != "GUID") out.record = &referenced;
    } else {
      text += " " + referenced.KindText() + " " + name;
    }
  } else if (vt == 0 && type != nullptr) {
    if (std::optional<typeinfo::MissingType> what = type->MissingReference()) {
      text += std::string(" ") + render::kMissingWord + " " + render::MissingTypeText(*what);
      if (missing != nullptr) missing->push_back(std::move(*what));
    }
  }
  std::string bounds;
  if ((vt & kVtFixedArray) == kVtFixedArray) {
    bounds = BoundsText(type->ArrayBounds());
    out.sized = ArrayElementCount(type->ArrayBounds(), &out.elements);
    text = StripLeadingUnderscores(render::VarTypeText(vt - kVtFixedArray));
  }
  out.type_word = text.substr(0, text.find_first_of(" '"));
  std::optional<render::Rename> rename;
  const std::string name = render::FieldName(field.Name(), &rename);
  out.line = kFieldIndent + name + bounds + " as " + text;
  if (rename) {
    out.line += " '" + render::RenameNote(*rename);
    if (renames != nullptr) renames->push_back(std::move(*rename));
  }
  return out;
}

// Where the records' fields lie: the offsets and sizes the library stores,
// except in a 64-bit library, whose stored layout is for 8-byte pointers:
// there the 32-bit layout is worked out from the field types.
class LayoutSource {
 public:
  explicit LayoutSource(const typeinfo::Library& library)
      : worked_out_(library.SysKind() == typeinfo::kSysKindWin64) {}

  // The size a record not generated here takes, as its own TYPE would.
  uint64_t SizeOf(const typeinfo::Type& record) {
    if (!worked_out_) return record.InstanceSize() > 0 ? record.InstanceSize() : kUnknownSize;
    const NaturalRecordLayout& layout = natural_.Of(record);
    return layout.known ? layout.shape.size : kUnknownSize;
  }

  // The record's size and its fields' offsets (plan.fields in Members()
  // order, null items left out).
  void Apply(const typeinfo::Type& record, const std::vector<const typeinfo::Member*>& members,
             RecordPlan* plan) {
    if (plan->fields.empty()) return;  // nothing to place
    if (worked_out_) {
      const NaturalRecordLayout& layout = natural_.Of(record);
      plan->has_layout = true;
      if (!layout.known) {
        plan->layout_problem = "its 32-bit layout is not known: " + layout.problem;
        return;
      }
      plan->size = layout.shape.size;
      for (size_t i = 0; i < plan->fields.size(); ++i) {
        plan->fields[i].offset = int64_t(layout.offsets[i]);
      }
      return;
    }
    plan->size = record.InstanceSize();
    plan->has_layout = plan->size > 0;
    for (size_t i = 0; i < plan->fields.size(); ++i) {
      plan->fields[i].offset = members[i]->InstanceOffset();
      if (plan->fields[i].offset >= 0) plan->has_layout = true;
    }
  }

 private:
  bool worked_out_;
  NaturalLayouts natural_{4};
};

RecordPlan PlanOf(const typeinfo::Type* record, LayoutSource* layouts,
                  render::RenderContext* render) {
  std::vector<render::Rename>* renames = &render->renames;
  RecordPlan plan;
  if (record == nullptr) return plan;
  std::optional<render::Rename> rename;
  plan.name = render::StandaloneName(StripLeadingUnderscores(record->Name()), &rename);
  if (rename) {
    plan.head_note = " '" + render::RenameNote(*rename);
    renames->push_back(std::move(*rename));
  }
  const typeinfo::MemberList* fields = record->Members();
  const uint32_t count = typeinfo::WalkCount(fields);
  std::vector<const typeinfo::Member*> members;
  for (uint32_t f = 1; f <= count; ++f) {
    const typeinfo::Member* field = fields->Item(f);
    if (field == nullptr) continue;
    FieldText text = MakeFieldText(*field, renames, &render->missing);
    RecordField planned = MakeRecordField(std::move(text.line));
    if (text.record != nullptr) {
      planned.size = layouts->SizeOf(*text.record);
    } else if (text.sized && TypeWordSize(text.type_word) != kUnknownSize) {
      planned.size = TypeWordSize(text.type_word) * text.elements;
    }
    plan.fields.push_back(std::move(planned));
    members.push_back(field);
  }
  layouts->Apply(*record, members, &plan);
  return plan;
}

// Writes records as planned. A flattened record's field that names another
// generated record becomes "'embedded" and "'end of embedded" comments around
// that record's fields, each prefixed with the field name and "_"; embedded
// fields are examined in turn, so records inside embedded records expand as
// well. The walk keeps its own stack: records may nest thousands deep.
class RecordWriter {
 public:
  RecordWriter(GenerationRun* run, const std::vector<RecordPlan>& records)
      : run_(*run), out_(run->writer), records_(records) {}

  void Write(size_t k) {
    const RecordPlan& record = records_[k];
    out_.WriteLine("  TYPE " + record.name + record.head_note);
    if (!record.layout_problem.empty()) {
      const std::string why = render::OneLineText(record.layout_problem);
      run_.Warn("Sorry, record " + record.name + " is not laid out as the library lays it out." +
                kCrLf + kCrLf + "(" + why + "; its fields are written one after the other.)");
      out_.WriteLine("    'fields one after the other: " + why);
    }
    if (record.form == RecordForm::kFlattened) {
      WriteFlattened(k);
    } else {
      const bool too_large = record.form == RecordForm::kTooLarge;
      const std::string why = too_large ? "embedding its records would take more than " +
                                              std::to_string(kMaxFlattenedLines) + " lines"
                                        : "it contains itself through other records";
      run_.Warn("Sorry, record " + record.name + " is not flattened." + kCrLf + kCrLf + "(" + why +
                "; its fields are written as they are.)");
      out_.WriteLine("    'not flattened: " + why);
      for (const RecordField& field : record.fields) {
        if (!field.padding.empty()) Line(kFieldIndent, "", field.padding);
        out_.WriteLine(field.line);
      }
      if (!record.tail_padding.empty()) Line(kFieldIndent, "", record.tail_padding);
    }
    out_.WriteLine("  END TYPE");
    out_.WriteLine("");
  }

 private:
  struct Frame {
    size_t record;
    size_t next_field;
    size_t outer_prefix;  // length of the prefix outside this record
  };

  void WriteFlattened(size_t k) {
    std::string prefix;  // the embedding field names, each followed by "_"
    std::vector<Frame> frames{{k, 0, 0}};
    while (!frames.empty() && run_.Going()) {
      Frame& top = frames.back();
      const RecordPlan& record = records_[top.record];
      if (top.next_field == record.fields.size()) {
        if (!record.tail_padding.empty()) Line(kFieldIndent, prefix, record.tail_padding);
        const size_t outer_prefix = top.outer_prefix;
        frames.pop_back();
        if (frames.empty()) break;
        Line("    'end of embedded ", std::string_view(prefix).substr(0, prefix.size() - 1), "");
        prefix.resize(outer_prefix);
        continue;
      }
      const RecordField& field = record.fields[top.next_field++];
      const bool outermost = frames.size() == 1;
      if (!field.padding.empty()) Line(kFieldIndent, prefix, field.padding);
      // Outermost, a line that reads as a comment is left alone.
      if (Embeds(records_, top.record, field) &&
          !(outermost && render::StartsWith(field.Text(), "'"))) {
        Line("    'embedded ", prefix, field.Text());
        frames.push_back({field.embeds, 0, prefix.size()});
        prefix.append(field.Name()).append("_");
      } else if (outermost) {
        out_.WriteLine(field.line);
      } else {
        Line(kFieldIndent, prefix, field.Text());
      }
    }
  }

  void Line(std::string_view head, std::string_view prefix, std::string_view text) {
    out_.WriteRaw(head);
    out_.WriteRaw(prefix);
    out_.WriteLine(text);
  }

  GenerationRun& run_;
  IncludeWriter& out_;
  const std::vector<RecordPlan>& records_;
};

}  // namespace

std::string BoundsText(const std::vector<typeinfo::ArrayBound>& bounds) {
  if (bounds.empty()) return std::string();
  std::string text = "(";
  for (size_t d = 0; d < bounds.size(); ++d) {
    if (d > 0) text += ", ";
    text += std::to_string(bounds[d].lower) + " TO " + std::to_string(bounds[d].upper);
  }
  return text + ")";
}

std::string RecordFieldLine(const typeinfo::Member& field, std::vector<render::Rename>* renames,
                            std::vector<typeinfo::MissingType>* missing) {
  return MakeFieldText(field, renames, missing).line;
}

void WriteRecordSection(GenerationRun* run) {
  std::vector<RecordPlan> records;
  LayoutSource layouts(*run->inputs.library);
  const ContentsList& list = *run->inputs.types;
  for (size_t r = 0; r < list.RowCount(); ++r) {
    run->Progress("Types", r + 1, list.RowCount());
    if (list.IsChecked(r))
      records.push_back(
          PlanOf(ResolveRecordRow(run->inputs, list.HiddenNumber(r)), &layouts, &run->render));
  }
  LayOutRecords(PlanRecords(&records), &records);
  RecordWriter writer(run, records);
  for (size_t k = 0; k < records.size() && run->Going(); ++k) writer.Write(k);
}

void WriteEnumerationSection(GenerationRun* run) {
  // $define names share one scope: the whole program that includes the file.
  render::NameScope defines(render::NameScope::Closed::kReservedWords);
  const ContentsList& list = *run->inputs.enumerations;
  for (size_t r = 0; r < list.RowCount() && run->Going(); ++r) {
    run->Progress("Enumerations", r + 1, list.RowCount());
    if (!list.IsChecked(r)) continue;
    const typeinfo::Type* enumeration = ResolveEnumerationRow(run->inputs, list.HiddenNumber(r));
    if (enumeration == nullptr) continue;
    // A module's row stands for its constants; its functions are left out.
    const bool module = enumeration->TypeKind() == typeinfo::kTypeKindModule;
    run->writer.WriteLine("' " + enumeration->Name() + (module ? "Module" : "Enumeration"));
    const std::string help = typeinfo::CleanHelpText(enumeration->HelpString());
    // The help line carries its own CR LF, which leaves an empty line.
    if (!help.empty()) run->writer.WriteLine("' " + help + kCrLf);
    const typeinfo::MemberList* constants = enumeration->Members();
    const uint32_t count = typeinfo::WalkCount(constants);
    for (uint32_t c = 1; c <= count; ++c) {
      const typeinfo::Member* constant = constants->Item(c);
      if (constant == nullptr || (module && !typeinfo::IsConstantMember(*constant))) continue;
      std::optional<render::Rename> rename;
      const std::string name = defines.Claim(constant->Name(), &rename);
      if (rename) {
        run->writer.WriteLine("  '" + render::RenameNote(*rename));
        run->render.renames.push_back(std::move(*rename));
      }
      run->writer.WriteLine("  $define " + name + " " +
                            render::ConstantValueText(constant->ConstantValue()));
    }
    run->writer.WriteLine("");
  }
}

}  // namespace velbrook::generate
