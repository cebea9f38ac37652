// The file dialogs of a generation run and of selection files.
#include "app/win/save_dialog.h"

#include <commdlg.h>

#include <cstring>

namespace velbrook::app {
namespace {

// Pairs of description and pattern, the whole ended by an extra NUL.
constexpr char kFilter[] = "Include files (.inc)\0*.inc\0All files\0*.*\0";
constexpr char kSelectionFilter[] = "Selection files (.sel)\0*.sel\0All files\0*.*\0";
constexpr char kLibraryFilter[] =
    "Type libraries (*.tlb;*.olb;*.dll;*.ocx;*.exe)\0*.tlb;*.olb;*.dll;*.ocx;*.exe\0"
    "All files (*.*)\0*.*\0";

constexpr DWORD kCommonFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES;

// The common file dialog: the save form or the open form, starting from
// `default_name`; the chosen path, or nothing when cancelled.
std::optional<std::string> AskFilePath(HWND owner, const char* filter,
                                       const std::string& default_name, const char* extension,
                                       DWORD flags, bool save) {
  char name[MAX_PATH] = {};
  std::strncpy(name, default_name.c_str(), sizeof(name) - 1);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;  // the literal's own NUL ends the list
  dialog.lpstrFile = name;
  dialog.nMaxFile = sizeof(name);
  dialog.lpstrDefExt = extension;
  dialog.Flags = flags;
  if ((save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)) == 0) return std::nullopt;
  return std::string(name);
}

}  // namespace

std::optional<std::string> Win32SaveDialog::AskIncludePath(HWND owner,
                                                           const std::string& default_name) {
  return AskFilePath(owner, kFilter, default_name, "inc",
                     kCommonFlags | OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT, /*save=*/true);
}

std::optional<std::string> Win32SaveDialog::AskSelectionPath(HWND owner,
                                                             const std::string& default_name,
                                                             bool save) {
  return AskFilePath(owner, kSelectionFilter, default_name, "sel",
                     kCommonFlags | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST), save);
}

std::optional<std::string> AskLibraryFilePath(HWND owner) {
  return AskFilePath(owner, kLibraryFilter, "", nullptr, kCommonFlags | OFN_FILEMUSTEXIST,
                     /*save=*/false);
}

}  // namespace velbrook::app
