// ScanTypeLibraries: walks HKEY_CLASSES_ROOT\TypeLib and hands over one
// entry per registered version whose Win32 file passes the skip rules (and,
// when asked, one per "win64" file), each with what is wrong with its file.
#pragma once

#include <cstddef>
#include <string>

#include "catalogue/host.h"
#include "catalogue/library_rows.h"
#include "catalogue/registry.h"

namespace velbrook::catalogue {

// What the scan reads besides the registry. HKEY_CLASSES_ROOT\TypeLib is
// one key for 32- and 64-bit programs, but the files they reach by the same
// path may differ (system32 is SysWOW64 for a 32-bit program on 64-bit
// Windows), so each bitness has its file system.
struct ScanSeams {
  const ClassesRegistry& registry;
  const FileSystem& file_system;  // the "win32" files are tested here
  const Environment& environment;
  // The "win64" files are tested here; null: in file_system.
  const FileSystem* file_system_64 = nullptr;
};

struct ScanOptions {
  // The "Include files not found" check box.
  bool include_files_not_found = false;
  // Also lists the "win64" registrations, as rows of 64 bits.
  bool both_bitnesses = false;
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
  // A registration whose file is not found, left out because the option to
  // include such files is off: the list says how many it left out.
  virtual void LeftOut(const LibraryEntry& entry) { (void)entry; }
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

// What is wrong with a registered file as the scan tests it: whether it
// exists, and its first bytes (a type library or a module that may hold one).
RowProblem ProblemOfFile(const FileSystem& files, const std::string& path);

ScanOutcome ScanTypeLibraries(const ScanSeams& seams, const ScanOptions& options, ScanSink& sink);

// The "win64" registrations with a file, counted without testing the files:
// what a 64-bit program would list when a 32-bit one lists nothing.
size_t CountWin64Registrations(const ScanSeams& seams);

// The whole scan into rows, with nothing to abort it: the command line's list.
ScanOutcome ScanIntoRows(const ScanSeams& seams, const ScanOptions& options, LibraryRows* rows);

}  // namespace velbrook::catalogue
