// Every generated HotBasic name the renderers form: parameter prefixes,
// declared member names, reserved member words, constant prefixes, and the
// rule that makes any library name a HotBasic identifier.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "render/line_list.h"
#include "render/render_context.h"
#include "typeinfo/component.h"

namespace velbrook::render {

// Prefixes of GUID constants and of the ProgID string constant.
inline constexpr char kIidPrefix[] = "IID_";
inline constexpr char kClsidPrefix[] = "CLSID_";
inline constexpr char kProgIdPrefix[] = "ProgID_";

// Put prefixes the generic Invoke wrapper recognises in a method name.
inline constexpr char kPutPrefix[] = "set_";
inline constexpr char kPutRefPrefix[] = "setbyref_";
// Prefix of event handler subs.
inline constexpr char kEventPrefix[] = "on";

// Member names HotBasic reserves ("end", "get"); such a name gets a "_" in
// front.
const LineList& ReservedMemberWords();

// Type-dependent prefix of a generated parameter name.
std::string ParamPrefix(int32_t vt);

// "property", "get", "put", "putref" or "call".
std::string InvokeKindWord(const typeinfo::Member& member);

// The name a member is declared under in the current wrapper type or event
// block. Reads the event flag and the member-name list; changes nothing.
std::string MemberDeclName(const RenderContext& context, const typeinfo::Member& member);

// When the name a member is declared under had to be made an identifier
// (see ToIdentifier), the renaming; reserved words and the uniqueness
// suffixes above are not renamings, they are how members are declared.
std::optional<Rename> MemberRename(const RenderContext& context, const typeinfo::Member& member);

// Identifiers. HotBasic compares names without regard to case. The generator
// writes a name from a library as it is when it is an identifier: an ASCII
// letter or "_", then ASCII letters, digits and "_". Anything else is made
// one by ToIdentifier, and a name that is a reserved word, or that equals an
// earlier one of its scope but for case, gets a suffix (NameScope). Every
// renaming is noted in the file as a comment (RenameNote) and reported in the
// run's warning (RenameWarning).
bool IsIdentifier(std::string_view name);

// Every byte that is not an ASCII letter, digit or "_" becomes "_" (so does
// each byte of a character outside ASCII); a result that is empty or starts
// with a digit gets "_" in front: "Size NE SW" gives Size_NE_SW, ".NET" _NET,
// "0 (Pixel)" _0__Pixel_.
std::string ToIdentifier(std::string_view name);

// Words a name that stands on its own ($define names, TYPE names, parameter
// names) must not be, compared lower-cased: HotBasic's statements, types,
// directives and predefined names, the registers, and every name the generic
// COM block and the generated code define (the full list is in naming.cpp).
bool IsReservedWord(std::string_view name);

// One scope of names that must differ in HotBasic. Claim returns the name to
// write: `wanted` itself when it is an identifier, allowed and not yet
// claimed; otherwise ToIdentifier of it, with "_" appended to a word the
// scope closes and then "_2", "_3", ... until it is free, and *rename is set.
// Each claim costs constant time on average, however many names collide.
class NameScope {
 public:
  enum class Closed {
    kReservedWords,  // names that stand on their own
    kMemberWords,    // names inside a TYPE: ReservedMemberWords
  };
  explicit NameScope(Closed closed) : closed_(closed) {}
  std::string Claim(std::string_view wanted, std::optional<Rename>* rename);

 private:
  Closed closed_;
  std::unordered_set<std::string> taken_;             // lower-cased
  std::unordered_map<std::string, int> next_suffix_;  // lower-cased base
};

// A name on its own without a scope to claim it in (record TYPE names, which
// fields of other records name too): ToIdentifier, and "_" appended to a
// reserved word. The same name always gives the same result.
std::string StandaloneName(std::string_view name, std::optional<Rename>* rename);
// A field name inside a record TYPE: ToIdentifier, and "_" appended to a
// reserved member word.
std::string FieldName(std::string_view name, std::optional<Rename>* rename);

// The comment text that notes a renaming in the file, without the "'":
// renamed "0 (Pixel)" to _0__Pixel_: not a HotBasic identifier. Control
// characters of the original are shown as "?" so the comment stays one line.
std::string RenameNote(const Rename& rename);
// The run's one warning about its renamings, empty when there were none;
// lists the first ten.
std::string RenameWarning(const std::vector<Rename>& renames);

}  // namespace velbrook::render
