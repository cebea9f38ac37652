// The small registry reading functions of the catalogue, over ClassesRegistry
// with the buffer limits and failure rules the rest of Velbrook relies on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "catalogue/registry.h"
#include "typeinfo/component.h"
#include "typeinfo/result.h"

namespace velbrook::catalogue {

// End-of-list marker of EnumSubkeyName; every caller stops on it.
inline constexpr char kRegistryError[] = "Registry Error";
// Size of every name and data buffer, in characters (bytes).
constexpr size_t kRegistryBufferSize = 260;

// Null on any failure.
std::unique_ptr<RegistryKey> OpenClassesKey(const ClassesRegistry& registry,
                                            const std::string& path);
// Ok when the key opens, else a kRegistryUnreadable error naming it: for a
// caller that reports what the scan and the look-ups pass over in silence.
Status CheckClassesKey(const ClassesRegistry& registry, const std::string& path);
// The subkey name, or kRegistryError on any failure including the end.
std::string EnumSubkeyName(const RegistryKey* key, uint32_t index);
// The value's data as text, or its name when prefer_name is set and the name
// is not empty; empty text on failure (also for names or data too long).
std::string EnumValueText(const RegistryKey* key, uint32_t index, bool prefer_name);
// Opens path below an open key; null when key is null or on any failure.
std::unique_ptr<RegistryKey> OpenSubkey(const RegistryKey* key, const std::string& path);
// Data of the key's first value, or empty text.
std::string ReadKeyValue(const ClassesRegistry& registry, const std::string& path);
// Data of the first value of the key at path below key, or empty text.
std::string ReadSubkeyValue(const RegistryKey* key, const std::string& path);
// The Win32 file registered below an open TypeLib version key: the value of
// the WIN32 subkey (any case) of its first subkey (locale, in enumeration
// order) that has one, or empty text.
std::string FindWin32File(const RegistryKey* version_key);
// The same for another platform subkey: "win64" gives a 64-bit program's file.
std::string FindPlatformFile(const RegistryKey* version_key, const std::string& platform);
// The coclass's ProgID from CLSID\{guid}\ProgID, or empty text.
std::string ProgIdOfClass(const ClassesRegistry& registry, const typeinfo::Type& type);

}  // namespace velbrook::catalogue
