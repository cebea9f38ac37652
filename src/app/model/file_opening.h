// What opening a library file by its path comes to, decided before any
// window changes: one library to show, several TYPELIB resources of one
// module to pick from, or an error to tell. The Open button, dropped files
// and a file named on the command line all go through it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/model/library_list_model.h"
#include "typeinfo/component.h"

namespace velbrook::app {

enum class FileOpeningKind {
  kOneLibrary,        // libraries[0] is the one to show
  kSeveralLibraries,  // one entry per TYPELIB resource, "FILE.DLL\N"
  kError,             // nothing to show; `error` says why
};

struct FileOpening {
  FileOpeningKind kind = FileOpeningKind::kError;
  // As library list rows: File is the file's name upper-cased (with "\N"
  // for a resource other than the first of a module), Description the
  // library's own help string (its name when it has none), Path what the
  // reader opens, CLSID the library's GUID upper-cased.
  std::vector<LibraryEntry> libraries;
  std::string error;  // the reader's message
};

// Reads the file at `path` through the reader: the numbers of its TYPELIB
// resources, then each library it holds. A path ending in "\N" is opened as
// it is. Never throws for what the reader reports; the reader's own
// exceptions go to the caller.
FileOpening InspectLibraryFile(const typeinfo::Opener& opener, const std::string& path);

// `path` without a trailing "\N" resource number (the path itself when it
// has none): the file that must exist for the path to be opened.
std::string WithoutResourceNumber(const std::string& path);

// The main window's status text after a file was inspected: for several
// libraries, which file they come from and that one is to be picked; for
// dropped files beyond the first, how many were ignored. Empty otherwise.
std::string FileOpeningStatusText(const FileOpening& opening, const std::string& path,
                                  size_t ignored_files);

}  // namespace velbrook::app
