// Naming rules of generated parameters and members, and the identifier rule
// every name from a library passes through.
#include "render/naming.h"

#include "render/text_ops.h"

namespace velbrook::render {
namespace {

constexpr char kNotIdentifier[] = "not a HotBasic identifier";
constexpr char kReserved[] = "a word HotBasic or the generic COM block reserves";
constexpr char kTaken[] = "the name is already used (HotBasic ignores case)";

// Lower-cased. HotBasic's own words, from its documentation's statement,
// directive and data type lists (the documented ones and the ones every BASIC
// reserves); the symbols its compiler defines itself ($APPTYPE, the
// pre-dimensioned GUI variables); the registers the generated code reads;
// and every name the generic COM block or the generated wrappers define
// (types, globals, subs, the API functions it declares, guard symbols).
// A $define of any of them would rewrite the program that includes the file.
constexpr const char* kReservedWords[] = {
    // statements and operators
    "and", "as", "asm", "begin", "byref", "byval", "call", "callfunc", "case", "close", "codeptr",
    "const", "create", "data", "declare", "defbyte", "defdbl", "defdword", "defint", "defint64",
    "deflng", "defreal10", "defshort", "defsng", "defstr", "defword", "dim", "do", "else", "elseif",
    "end", "exit", "extends", "for", "function", "get", "gosub", "goto", "if", "input", "let",
    "lib", "local", "loop", "mod", "next", "not", "on", "open", "or", "print", "private", "public",
    "read", "redim", "rem", "restore", "result", "retval", "return", "runonce", "select", "shared",
    "shl", "showmessage", "shr", "static", "std", "step", "stop", "sub", "then", "to", "type",
    "until", "varptr", "wend", "while", "with", "xor",
    // the data types (HotBasic's object types such as RECT, FILE or TIMER are
    // not closed: a library's own TYPE Rect is its own)
    "byte", "canvas", "double", "dword", "int64", "integer", "long", "real10", "short", "single",
    "string", "variant", "word",
    // compiler symbols and predefined variables
    "cgi", "console", "dll", "gui", "obj", "hwnd", "umsg", "wparam", "lparam", "ncode", "hbobj",
    "hbargs", "hbhnd", "eax", "ebx", "ecx", "edx", "esi", "edi", "ebp", "esp",
    // the generic COM block and the generated wrappers
    "activex", "activexcreateactivex", "activexgetnum", "activexgetstr", "activexinvoke",
    "activexqueryinterface", "ansi", "atladvise", "atlaxcreatecontrol", "atlaxgetcontrol",
    "atlaxwininit", "bindmoniker", "clsidfromprogid", "clsidfromstring", "cocreateinstance",
    "coinitialize", "comencoding", "cominit", "cominiteventconnections", "cominiteventtable",
    "comresult", "connectevents", "createbindctx", "disconnectevents", "dispparams",
    "doqueryinterface", "dovelbrookgenerics2", "dovelbrookgenerics2nexttime", "enum", "enumendenum",
    "enumenum", "enumnextitem", "eventconnections", "eventtable", "formatmessagea", "getidofname",
    "getobject", "globalalloc", "globalfree", "guid", "iid_idispatch", "iid_iobjectwithsite",
    "iid_iunknown", "iid_null", "interface", "interfaceaddref", "interfacecreateobject",
    "interfacegetnum", "interfacegetstr", "interfaceinvoke", "interfacequeryinterface",
    "interfacerelease", "invokewrapper", "mkparsedisplayname", "multibytetowidechar", "nullvariant",
    "progid", "pstandardeventsvtable", "rtlzeromemory", "setevent", "setindirect",
    "standardeventinvoke", "standardeventnotimpl1", "standardeventnotimpl3",
    "standardeventnotimpl5", "standardeventqueryinterface", "standardeventreturn1",
    "standardeventsvtable", "velbrookgenerics", "velbrookgenerics2", "velbrookl", "velbrookpsub",
    "void", "widechartomultibyte", "winerrormsg", "wprogid"};

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool Closes(NameScope::Closed closed, std::string_view name) {
  return closed == NameScope::Closed::kReservedWords
             ? IsReservedWord(name)
             : ReservedMemberWords().Contains(AsciiLower(name));
}

// ToIdentifier, then "_" after a closed word; the reason for the first
// change, empty when there was none.
std::string CleanName(std::string_view name, NameScope::Closed closed, std::string* reason) {
  std::string clean = ToIdentifier(name);
  if (clean != name) *reason = kNotIdentifier;
  if (Closes(closed, clean)) {
    clean += "_";
    if (reason->empty()) *reason = kReserved;
  }
  return clean;
}

std::string Checked(std::string_view name, std::string clean, const std::string& reason,
                    std::optional<Rename>* rename) {
  if (reason.empty()) {
    rename->reset();
  } else {
    *rename = Rename{std::string(name), clean, reason};
  }
  return clean;
}

}  // namespace

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

namespace {

// The member's name behind its event or put prefix.
std::string PrefixedName(const RenderContext& context, const typeinfo::Member& member) {
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
  return prefix + name;
}

}  // namespace

std::string MemberDeclName(const RenderContext& context, const typeinfo::Member& member) {
  std::string declared = ToIdentifier(PrefixedName(context, member));
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

std::optional<Rename> MemberRename(const RenderContext& context, const typeinfo::Member& member) {
  if (IsIdentifier(PrefixedName(context, member))) return std::nullopt;
  return Rename{member.Name(), MemberDeclName(context, member), kNotIdentifier};
}

bool IsIdentifier(std::string_view name) {
  if (name.empty() || IsAsciiDigit(name[0])) return false;
  for (char c : name) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '_') return false;
  }
  return true;
}

std::string ToIdentifier(std::string_view name) {
  std::string clean;
  clean.reserve(name.size() + 1);
  if (name.empty() || IsAsciiDigit(name[0])) clean += '_';
  for (char c : name) clean += IsAsciiLetter(c) || IsAsciiDigit(c) ? c : '_';
  return clean;
}

bool IsReservedWord(std::string_view name) {
  static const auto* const kWords = [] {
    auto* words = new std::unordered_set<std::string_view>;
    for (const char* word : kReservedWords) words->insert(word);
    return words;
  }();
  return kWords->count(AsciiLower(name)) > 0;
}

std::string NameScope::Claim(std::string_view wanted, std::optional<Rename>* rename) {
  std::string reason;
  const std::string base = CleanName(wanted, closed_, &reason);
  std::string name = base;
  const std::string lower_base = AsciiLower(base);
  if (taken_.count(lower_base) > 0) {
    if (reason.empty()) reason = kTaken;
    // Remembering where the suffixes of a base got to keeps a library with
    // thousands of equal names linear.
    int& next = next_suffix_[lower_base];
    if (next < 2) next = 2;
    do {
      name = base + "_" + std::to_string(next++);
    } while (taken_.count(AsciiLower(name)) > 0);
  }
  taken_.insert(AsciiLower(name));
  return Checked(wanted, name, reason, rename);
}

std::string StandaloneName(std::string_view name, std::optional<Rename>* rename) {
  std::string reason;
  std::string clean = CleanName(name, NameScope::Closed::kReservedWords, &reason);
  return Checked(name, std::move(clean), reason, rename);
}

std::string FieldName(std::string_view name, std::optional<Rename>* rename) {
  std::string reason;
  std::string clean = CleanName(name, NameScope::Closed::kMemberWords, &reason);
  return Checked(name, std::move(clean), reason, rename);
}

std::string RenameNote(const Rename& rename) {
  return "renamed \"" + OneLineText(rename.original) + "\" to " + rename.written + ": " +
         rename.reason;
}

std::string RenameWarning(const std::vector<Rename>& renames) {
  constexpr size_t kListed = 10;
  // A block written twice (an event interface of two classes) renames the
  // same names twice; each counts once.
  std::vector<std::string> notes;
  std::unordered_set<std::string> seen;
  for (const Rename& rename : renames) {
    std::string note = RenameNote(rename);
    if (seen.insert(note).second) notes.push_back(std::move(note));
  }
  if (notes.empty()) return std::string();
  std::string text = "Sorry, " + std::to_string(notes.size()) +
                     (notes.size() == 1 ? " name" : " names") +
                     " of this library could not be written as they are and were renamed:\r\n";
  for (size_t i = 0; i < notes.size() && i < kListed; ++i) text += "\r\n" + notes[i];
  if (notes.size() > kListed) {
    text += "\r\n... and " + std::to_string(notes.size() - kListed) + " more";
  }
  return text + "\r\n\r\n(each renaming is noted in the file beside the name.)";
}

}  // namespace velbrook::render
