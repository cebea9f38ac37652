// Which generated record each record field embeds, and whether a record can
// be flattened at all: decided once per record, so that writing a record that
// embeds records costs the lines it writes and no more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velbrook::generate {

inline constexpr size_t kNoRecord = SIZE_MAX;

// The most lines (fields and embedding comments) one flattened record may
// have. Records nest by value, so each level can double the count: 22 small
// records give four million lines. The biggest real record we know flattens
// to a few hundred lines, and a record's own fields number at most 65535.
inline constexpr uint64_t kMaxFlattenedLines = 65536;

// The size of a field or record whose HotBasic type has no size we know.
inline constexpr uint64_t kUnknownSize = UINT64_MAX;

// One field line of a record as the field list gives it.
struct RecordField {
  // "     name as TYPE": written as it is wherever nothing is embedded.
  std::string line;
  // Where the line's text starts after its leading blanks and tabs, and the
  // length of the field name (the text up to its first blank).
  size_t text = 0;
  size_t name_length = 0;
  // The generated record the line's type word names, or kNoRecord.
  size_t embeds = kNoRecord;
  // Where the field lies in its record as the library lays it out, in bytes;
  // -1 when the library gives no offset.
  int64_t offset = -1;
  // Bytes the line's HotBasic type takes, kUnknownSize when not known; a
  // field naming a generated record takes that record's written size instead.
  uint64_t size = kUnknownSize;
  // The padding member written before the field, without indent, or empty.
  std::string padding;

  std::string_view Text() const { return std::string_view(line).substr(text); }
  std::string_view Name() const { return Text().substr(0, name_length); }
  // The name without the bounds of an array: "data" of "data(0 TO 9)".
  std::string_view Identifier() const { return Name().substr(0, Name().find('(')); }
};

enum class RecordForm {
  kFlattened,       // its embedded records are written out field by field
  kTooLarge,        // flattened, it would pass kMaxFlattenedLines
  kContainsItself,  // a chain of other records leads back to it
};

// One generated record: its name, its own field lines and, once planned, its
// form and the number of lines between TYPE and END TYPE when flattened.
struct RecordPlan {
  std::string name;
  std::string head_note;  // a comment after the TYPE line: a renaming
  std::vector<RecordField> fields;
  RecordForm form = RecordForm::kFlattened;
  uint64_t lines = 0;
  // The library's layout of the record, when it gives one: the record's size
  // (the field offsets are in the fields).
  bool has_layout = false;
  uint64_t size = 0;
  // Once laid out (record_layout.h): the padding member after the last
  // field, or empty; the bytes the TYPE takes as written; and, when the
  // fields could not be placed at their offsets, why.
  std::string tail_padding;
  uint64_t written_size = kUnknownSize;
  std::string layout_problem;
};

// A field line with its text and name located.
RecordField MakeRecordField(std::string line);

// Links every field to the record its type word names (the first record of
// that name) and settles each record's form. Returns the records in an order
// in which each follows every record its fields name, unless the two
// contain each other.
std::vector<size_t> PlanRecords(std::vector<RecordPlan>* records);

// The one embedding rule: a field of record `owner` is replaced by the fields
// of the record it names when that record is flattened and is not `owner`
// itself. A record naming itself by value (only a corrupt library can: a
// pointer to the next element of a list is written as a pointer) keeps that
// line; a record that is not flattened is embedded nowhere, so a field of its
// type stays a single line, as for a record that is not generated.
bool Embeds(const std::vector<RecordPlan>& records, size_t owner, const RecordField& field);

}  // namespace velbrook::generate
