// Records are written in three stages: the field lines of every checked
// record, the plan of what each field embeds, and the output. Everything
// stays in memory: scratch files named temp<k>.txt in the start directory
// could overwrite and then delete a user's own files.
#include "generate/record_section.h"

#include "generate/record_plan.h"
#include "generate/row_resolution.h"
#include "render/constant_value.h"
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

RecordPlan PlanOf(const typeinfo::Type* record, std::vector<render::Rename>* renames) {
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
  for (uint32_t f = 1; f <= count; ++f) {
    const typeinfo::Member* field = fields->Item(f);
    if (field != nullptr) {
      plan.fields.push_back(MakeRecordField(RecordFieldLine(*field, renames)));
    }
  }
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
      for (const RecordField& field : record.fields) out_.WriteLine(field.line);
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
        const size_t outer_prefix = top.outer_prefix;
        frames.pop_back();
        if (frames.empty()) break;
        Line("    'end of embedded ", std::string_view(prefix).substr(0, prefix.size() - 1), "");
        prefix.resize(outer_prefix);
        continue;
      }
      const RecordField& field = record.fields[top.next_field++];
      const bool outermost = frames.size() == 1;
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

std::string RecordFieldLine(const typeinfo::Member& field, std::vector<render::Rename>* renames) {
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
    if (referenced.TypeKind() == typeinfo::kTypeKindRecord) {
      std::optional<render::Rename> renamed;  // noted where the record is written
      text = name == "GUID" ? "STRING*16 'GUID" : render::StandaloneName(name, &renamed);
    } else {
      text += " " + referenced.KindText() + " " + name;
    }
  }
  std::string bounds;
  if ((vt & kVtFixedArray) == kVtFixedArray) {
    bounds = BoundsText(type->ArrayBounds());
    text = StripLeadingUnderscores(render::VarTypeText(vt - kVtFixedArray));
  }
  std::optional<render::Rename> rename;
  const std::string name = render::FieldName(field.Name(), &rename);
  if (!rename) return kFieldIndent + name + bounds + " as " + text;
  const std::string note = " '" + render::RenameNote(*rename);
  if (renames != nullptr) renames->push_back(std::move(*rename));
  return kFieldIndent + name + bounds + " as " + text + note;
}

void WriteRecordSection(GenerationRun* run) {
  std::vector<RecordPlan> records;
  const ContentsList& list = *run->inputs.types;
  for (size_t r = 0; r < list.RowCount(); ++r) {
    run->Progress("Types", r + 1, list.RowCount());
    if (list.IsChecked(r))
      records.push_back(
          PlanOf(ResolveRecordRow(run->inputs, list.HiddenNumber(r)), &run->render.renames));
  }
  PlanRecords(&records);
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
