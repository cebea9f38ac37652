// Naming rules of generated parameters and members.
#include "render/naming.h"

#include "render/text_ops.h"

namespace velbrook::render {

void AddDeclaredName(RenderContext* context, const std::string& name) {
  context->member_names.Append(AsciiLower(name));
}

const LineList& ReservedMemberWords() {
  static const LineList* const kWords = new LineList{"end", "get"};
  return *kWords;
}

std::string ParamPrefix(int32_t vt) {
  switch (vt) {
    case 8:
      return "str";
    case 2:
      return "w_";
    case 4:
      return "s_";
    case 5:
    case 7:
      return "d_";
    case 16:
      return "b_";
    case 12:
      return "v_";
    case 30:
    case 31:
      return "str";
    case 4096:
    case 8192:
      return "a_";
    case 6:
    case 20:
    case 21:
      return "q_";
    default:
      return "l_";
  }
}

std::string InvokeKindWord(const typeinfo::Member& member) {
  switch (member.InvokeKind()) {
    case typeinfo::kInvokeData:
      return "property";
    case typeinfo::kInvokePropertyGet:
      return "get";
    case typeinfo::kInvokePropertyPut:
      return "put";
    case typeinfo::kInvokePropertyPutRef:
      return "putref";
    default:
      return "call";
  }
}

std::string MemberDeclName(const RenderContext& context, const typeinfo::Member& member) {
  const std::string name = member.Name();
  std::string prefix;
  if (context.event) {
    if (AsciiLower(name.substr(0, 2)) != kEventPrefix) prefix = kEventPrefix;
  } else {
    std::string kind = InvokeKindWord(member);
    const std::string head = AsciiUpper(name.substr(0, 3));
    // A put member already named SetX or PutX reads well without "set_".
    if (kind == "put" && (head == "SET" || head == "PUT")) kind = "call";
    if (kind == "put") prefix = kPutPrefix;
    if (kind == "putref") prefix = kPutRefPrefix;
  }
  std::string declared = prefix + name;
  if (ReservedMemberWords().Contains(AsciiLower(declared))) {
    declared = "_" + declared;
  }
  std::string candidate = declared;
  int suffix = 0;  // 0 stands for the empty suffix
  while (context.member_names.Contains(AsciiLower(candidate))) {
    suffix = suffix == 0 ? 2 : suffix + 1;
    candidate = declared + "_" + std::to_string(suffix);
  }
  return candidate;
}

}  // namespace velbrook::render
