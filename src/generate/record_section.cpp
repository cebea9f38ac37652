// Records are built in three passes (field lines, embedding, output). The
// scratch texts stay in memory: files named temp<k>.txt in the start
// directory could overwrite and then delete a user's own files.
#include "generate/record_section.h"

#include <unordered_map>

#include "generate/row_resolution.h"
#include "render/constant_value.h"
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

std::string TrimLeadingBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first);
}

// Record text k: line 0 the head, the last line "  END TYPE".
struct RecordText {
  std::string name;
  std::vector<std::string> lines;
};

std::vector<std::string> RecordLines(const std::string& name, const typeinfo::Type& record) {
  std::vector<std::string> lines;
  lines.push_back("  TYPE " + name);
  const typeinfo::MemberList* fields = record.Members();
  const uint32_t count = typeinfo::WalkCount(fields);
  for (uint32_t f = 1; f <= count; ++f) {
    const typeinfo::Member* field = fields->Item(f);
    if (field != nullptr) lines.push_back(RecordFieldLine(*field));
  }
  lines.push_back("  END TYPE");
  return lines;
}

// Pass 2 without re-reading: each field line whose type word names a
// generated record is replaced by that record's fields, prefixed with the
// field name, and the inserted lines are examined in turn. Embedding always
// copies a record's own pass-1 lines, so the result does not depend on the
// order of the records, and a record already being expanded on the current
// chain is not embedded again (a record reaching itself would never end).
class Embedder {
 public:
  explicit Embedder(const std::vector<RecordText>& records) : records_(records) {
    for (size_t k = 0; k < records.size(); ++k) {
      // Whole-line look-up finds the first line of a name.
      index_.emplace(records[k].name, k);
    }
    on_chain_.assign(records.size(), false);
  }

  std::vector<std::string> Expand(size_t k) {
    const std::vector<std::string>& lines = records_[k].lines;
    std::vector<std::string> out;
    out.push_back(lines.front());
    on_chain_[k] = true;
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
      ExpandLine(lines[i], TrimLeadingBlanks(lines[i]), &out);
    }
    on_chain_[k] = false;
    out.push_back(lines.back());
    return out;
  }

 private:
  void ExpandLine(const std::string& line, const std::string& s, std::vector<std::string>* out) {
    const size_t as = s.find(" as ");
    if (render::StartsWith(s, "'") || as == std::string::npos) {
      out->push_back(line);
      return;
    }
    auto found = index_.find(render::FirstWord(s.substr(as + 4)));
    if (found == index_.end() || on_chain_[found->second]) {
      out->push_back(line);
      return;
    }
    const size_t j = found->second;
    const std::string field_name = render::FirstWord(s);
    out->push_back("    'embedded " + s);
    on_chain_[j] = true;
    const std::vector<std::string>& embedded = records_[j].lines;
    for (size_t q = 1; q + 1 < embedded.size(); ++q) {
      const std::string nested = field_name + "_" + TrimLeadingBlanks(embedded[q]);
      ExpandLine(kFieldIndent + nested, nested, out);
    }
    on_chain_[j] = false;
    out->push_back("    'end of embedded " + field_name);
  }

  const std::vector<RecordText>& records_;
  std::unordered_map<std::string, size_t> index_;
  std::vector<bool> on_chain_;
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

std::string RecordFieldLine(const typeinfo::Member& field) {
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
      text = name == "GUID" ? "STRING*16 'GUID" : name;
    } else {
      text += " " + referenced.KindText() + " " + name;
    }
  }
  std::string bounds;
  if ((vt & kVtFixedArray) == kVtFixedArray) {
    bounds = BoundsText(type->ArrayBounds());
    text = StripLeadingUnderscores(render::VarTypeText(vt - kVtFixedArray));
  }
  return kFieldIndent + field.Name() + bounds + " as " + text;
}

void WriteRecordSection(GenerationRun* run) {
  // Pass 1: the field lines of every checked record, in row order.
  std::vector<RecordText> records;
  const ContentsList& list = *run->inputs.types;
  for (size_t r = 0; r < list.RowCount(); ++r) {
    run->Progress("Types", r + 1, list.RowCount());
    if (!list.IsChecked(r)) continue;
    const typeinfo::Type* record = ResolveRecordRow(run->inputs, list.HiddenNumber(r));
    RecordText text;
    text.name = record == nullptr ? std::string() : StripLeadingUnderscores(record->Name());
    if (record != nullptr) {
      text.lines = RecordLines(text.name, *record);
    } else {
      text.lines = {"  TYPE ", "  END TYPE"};
    }
    records.push_back(std::move(text));
  }
  // Passes 2 and 3: embed, then write each record and an empty line.
  Embedder embedder(records);
  for (size_t k = 0; k < records.size(); ++k) {
    std::string text;
    for (const std::string& line : embedder.Expand(k)) {
      text += line;
      text += kCrLf;
    }
    run->writer.WriteLine(text);
  }
}

void WriteEnumerationSection(GenerationRun* run) {
  const ContentsList& list = *run->inputs.enumerations;
  for (size_t r = 0; r < list.RowCount() && run->Going(); ++r) {
    run->Progress("Enumerations", r + 1, list.RowCount());
    if (!list.IsChecked(r)) continue;
    const typeinfo::Type* enumeration = ResolveEnumerationRow(run->inputs, list.HiddenNumber(r));
    if (enumeration == nullptr) continue;
    run->writer.WriteLine("' " + enumeration->Name() + "Enumeration");
    const std::string help = typeinfo::CleanHelpText(enumeration->HelpString());
    // The help line carries its own CR LF, which leaves an empty line.
    if (!help.empty()) run->writer.WriteLine("' " + help + kCrLf);
    const typeinfo::MemberList* constants = enumeration->Members();
    const uint32_t count = typeinfo::WalkCount(constants);
    for (uint32_t c = 1; c <= count; ++c) {
      const typeinfo::Member* constant = constants->Item(c);
      if (constant == nullptr) continue;
      run->writer.WriteLine("  $define " + constant->Name() + " " +
                            render::ConstantValueText(constant->ConstantValue()));
    }
    run->writer.WriteLine("");
  }
}

}  // namespace velbrook::generate
