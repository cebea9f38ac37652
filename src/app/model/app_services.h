// The seams through which the desktop program reaches the catalogue, the type
// information and the generator: the registry scan, opening a library into
// the contents lists, generation and the per-library test of the search. The
// program passes the real services; tests pass fakes. Nothing here needs a
// window, so the fakes build on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velbrook::typeinfo {
class Opener;
}

namespace velbrook::app {

// One registered library as the library list shows it.
struct LibraryEntry {
  std::string file;         // column 0, e.g. "STDOLE2.TLB"
  std::string description;  // column 1
  std::string path;         // column 2, environment variables expanded
  std::string clsid;        // column 3, the GUID key name upper-cased
};

// What a registry scan writes into. Implemented by the main window's list.
class ScanSink {
 public:
  virtual ~ScanSink() = default;
  // Processes pending window messages, then tells whether the user pressed
  // Abort. The scan calls it before each library and stops when it is true.
  virtual bool PollAbort() = 0;
  // The state of the "Include files not found" option at this moment.
  virtual bool IncludeFilesNotFound() const = 0;
  // Adds a row at its sorted place by File (after rows with an equal File)
  // and gives it its Hidden number (row count after insertion minus 1).
  virtual void AddLibrary(const LibraryEntry& entry) = 0;
  // The main window's status text ("Searching HKEY_CLASSES_ROOT \TypeLib: G").
  virtual void SetStatusText(const std::string& text) = 0;
};

enum class ScanOutcome {
  kCompleted,     // every library was visited
  kAborted,       // PollAbort answered true
  kNoTypeLibKey,  // "TypeLib" could not be opened; nothing was added
};

// The four lists of the library contents window.
enum class ContentsList : int {
  kObjectClasses = 0,  // Interfaces, Object classes, ProgIDs, Hidden
  kEventInterfaces,    // Event Interfaces, for Objects, (empty), Hidden
  kTypes,              // Types
  kEnumerations,       // Constant Enumerations
};
constexpr int kContentsListCount = 4;

// The contents lists as the opening fills them and generation reads them.
// Rows are in the list's current display order (the user may have sorted the
// first two by a header click); the Hidden column keeps the adding order.
class ContentsLists {
 public:
  virtual ~ContentsLists() = default;
  virtual void Clear(ContentsList list) = 0;
  // Appends a row with the given cells from column 0 on (the caller writes
  // the Hidden column itself); the row is unchecked. Returns its index.
  virtual int AppendRow(ContentsList list, const std::vector<std::string>& cells) = 0;
  virtual int RowCount(ContentsList list) const = 0;
  virtual std::string CellText(ContentsList list, int row, int column) const = 0;
  // 1 when the row's check mark is set, else 0 (IsRowChecked).
  virtual int IsRowChecked(ContentsList list, int row) const = 0;
  virtual void SetRowChecked(ContentsList list, int row, bool checked) = 0;
};

enum class OpenOutcome {
  kOpened,       // the lists and row maps are filled; the window will be shown
  kFileMissing,  // no such file, or only a directory of that name
  kOpenFailed,   // the component could not read it (non-zero result)
};

// Everything one generation run reads, handed over at the click.
struct GenerateRequest {
  LibraryEntry library;  // the library the contents window shows
  bool use_invoke = true;
  bool include_generics = true;
  // Owner of the save dialog and of the run's message boxes (an HWND).
  uintptr_t owner_window = 0;
};

// A row "Check what these need" checked, by its hidden number, and why.
struct NeededRow {
  ContentsList list = ContentsList::kTypes;
  size_t hidden = 0;
  std::string what;     // "record Point"
  std::string used_by;  // "Rect.topLeft": the first use that needed it
};

struct NeededRows {
  std::vector<NeededRow> rows;
  // Types the checked rows need from other libraries, one line each.
  std::vector<std::string> warnings;
};

// The options a selection file was saved with, once it is loaded.
struct LoadedSelection {
  bool loaded = false;
  bool use_invoke = true;
  bool include_generics = true;
};

class AppServices {
 public:
  virtual ~AppServices() = default;
  // Walks HKEY_CLASSES_ROOT\TypeLib and adds one row per listed library
  // version. The caller has already emptied the list,
  // cleared the abort request and enabled Abort, and sets the count texts
  // after a completed scan; the scan sets only progress status texts.
  virtual ScanOutcome ScanLibraries(ScanSink& sink) = 0;
  // Opens the library's file through the component and fills all four lists
  // and the row maps (kept by the implementation for Generate). The caller
  // has set the window caption and shows the window and its messages.
  virtual OpenOutcome OpenLibrary(const typeinfo::Opener& component, const LibraryEntry& library,
                                  ContentsLists& lists) = 0;
  // One generation run over the checked rows; asks for the file name, shows
  // its own messages, and returns when the file is written or abandoned.
  // Rows map to library items through their Hidden column.
  virtual void Generate(const typeinfo::Opener& component, const GenerateRequest& request,
                        const ContentsLists& lists) = 0;
  // The search's test of one library: opens `path` and tells whether a
  // coclass name, its default interface's name, a ProgID part or an
  // interface name matches `key` (already built by SearchKey). A library
  // that cannot be opened does not match.
  virtual bool LibraryDefinesName(const typeinfo::Opener& component, const std::string& path,
                                  const std::string& key) = 0;
  // Checks every row the checked rows need, transitively, and says why each
  // was checked. Nothing when the library cannot be read (after a message).
  virtual NeededRows CheckNeededRows(const typeinfo::Opener& component,
                                     const GenerateRequest& request, ContentsLists& lists) = 0;
  // Asks for a file name and writes the selection file of the checked rows
  // and the request's options; its own messages tell of failures.
  virtual void SaveSelection(const typeinfo::Opener& component, const GenerateRequest& request,
                             const ContentsLists& lists) = 0;
  // Asks for a selection file and checks its rows instead of the checked
  // ones. A file it cannot read changes nothing; rows the library does not
  // have are told in one message.
  virtual LoadedSelection LoadSelection(const typeinfo::Opener& component,
                                        const GenerateRequest& request, ContentsLists& lists) = 0;
};

}  // namespace velbrook::app
