// Deciding what a library file's path opens: its TYPELIB resources listed,
// each library read for its row texts, the reader's errors kept as they are.
#include "app/model/file_opening.h"

#include "app/model/command_line.h"

namespace velbrook::app {
namespace {

// The file's own name, after the last slash of either kind, upper-cased.
std::string FileNameColumn(const std::string& file_path) {
  const size_t slash = file_path.find_last_of("\\/");
  return UpperAscii(slash == std::string::npos ? file_path : file_path.substr(slash + 1));
}

std::string LibraryDescription(const typeinfo::Library& library) {
  std::string help = library.HelpString();
  return help.empty() ? library.Name() : help;
}

// Opens `open_path` and makes its row; `file` is the File column.
bool ReadEntry(const typeinfo::Opener& opener, const std::string& open_path,
               const std::string& file, LibraryEntry* entry, std::string* error) {
  auto library = opener.OpenLibraryFile(open_path);
  if (!library.ok() || library.value() == nullptr) {
    *error = library.ok() ? open_path : library.error().message;
    return false;
  }
  *entry = LibraryEntry{file, LibraryDescription(*library.value()), open_path,
                        UpperAscii(library.value()->GuidText())};
  return true;
}

FileOpening Failed(std::string error) {
  FileOpening opening;
  opening.error = std::move(error);
  return opening;
}

}  // namespace

std::string WithoutResourceNumber(const std::string& path) {
  const size_t slash = path.rfind('\\');
  if (slash == std::string::npos || slash == 0 || slash + 1 >= path.size()) return path;
  if (path.find_first_not_of("0123456789", slash + 1) != std::string::npos) return path;
  return path.substr(0, slash);
}

FileOpening InspectLibraryFile(const typeinfo::Opener& opener, const std::string& path) {
  if (path.empty()) return Failed("No file was named.");
  std::vector<uint16_t> numbers;
  auto listed = opener.TypeLibResourceNumbers(path);
  if (listed.ok()) {
    numbers = std::move(listed.value());
  } else if (listed.error().kind != ErrorKind::kNotFound || WithoutResourceNumber(path) == path) {
    return Failed(listed.error().message);
  }
  // A path that names no file may still name resource N of one ("file\N"):
  // the reader opens it as it is, and its File column keeps the number.
  const std::string file_path = listed.ok() ? path : WithoutResourceNumber(path);
  const std::string file = FileNameColumn(file_path) + path.substr(file_path.size());
  FileOpening opening;
  std::string error;
  if (numbers.size() <= 1) {
    // A bare library, a "file\N" path, or a module's only resource, which
    // needs its number unless it is the first.
    const bool numbered = numbers.size() == 1 && numbers[0] != 1;
    const std::string suffix = numbered ? "\\" + std::to_string(numbers[0]) : std::string();
    LibraryEntry entry;
    if (!ReadEntry(opener, path + suffix, file + suffix, &entry, &error)) {
      return Failed(error);
    }
    opening.kind = FileOpeningKind::kOneLibrary;
    opening.libraries.push_back(std::move(entry));
    return opening;
  }
  for (uint16_t number : numbers) {
    const std::string suffix = "\\" + std::to_string(number);
    LibraryEntry entry;
    std::string entry_error;
    // A resource the reader cannot read gives no row; the others can still
    // be picked.
    if (ReadEntry(opener, path + suffix, file + suffix, &entry, &entry_error)) {
      opening.libraries.push_back(std::move(entry));
    } else if (error.empty()) {
      error = entry_error;
    }
  }
  if (opening.libraries.empty()) return Failed(error);
  opening.kind = opening.libraries.size() == 1 ? FileOpeningKind::kOneLibrary
                                               : FileOpeningKind::kSeveralLibraries;
  return opening;
}

std::string FileOpeningStatusText(const FileOpening& opening, const std::string& path,
                                  size_t ignored_files) {
  std::string text;
  if (opening.kind == FileOpeningKind::kSeveralLibraries) {
    text = FileNameColumn(path) + " holds " + std::to_string(opening.libraries.size()) +
           " type libraries: pick one in the list and open it.";
  }
  if (ignored_files > 0) {
    if (!text.empty()) text += " ";
    text += "Only the first dropped file was opened; " + std::to_string(ignored_files) +
            (ignored_files == 1 ? " other was" : " others were") + " ignored.";
  }
  return text;
}

}  // namespace velbrook::app
