// The generation run: one include file from the checked rows of the four
// contents lists, built in memory through an output sink.
#pragma once

#include <ctime>
#include <string>

#include "generate/generation_context.h"
#include "typeinfo/result.h"

namespace velbrook::generate {

// Writes the whole include file into sink, section by section. Warnings go
// to inputs.warn and never stop the run; only a file that would grow past
// inputs.max_bytes does (kTooLarge), and then the sink holds a cut text that
// must not be written anywhere.
Status GenerateInclude(const GenerationInputs& inputs, OutputSink* sink);

// Convenience: the include file as bytes, or the error that stopped it.
Result<std::string> GenerateIncludeText(const GenerationInputs& inputs);

// Default output name from the library list's File text: up to its first
// ".", then ".inc" (MSXML6.DLL gives MSXML6.inc, A.B.C.DLL gives A.inc).
std::string DefaultIncludeFileName(const std::string& file_text);

// The short date of the header. On Windows the user locale's short date
// form (GetDateFormatA); elsewhere dd/mm/yyyy. utc picks the calendar day
// in UTC (reproducible builds) instead of local time.
std::string ShortDateText(std::time_t when, bool utc);

}  // namespace velbrook::generate
