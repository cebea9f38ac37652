// The seams of the desktop program answered by the real components: the
// catalogue's registry scan and search test, the contents model and the
// include-file generator.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/model/app_services.h"
#include "app/win/desktop.h"
#include "app/win/save_dialog.h"
#include "catalogue/host.h"
#include "catalogue/registry.h"
#include "generate/row_maps.h"
#include "typeinfo/library_contents.h"

namespace velbrook::app {

// What the real services reach outside themselves; tests substitute each.
struct RealServicesSeams {
  const catalogue::ClassesRegistry* registry = nullptr;
  const catalogue::FileSystem* file_system = nullptr;
  // Where the "win64" registrations' files are tested; null: file_system.
  const catalogue::FileSystem* file_system_64 = nullptr;
  // A 64-bit program's file as this program reaches it (through Sysnative on
  // 64-bit Windows); null: the path as registered.
  std::function<std::string(const std::string&)> native_path;
  const catalogue::Environment* environment = nullptr;
  // Message boxes of the generation run, owned by the request's window.
  Desktop* desktop = nullptr;
  SaveDialog* save_dialog = nullptr;
  // The header's date; today's short date when empty.
  std::function<std::string()> date_text;
};

class RealServices : public AppServices {
 public:
  explicit RealServices(const RealServicesSeams& seams) : seams_(seams) {}

  ScanOutcome ScanLibraries(ScanSink& sink) override;
  size_t CountWin64Registrations() override;
  std::string OpeningPath(const LibraryEntry& library) const override;
  OpenOutcome OpenLibrary(const typeinfo::Opener& component, const LibraryEntry& library,
                          ContentsModel& lists) override;
  void Generate(const typeinfo::Opener& component, const GenerateRequest& request,
                const ContentsModel& lists) override;
  bool LibraryDefinesName(const typeinfo::Opener& component, const std::string& path,
                          const std::string& key) override;
  std::vector<catalogue::SearchHit> FindItems(const typeinfo::Opener& component,
                                              const std::string& path,
                                              const catalogue::SearchQuery& query) override;
  // In real_services_selection.cpp.
  NeededRows CheckNeededRows(const typeinfo::Opener& component, const GenerateRequest& request,
                             ContentsModel& lists) override;
  void SaveSelection(const typeinfo::Opener& component, const GenerateRequest& request,
                     const ContentsModel& lists) override;
  LoadedSelection LoadSelection(const typeinfo::Opener& component, const GenerateRequest& request,
                                ContentsModel& lists) override;

  // What the last successful opening built (tests compare it).
  const typeinfo::LibraryContents& contents() const { return contents_; }

 private:
  typeinfo::ProgIdLookup ProgIds() const;
  void GenerateUnguarded(const typeinfo::Opener& component, const GenerateRequest& request,
                         const ContentsModel& lists);
  void Tell(HWND owner, const std::string& text) const;

  RealServicesSeams seams_;
  // Kept from the last opening: generation maps rows through them.
  typeinfo::LibraryContents contents_;
  generate::RowMaps row_maps_;
};

}  // namespace velbrook::app
