// The seams through which the desktop program reaches the catalogue, the type
// information and the generator: the registry scan, opening a library into
// the contents model, generation and the per-library test of the search. The
// program passes the real services; tests pass fakes. Nothing here needs a
// window, so the fakes build on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/contents_model.h"
#include "app/model/library_list_model.h"
#include "catalogue/library_scan.h"
#include "catalogue/search_query.h"

namespace velbrook::typeinfo {
class Opener;
}

namespace velbrook::app {

// What a registry scan writes into: the main window's library list. It is
// the catalogue's sink with the one option the scan reads from the window.
class ScanSink : public catalogue::ScanSink {
 public:
  // The state of the "Include files not found" option at this moment.
  virtual bool IncludeFilesNotFound() const = 0;
  // The state of the "32 and 64 bit" option: the win64 registrations too.
  virtual bool BothBitnesses() const = 0;
};

using catalogue::ScanOutcome;

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
  // Walks HKEY_CLASSES_ROOT\TypeLib and hands over one entry per listed
  // library version. The caller has already emptied the list, cleared the
  // abort request and enabled Abort, and sets the count texts after a
  // completed scan; the scan sets only progress status texts.
  virtual ScanOutcome ScanLibraries(ScanSink& sink) = 0;
  // The "win64" registrations, for the status text when a 32-bit scan
  // listed nothing.
  virtual size_t CountWin64Registrations() = 0;
  // The path through which this program opens a row's file: a "win64" row's
  // file reached where a 64-bit program finds it.
  virtual std::string OpeningPath(const LibraryEntry& library) const { return library.path; }
  // Opens the library's file through the component and fills the contents
  // model and the row maps (kept by the implementation for Generate). The
  // caller has set the window caption and shows the window and its messages.
  virtual OpenOutcome OpenLibrary(const typeinfo::Opener& component, const LibraryEntry& library,
                                  ContentsModel& lists) = 0;
  // One generation run over the checked rows; asks for the file name, shows
  // its own messages, and returns when the file is written or abandoned.
  // Rows map to library items through their hidden numbers.
  virtual void Generate(const typeinfo::Opener& component, const GenerateRequest& request,
                        const ContentsModel& lists) = 0;
  // The search's test of one library: opens `path` and tells whether a
  // coclass name, its default interface's name, a ProgID part or an
  // interface name matches `key` (already built by SearchKey). A library
  // that cannot be opened does not match.
  virtual bool LibraryDefinesName(const typeinfo::Opener& component, const std::string& path,
                                  const std::string& key) = 0;
  // The search's test of one library by any other kind: opens `path` and
  // gives the items `query` names in it (FindInLibrary), each with its
  // position in the library's lists. None when it cannot be opened.
  virtual std::vector<catalogue::SearchHit> FindItems(const typeinfo::Opener& component,
                                                      const std::string& path,
                                                      const catalogue::SearchQuery& query) = 0;
  // Checks every row the checked rows need, transitively, and says why each
  // was checked. Nothing when the library cannot be read (after a message).
  virtual NeededRows CheckNeededRows(const typeinfo::Opener& component,
                                     const GenerateRequest& request, ContentsModel& lists) = 0;
  // Asks for a file name and writes the selection file of the checked rows
  // and the request's options; its own messages tell of failures.
  virtual void SaveSelection(const typeinfo::Opener& component, const GenerateRequest& request,
                             const ContentsModel& lists) = 0;
  // Asks for a selection file and checks its rows instead of the checked
  // ones. A file it cannot read changes nothing; rows the library does not
  // have are told in one message.
  virtual LoadedSelection LoadSelection(const typeinfo::Opener& component,
                                        const GenerateRequest& request, ContentsModel& lists) = 0;
};

}  // namespace velbrook::app
