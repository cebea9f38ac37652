// The library list's rows as a scan adds them: registered library versions
// kept in File order, the list's one sort order, each with its adding number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velbrook::catalogue {

// What is wrong with a registration, as far as the scan can tell without
// reading the whole file.
enum class RowProblem : uint8_t {
  kNone,
  kFileNotFound,    // no such file, or only a directory of that name
  kUnreadable,      // the file exists but cannot be opened or read
  kNotTypeLibrary,  // its first bytes are neither a type library nor a module
};

// "file not found", "cannot be read", "not a type library"; empty for kNone.
const char* RowProblemText(RowProblem problem);

// One registered library version as the library list shows it.
struct LibraryEntry {
  std::string file;         // "STDOLE2.TLB": see FileColumnOf
  std::string description;  // the version key's text
  std::string path;         // the registered file, environment variables expanded
  std::string clsid;        // the GUID key name upper-cased
  // 32 for a "win32" registration, 64 for a "win64" one.
  int bits = 32;
  RowProblem problem = RowProblem::kNone;
};

// The library list's order: Files compared byte by byte as unsigned values,
// a text before every longer text it begins.
bool FileOrderLess(const std::string& a, const std::string& b);

// Rows top to bottom. Each row is named by its hidden number, the order in
// which it was added since the list was last emptied (the Hidden column).
class LibraryRows {
 public:
  // Puts the entry before the first row whose File sorts after its own, so
  // after every row with an equal File, and returns the row it became. While
  // the rows are in File order the place is found by a binary search;
  // after Reorder put them in another order, by a walk from the top.
  size_t Add(LibraryEntry entry);
  void Clear();

  size_t size() const { return order_.size(); }
  bool empty() const { return order_.empty(); }
  const LibraryEntry& at(size_t row) const { return entries_[order_[row]]; }
  size_t HiddenNumber(size_t row) const { return order_[row]; }
  // The entry added as number `hidden`.
  const LibraryEntry& Added(size_t hidden) const { return entries_[hidden]; }
  // Hidden numbers top to bottom.
  const std::vector<uint32_t>& order() const { return order_; }

  // Shows the same rows in another order, given as hidden numbers top to
  // bottom; false (and nothing changed) unless it names every row once.
  bool Reorder(std::vector<uint32_t> order);

 private:
  std::vector<LibraryEntry> entries_;  // by hidden number
  std::vector<uint32_t> order_;
  bool in_file_order_ = true;
};

}  // namespace velbrook::catalogue
