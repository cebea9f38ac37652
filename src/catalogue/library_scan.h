// ScanTypeLibraries: walks HKEY_CLASSES_ROOT\TypeLib and hands over one
// entry per registered version whose Win32 file passes the skip rules.
#pragma once

#include <string>

#include "catalogue/host.h"
#include "catalogue/library_rows.h"
#include "catalogue/registry.h"

namespace velbrook::catalogue {

// What the scan reads besides the registry.
struct ScanSeams {
  const ClassesRegistry& registry;
  const FileSystem& file_system;
  const Environment& environment;
};

struct ScanOptions {
  // The "Include files not found" check box.
  bool include_files_not_found = false;
};

// Where the scan's entries and progress go: the program's library list, or
// the command line's rows.
class ScanSink {
 public:
  virtual ~ScanSink() = default;
  // Asked before each library; true stops the scan at once. The program
  // processes its pending window messages here, which is when Abort acts.
  virtual bool PollAbort() = 0;
  // One listed library version, in the registry's enumeration order.
  virtual void AddLibrary(const LibraryEntry& entry) = 0;
  // "Searching HKEY_CLASSES_ROOT \TypeLib: G" after each library, and empty
  // text when the scan has visited them all.
  virtual void SetStatusText(const std::string& text) = 0;
};

enum class ScanOutcome {
  kCompleted,     // every library was visited
  kAborted,       // PollAbort answered true
  kNoTypeLibKey,  // "TypeLib" could not be opened; nothing was added
};

// The File column for a path: its last "\" component upper-cased, or the
// last two joined by "\" when the last has no "." (a resource number).
std::string FileColumnOf(const std::string& path);

ScanOutcome ScanTypeLibraries(const ScanSeams& seams, const ScanOptions& options, ScanSink& sink);

// The whole scan into rows, with nothing to abort it: the command line's list.
ScanOutcome ScanIntoRows(const ScanSeams& seams, const ScanOptions& options, LibraryRows* rows);

}  // namespace velbrook::catalogue
