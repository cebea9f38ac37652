// The generation driver: the sections of an include file in their fixed
// order, over one run state.
#include "generate/generator.h"

#include <cstdio>

#include "generate/event_section.h"
#include "generate/header_section.h"
#include "generate/interface_section.h"
#include "generate/record_section.h"
#include "render/missing_types.h"
#include "render/naming.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace velbrook::generate {

namespace {

std::string SizeText(size_t bytes) {
  if (bytes % (size_t(1) << 20) == 0) return std::to_string(bytes >> 20) + " MB";
  return std::to_string(bytes) + " bytes";
}

}  // namespace

Status GenerateInclude(const GenerationInputs& inputs, OutputSink* sink) {
  GenerationRun run(inputs, sink);
  // 1. Header (seven lines) and table of contents.
  WriteHeader(&run);
  WriteTableOfContents(&run);
  // 2. The generic COM support block, when the option is on.
  if (inputs.include_generics() && inputs.generic_block) {
    inputs.generic_block(&run.writer);
  }
  // 3. Record types, then constant enumerations.
  WriteRecordSection(&run);
  WriteEnumerationSection(&run);
  // 4. Interface blocks, each with the event blocks of its object classes;
  //    the written-interface and GUID-name lists start empty for the run.
  run.written_interfaces.Clear();
  run.render.written_guid_names.Clear();
  WriteInterfaceSection(&run);
  // 5. Event interfaces not written inside an interface block.
  WriteStandAloneEventSection(&run);
  // One warning lists the names renamed to compile; the file notes each.
  const std::string renamed = render::RenameWarning(run.render.renames);
  if (!renamed.empty()) run.Warn(renamed);
  // One warning per imported library that was not found; the file names
  // each of its types where it stands.
  for (const std::string& warning : render::MissingTypeWarnings(run.render.missing)) {
    run.Warn(warning);
  }
  if (run.writer.full()) {
    return MakeError(ErrorKind::kTooLarge,
                     "generation stopped: the include file would be larger than " +
                         SizeText(run.writer.limit()) +
                         ", far more than any real type library needs; nothing was written");
  }
  return Status();
}

Result<std::string> GenerateIncludeText(const GenerationInputs& inputs) {
  StringSink sink;
  Status done = GenerateInclude(inputs, &sink);
  if (!done.ok()) return done.error();
  return std::move(sink).text();
}

std::string DefaultIncludeFileName(const std::string& file_text) {
  const size_t dot = file_text.find('.');
  return (dot == std::string::npos ? file_text : file_text.substr(0, dot)) + ".inc";
}

std::string ShortDateText(std::time_t when, bool utc) {
  std::tm parts{};
#if defined(_WIN32)
  if (utc) {
    gmtime_s(&parts, &when);
  } else {
    localtime_s(&parts, &when);
  }
  SYSTEMTIME date{};
  date.wYear = static_cast<WORD>(parts.tm_year + 1900);
  date.wMonth = static_cast<WORD>(parts.tm_mon + 1);
  date.wDay = static_cast<WORD>(parts.tm_mday);
  date.wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  char buffer[128] = {};
  if (GetDateFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, &date, nullptr, buffer,
                     sizeof buffer) > 0) {
    return buffer;
  }
#else
  if (utc) {
    gmtime_r(&when, &parts);
  } else {
    localtime_r(&when, &parts);
  }
#endif
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", parts.tm_mday, parts.tm_mon + 1,
                parts.tm_year + 1900);
  return text;
}

}  // namespace velbrook::generate
