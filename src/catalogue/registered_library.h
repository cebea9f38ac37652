// A registered library named by its GUID, as the command line accepts it in
// place of a file: the file of its newest version whose file exists.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/host.h"
#include "catalogue/registry.h"
#include "typeinfo/result.h"

namespace velbrook::catalogue {

// A TypeLib version key, "major.minor" in hexadecimal (at most four digits
// each); false for anything else.
bool ParseVersionKey(const std::string& key, uint16_t* major, uint16_t* minor);

// True for 8-4-4-4-12 hexadecimal digits, with or without the braces.
bool LooksLikeGuid(const std::string& text);

struct RegisteredLibrary {
  std::string guid_key;  // "{...}", upper-case, as the CLSID column shows it
  std::string version;   // the TypeLib version key, "1.0"
  std::string path;      // the Path column: registered, %NAME% expanded
};

// The highest version (major.minor, hexadecimal as registered) of
// TypeLib\{guid} whose Win32 file exists; a path ending in "\N" (a resource
// of a module) counts when the module exists, though the list's scan skips
// such rows. kNotFound when the GUID is not
// registered or none of its versions' files exist.
Result<RegisteredLibrary> FindRegisteredLibrary(const ClassesRegistry& registry,
                                                const FileSystem& file_system,
                                                const Environment& environment,
                                                const std::string& guid);

}  // namespace velbrook::catalogue
