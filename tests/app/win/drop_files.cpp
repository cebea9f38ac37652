// A drop of files built the way the shell builds one, kept out of the tests'
// own sources because shlobj.h brings objbase.h's "interface" macro.
#include "drop_files.h"

#include <shlobj.h>

#include <cstring>

namespace velbrook::app::testing {

HDROP MakeDrop(const std::vector<std::string>& paths) {
  // The header, then each path with its NUL, then the NUL that ends them.
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& path : paths) size += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, size);
  if (memory == nullptr) return nullptr;
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = FALSE;
  char* text = reinterpret_cast<char*>(header + 1);
  for (const std::string& path : paths) {
    std::memcpy(text, path.c_str(), path.size() + 1);
    text += path.size() + 1;
  }
  *text = '\0';
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace velbrook::app::testing
