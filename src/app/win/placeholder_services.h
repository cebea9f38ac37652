// Stand-ins for the catalogue, opening and generation until the lead wires
// the real subsystems: an empty library list and nothing to open.
#pragma once

#include "app/model/app_services.h"

namespace velbrook::app {

class PlaceholderServices : public AppServices {
 public:
  ScanOutcome ScanLibraries(ScanSink& sink) override;
  OpenOutcome OpenLibrary(const typeinfo::Opener& component,
                          const LibraryEntry& library,
                          ContentsLists& lists) override;
  void Generate(const typeinfo::Opener& component,
                const GenerateRequest& request,
                const ContentsLists& lists) override;
  bool LibraryDefinesName(const typeinfo::Opener& component,
                          const std::string& path,
                          const std::string& key) override;
};

}  // namespace velbrook::app
