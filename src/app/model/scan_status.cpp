// The scan's closing status text, one sentence per thing worth saying.
#include "app/model/scan_status.h"

#include "app/model/messages.h"

namespace velbrook::app {

std::string ScanEndStatus(const ScanCounts& counts) {
  std::string text;
  auto add = [&text](const std::string& sentence) {
    if (!text.empty()) text += "; ";
    text += sentence;
  };
  if (counts.rows == 0 && !counts.both_bitnesses && counts.win64_registrations != 0) {
    text = kNo32BitPrefix + std::to_string(counts.win64_registrations) + kNo32BitSuffix;
  }
  if (counts.left_out != 0) add(std::to_string(counts.left_out) + kLeftOutSuffix);
  if (counts.problem_rows != 0) add(std::to_string(counts.problem_rows) + kProblemRowsSuffix);
  return text;
}

}  // namespace velbrook::app
