// Placement of one record's fields over the written sizes of their HotBasic
// types, and the names of its padding members.
#include "generate/record_layout.h"

#include <string>
#include <unordered_set>

#include "generate/natural_layout.h"
#include "render/text_ops.h"

namespace velbrook::generate {
namespace {

uint64_t AddSizes(uint64_t a, uint64_t b) {
  return a == kUnknownSize || b == kUnknownSize || b > kUnknownSize - 1 - a ? kUnknownSize : a + b;
}

// Padding members are named "pad1", "pad2", ... skipping any name a field
// of the record has, in any case: HotBasic does not tell case apart. The
// names hold no "_", so they cannot be the name of an embedded field either
// (those are the embedding field's name, "_" and the embedded one's).
class PaddingNames {
 public:
  explicit PaddingNames(const std::vector<RecordField>& fields) {
    for (const RecordField& field : fields) taken_.insert(render::AsciiLower(field.Identifier()));
  }
  std::string Member(uint64_t bytes) {
    std::string name;
    do {
      name = "pad" + std::to_string(++count_);
    } while (taken_.count(name) != 0);
    const std::string bounds = bytes > 1 ? "(0 TO " + std::to_string(bytes - 1) + ")" : "";
    return name + bounds + " as BYTE 'padding";
  }

 private:
  std::unordered_set<std::string> taken_;
  uint64_t count_ = 0;
};

// The gaps before each field and after the last, or why the fields as
// written do not fit the record's offsets and size.
std::string Place(const RecordPlan& record, const std::vector<uint64_t>& sizes,
                  std::vector<uint64_t>* gaps, uint64_t* tail) {
  if (record.size > kMaxRecordBytes) {
    return "its size " + std::to_string(record.size) + " is larger than any real record's";
  }
  uint64_t end = 0;
  for (size_t i = 0; i < record.fields.size(); ++i) {
    const RecordField& field = record.fields[i];
    const std::string name(field.Identifier());
    if (sizes[i] == kUnknownSize) return "the size of field " + name + " as written is not known";
    if (field.offset < 0) return "the library gives field " + name + " no offset";
    const uint64_t offset = uint64_t(field.offset);
    if (offset < end) {
      return "field " + name + " at offset " + std::to_string(offset) +
             " begins before the field before it ends (at " + std::to_string(end) + " as written)";
    }
    gaps->push_back(offset - end);
    end = AddSizes(offset, sizes[i]);
    if (end > record.size) {
      return "field " + name + " ends at " + std::to_string(offset + sizes[i]) +
             " as written, past the record's size " + std::to_string(record.size);
    }
  }
  *tail = record.size - end;
  return std::string();
}

void LayOut(std::vector<RecordPlan>* records, size_t k) {
  RecordPlan& record = (*records)[k];
  // Such a record contains itself: it has no size (and is warned about).
  if (record.form == RecordForm::kContainsItself) return;
  std::vector<uint64_t> sizes;
  uint64_t packed = 0;
  for (const RecordField& field : record.fields) {
    sizes.push_back(field.embeds != kNoRecord ? (*records)[field.embeds].written_size : field.size);
    packed = AddSizes(packed, sizes.back());
  }
  record.written_size = packed;
  if (!record.has_layout || !record.layout_problem.empty()) return;
  std::vector<uint64_t> gaps;
  uint64_t tail = 0;
  record.layout_problem = Place(record, sizes, &gaps, &tail);
  if (!record.layout_problem.empty()) return;
  PaddingNames names(record.fields);
  for (size_t i = 0; i < gaps.size(); ++i) {
    if (gaps[i] > 0) record.fields[i].padding = names.Member(gaps[i]);
  }
  if (tail > 0) record.tail_padding = names.Member(tail);
  record.written_size = record.size;
}

}  // namespace

uint64_t TypeWordSize(std::string_view word) {
  if (word == "BYTE") return 1;
  if (word == "WORD") return 2;
  if (word == "LONG" || word == "DWORD" || word == "SINGLE") return 4;
  if (word == "DOUBLE" || word == "int64") return 8;
  if (word == "STRING*16" || word == "GUID" || word == "VARIANT") return 16;
  return kUnknownSize;
}

void LayOutRecords(const std::vector<size_t>& order, std::vector<RecordPlan>* records) {
  for (size_t k : order) LayOut(records, k);
}

}  // namespace velbrook::generate
