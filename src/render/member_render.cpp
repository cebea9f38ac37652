// RenderMember: head comment, opening line, parameter lines and closing
// lines of one member in the style the context asks for.
#include "render/member_render.h"

#include "render/member_description.h"
#include "render/naming.h"
#include "render/param_table.h"
#include "render/text_ops.h"
#include "render/vtable_body.h"

namespace velbrook::render {
namespace {

constexpr char kCrLf[] = "\r\n";

enum class Style { kEvent, kVtable, kInvoke };

// What one RenderMember call works from; use Invoke is read once into style.
struct MemberBlock {
  Style style;
  std::string kind_word;
  std::string declared_name;
  std::string description;
  int32_t dispatch_id;
  int32_t vtable_offset;
  ParamTable table;
};

// The retval note as the Invoke-style head shows it.
std::string DisplayNote(const std::string& note) {
  std::string text = ReplaceAll(note, "[in]", "");
  text = ReplaceAll(text, "[byref]", "");
  return CollapseBlanks(text);
}

std::string HeadLine(const MemberBlock& block) {
  std::string head;
  switch (block.style) {
    case Style::kEvent:
      head = "." + block.declared_name;
      break;
    case Style::kVtable:
      head = block.kind_word + " " + block.declared_name;
      break;
    case Style::kInvoke:
      head = block.declared_name;
      if (block.table.HasRetval()) {
        const ParamRow& r = block.table.Retval();
        head += " -- retval: " + r.type + " / " + DisplayNote(r.note);
      }
      break;
  }
  if (!block.description.empty()) head += " -- " + block.description;
  return (block.style == Style::kEvent ? "  ''  " : "' ") + head + kCrLf;
}

std::string InvokeWord(const MemberBlock& block) {
  if (block.kind_word == "sub") return "invoke";
  if (block.table.HasRetval() && AsciiLower(block.table.Retval().type) == "string") {
    return "getstr";
  }
  return "getnum";
}

// The opening text; the line stays open for the parameter list.
std::string OpeningText(const RenderContext& context, const MemberBlock& block) {
  const std::string& name = block.declared_name;
  switch (block.style) {
    case Style::kEvent:
      return "  ''   obj.SetEvent(" + std::to_string(block.dispatch_id) + ", codeptr(" + name +
             ")) '" + name + kCrLf + "'declare " + block.kind_word + " " + name + " STD ";
    case Style::kVtable:
      return "declare " + block.kind_word + " " + AsciiUpper(context.interface_name) + name;
    case Style::kInvoke:
      break;
  }
  const std::string word = InvokeWord(block);
  std::string text = word == "getstr" ? "'s$ = " : word == "getnum" ? "'x = " : "'";
  text += context.activex ? "obj." : "intf.";
  text += word + " (\"" + name + "\"";
  if (!block.table.rows.empty() && block.table.retval_index != 0) text += ",";
  return text;
}

// " as " and the result type where a declaration carries one.
bool ShowsResultType(const MemberBlock& block) {
  return block.kind_word == "function" && block.style != Style::kInvoke;
}

void AppendParameterLines(const MemberBlock& block, std::string* out) {
  const ParamTable& table = block.table;
  const int count = static_cast<int>(table.rows.size());
  bool first = true;
  for (int j = 0; j < count; ++j) {
    if (j == table.retval_index) continue;
    const ParamRow& row = table.rows[j];
    if (first) {
      *out += " _";
      *out += kCrLf;
      switch (block.style) {
        case Style::kEvent:
          *out += "'   (";
          break;
        case Style::kVtable:
          *out += "   (";
          break;
        case Style::kInvoke:
          *out += "'    ";
          break;
      }
      first = false;
    } else {
      *out += block.style == Style::kVtable ? "    " : "'    ";
    }
    *out += row.name + " as " + row.type;
    std::string note = ReplaceAll(row.note, "[in]", "");
    const bool last = j == count - 1 || (j == count - 2 && table.retval_index == count - 1);
    if (last) {
      *out += ")";
      if (ShowsResultType(block)) *out += " as " + table.Retval().type;
      *out += " ' " + note;
    } else {
      *out += ", _ ' " + CollapseBlanks(note);
    }
    *out += kCrLf;
  }
  if (first) {
    // No parameter line: close the opening line.
    if (block.style == Style::kInvoke) {
      *out += ")";
    } else if (ShowsResultType(block)) {
      *out += " as " + table.Retval().type;
    }
    *out += kCrLf;
  }
}

void AppendClosingLines(const RenderContext& context, const MemberBlock& block, std::string* out) {
  switch (block.style) {
    case Style::kEvent:
      *out += "'" + block.kind_word + " " + block.declared_name + kCrLf;
      *out += "'end " + block.kind_word + kCrLf;
      break;
    case Style::kVtable:
      *out +=
          block.kind_word + " " + AsciiUpper(context.interface_name) + block.declared_name + kCrLf;
      *out += VtableCallBody(block.table, block.kind_word, block.vtable_offset);
      *out += "end " + block.kind_word + kCrLf;
      break;
    case Style::kInvoke:
      break;
  }
}

}  // namespace

std::string RenderMember(RenderContext* context, const typeinfo::Member& member) {
  if (InvokeKindWord(member) == "property") {
    context->kind_word = "integer";
    return std::string();
  }
  MemberBlock block;
  if (context->event) {
    block.style = Style::kEvent;
  } else {
    block.style = context->use_invoke() ? Style::kInvoke : Style::kVtable;
  }
  block.dispatch_id = member.MemberId();
  block.declared_name = MemberDeclName(*context, member);
  block.description = MemberDescription(member);
  block.vtable_offset = member.VTableOffset();
  block.table = AnalyseParameters(member, context->event, block.style == Style::kVtable);
  block.kind_word = block.table.HasRetval() ? "function" : "sub";
  context->kind_word = block.kind_word;

  for (typeinfo::MissingType& missing : block.table.missing) {
    context->missing.push_back(std::move(missing));
  }
  // Names that had to be renamed to compile are noted above the block.
  std::string out;
  std::vector<Rename> renames = std::move(block.table.renames);
  if (std::optional<Rename> name = MemberRename(*context, member)) {
    renames.insert(renames.begin(), std::move(*name));
  }
  for (Rename& rename : renames) {
    out += "'" + RenameNote(rename) + kCrLf;
    context->renames.push_back(std::move(rename));
  }
  out += HeadLine(block);
  out += OpeningText(*context, block);
  AppendParameterLines(block, &out);
  AppendClosingLines(*context, block, &out);
  out += kCrLf;
  return out;
}

std::string TypeMemberLine(const RenderContext& context, const typeinfo::Member& member) {
  std::string line = MemberDeclName(context, member) + " as " + context.kind_word;
  if (line.size() < 40) line.append(40 - line.size(), ' ');
  const std::string description = MemberDescription(member);
  if (!description.empty()) line += "' " + description;
  return line;
}

}  // namespace velbrook::render
