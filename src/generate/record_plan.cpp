// Record embedding as a graph: records are nodes, fields that name a
// generated record are edges. Strongly connected components (Tarjan's
// algorithm) find the records that contain themselves through other records
// and settle every other record after the records it embeds, so each line
// count is summed once.
#include "generate/record_plan.h"

#include <algorithm>
#include <unordered_map>

namespace velbrook::generate {
namespace {

// The record that the text after the first " as " names by its first word.
size_t NamedRecord(std::string_view text,
                   const std::unordered_map<std::string_view, size_t>& index) {
  const size_t as = text.find(" as ");
  if (as == std::string_view::npos) return kNoRecord;
  const std::string_view type = text.substr(as + 4);
  auto found = index.find(type.substr(0, type.find(' ')));
  return found == index.end() ? kNoRecord : found->second;
}

class Planner {
 public:
  Planner(std::vector<RecordPlan>* records, std::vector<size_t>* settled)
      : records_(*records),
        settled_(*settled),
        order_(records->size(), kUnvisited),
        low_(records->size(), 0),
        on_stack_(records->size(), false) {}

  void Run() {
    for (size_t root = 0; root < records_.size(); ++root) {
      if (order_[root] == kUnvisited) Visit(root);
    }
  }

 private:
  static constexpr size_t kUnvisited = SIZE_MAX;
  struct Frame {
    size_t record;
    size_t next_field;
  };

  // Depth first from root with an explicit stack: a chain of thousands of
  // records must not exhaust the call stack.
  void Visit(size_t root) {
    std::vector<Frame> frames;
    Enter(root, &frames);
    while (!frames.empty()) {
      Frame& top = frames.back();
      const std::vector<RecordField>& fields = records_[top.record].fields;
      if (top.next_field < fields.size()) {
        const size_t next = fields[top.next_field++].embeds;
        if (next == kNoRecord) continue;
        if (order_[next] == kUnvisited) {
          Enter(next, &frames);
        } else if (on_stack_[next]) {
          low_[top.record] = std::min(low_[top.record], order_[next]);
        }
        continue;
      }
      const size_t done = top.record;
      frames.pop_back();
      if (!frames.empty()) {
        low_[frames.back().record] = std::min(low_[frames.back().record], low_[done]);
      }
      if (low_[done] == order_[done]) Settle(done);
    }
  }

  void Enter(size_t record, std::vector<Frame>* frames) {
    order_[record] = low_[record] = next_order_++;
    on_stack_[record] = true;
    stack_.push_back(record);
    frames->push_back({record, 0});
  }

  // The component whose first record is `head`: every record it embeds has
  // been settled already.
  void Settle(size_t head) {
    std::vector<size_t> component;
    size_t member;
    do {
      member = stack_.back();
      stack_.pop_back();
      on_stack_[member] = false;
      component.push_back(member);
      settled_.push_back(member);
    } while (member != head);
    if (component.size() > 1) {
      for (size_t k : component) records_[k].form = RecordForm::kContainsItself;
      return;
    }
    // Counted with a ceiling, so that no sum can overflow.
    RecordPlan& record = records_[head];
    uint64_t lines = 0;
    for (const RecordField& field : record.fields) {
      const uint64_t more = Embeds(records_, head, field) ? 2 + records_[field.embeds].lines : 1;
      lines = std::min(lines + more, kMaxFlattenedLines + 1);
    }
    record.lines = lines;
    record.form = lines > kMaxFlattenedLines ? RecordForm::kTooLarge : RecordForm::kFlattened;
  }

  std::vector<RecordPlan>& records_;
  std::vector<size_t>& settled_;
  std::vector<size_t> order_;
  std::vector<size_t> low_;
  std::vector<bool> on_stack_;
  std::vector<size_t> stack_;
  size_t next_order_ = 0;
};

}  // namespace

RecordField MakeRecordField(std::string line) {
  RecordField field;
  field.line = std::move(line);
  const size_t text = field.line.find_first_not_of(" \t");
  field.text = text == std::string::npos ? field.line.size() : text;
  const std::string_view rest = field.Text();
  field.name_length = std::min(rest.find(' '), rest.size());
  return field;
}

std::vector<size_t> PlanRecords(std::vector<RecordPlan>* records) {
  std::unordered_map<std::string_view, size_t> index;
  for (size_t k = 0; k < records->size(); ++k) {
    index.emplace((*records)[k].name, k);  // a name names its first record
  }
  for (RecordPlan& record : *records) {
    for (RecordField& field : record.fields) field.embeds = NamedRecord(field.Text(), index);
  }
  std::vector<size_t> settled;
  Planner(records, &settled).Run();
  return settled;
}

bool Embeds(const std::vector<RecordPlan>& records, size_t owner, const RecordField& field) {
  return field.embeds != kNoRecord && field.embeds != owner &&
         records[field.embeds].form == RecordForm::kFlattened;
}

}  // namespace velbrook::generate
