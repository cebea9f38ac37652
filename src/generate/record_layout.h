// Puts the fields of each generated record at the offsets the library gives
// them: a padding member of BYTEs fills each gap before a field (alignment,
// or the rest of a field whose HotBasic type is smaller than the field, such
// as a VARIANT written as its first DWORD) and after the last field, so the
// TYPE takes the record's size. An embedded record brings its own padding,
// so its fields keep their offsets inside the record that embeds it.
// A record whose fields, as written, do not fit those offsets (offsets that
// overlap, go backwards or pass the record's size in a corrupt library, or a
// HotBasic type wider than the field it stands for) keeps its fields one
// after the other, as the packed order, and says why.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "generate/record_plan.h"

namespace velbrook::generate {

// Bytes a HotBasic type word of a field line takes ("LONG" 4, "STRING*16"
// 16); kUnknownSize for any other word (record names are sized elsewhere).
uint64_t TypeWordSize(std::string_view word);

// Lays out the records in PlanRecords' order, so that the written size of
// every record a field names is known before that field is placed.
void LayOutRecords(const std::vector<size_t>& order, std::vector<RecordPlan>* records);

}  // namespace velbrook::generate
