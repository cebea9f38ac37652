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

}  // namespace

std::optional<std::string> Win32SaveDialog::AskIncludePath(HWND owner,
                                                           const std::string& default_name) {
  char name[260] = {};
  std::strncpy(name, default_name.c_str(), sizeof(name) - 1);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;  // the literal's own NUL ends the list
  dialog.lpstrFile = name;
  dialog.nMaxFile = sizeof(name);
  dialog.lpstrDefExt = "inc";
  dialog.Flags =
      OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT | OFN_LONGNAMES;
  if (GetSaveFileNameA(&dialog) == 0) return std::nullopt;
  return std::string(name);
}

std::optional<std::string> Win32SaveDialog::AskSelectionPath(HWND owner,
                                                             const std::string& default_name,
                                                             bool save) {
  char name[260] = {};
  std::strncpy(name, default_name.c_str(), sizeof(name) - 1);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kSelectionFilter;
  dialog.lpstrFile = name;
  dialog.nMaxFile = sizeof(name);
  dialog.lpstrDefExt = "sel";
  dialog.Flags = save ? OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES
                      : OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES;
  if ((save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)) == 0) return std::nullopt;
  return std::string(name);
}

std::optional<std::string> AskLibraryFilePath(HWND owner) {
  char name[MAX_PATH] = {};
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kLibraryFilter;
  dialog.lpstrFile = name;
  dialog.nMaxFile = sizeof(name);
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES;
  if (GetOpenFileNameA(&dialog) == 0) return std::nullopt;
  return std::string(name);
}

}  // namespace velbrook::app
