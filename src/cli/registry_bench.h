// velbrook bench --registry: the list command's registry scan timed beside a
// bare enumeration of the same keys, in one run.
#pragma once

#include "catalogue/host_catalogue.h"

namespace velbrook::cli {

// Prints median and best milliseconds of repeat runs of each; 0 on success.
int RunRegistryBench(const catalogue::HostOptions& host_options, int repeat);

}  // namespace velbrook::cli
