// GUID constants: registry-form comment, then in vtable style a GUID record
// filled with four little-endian double words.
#include "render/guid_constant.h"

#include "render/naming.h"

namespace velbrook::render {
namespace {

constexpr char kCrLf[] = "\r\n";

// Characters from..from+count-1 (1-based); a short (damaged) GUID text gives
// what is there rather than reading past it.
std::string Chars(const std::string& text, size_t from, size_t count) {
  if (from < 1 || from > text.size()) return std::string();
  return text.substr(from - 1, count);
}

}  // namespace

GuidGroups GuidGroupsOf(const std::string& guid_text) {
  std::string h;
  for (char c : guid_text) {
    if (c != '{' && c != '}' && c != '-') h += c;
  }
  GuidGroups groups;
  groups.d1 = Chars(h, 1, 8);
  groups.d23 = Chars(h, 13, 4) + Chars(h, 9, 4);
  groups.d4 = Chars(h, 23, 2) + Chars(h, 21, 2) + Chars(h, 19, 2) + Chars(h, 17, 2);
  groups.d5 = Chars(h, 31, 2) + Chars(h, 29, 2) + Chars(h, 27, 2) + Chars(h, 25, 2);
  return groups;
}

void WriteGuidConstant(RenderContext* context, const std::string& prefix, const std::string& name,
                       const typeinfo::Type& type, const ProgIdSource* prog_ids, std::string* out) {
  const std::string constant = prefix + name;
  if (context->written_guid_names.Contains(constant)) return;
  context->written_guid_names.Append(constant);

  const bool use_invoke = context->use_invoke();
  const std::string guid = type.GuidText();
  const std::string prog_id = prog_ids == nullptr ? std::string() : prog_ids->ProgIdOfClass(guid);
  *out += "'" + constant + " = " + guid + kCrLf;
  if (!prog_id.empty()) *out += "'ProgID: " + prog_id + kCrLf;
  if (!use_invoke) {
    const GuidGroups g = GuidGroupsOf(guid);
    *out += "dim " + constant + " as GUID" + kCrLf;
    *out += "with " + constant + kCrLf;
    *out += "    .d1=&h" + g.d1 + " : .d23=&h" + g.d23 + " : .d4=&h" + g.d4 + " : .d5=&h" + g.d5 +
            kCrLf;
    *out += "end with ";
    *out += kCrLf;
    if (!prog_id.empty()) {
      *out += "defstr " + std::string(kProgIdPrefix) + name + " = \"" + prog_id + "\"" + kCrLf;
    }
  }
  *out += kCrLf;
}

}  // namespace velbrook::render
