// Placeholder answers of the seams: every scan finds nothing.
#include "app/win/placeholder_services.h"

namespace velbrook::app {

ScanOutcome PlaceholderServices::ScanLibraries(ScanSink& /*sink*/) {
  return ScanOutcome::kCompleted;
}

OpenOutcome PlaceholderServices::OpenLibrary(
    const typeinfo::Opener& /*component*/, const LibraryEntry& /*library*/,
    ContentsLists& /*lists*/) {
  return OpenOutcome::kOpenFailed;
}

void PlaceholderServices::Generate(const typeinfo::Opener& /*component*/,
                                   const GenerateRequest& /*request*/,
                                   const ContentsLists& /*lists*/) {}

bool PlaceholderServices::LibraryDefinesName(
    const typeinfo::Opener& /*component*/, const std::string& /*path*/,
    const std::string& /*key*/) {
  return false;
}

}  // namespace velbrook::app
