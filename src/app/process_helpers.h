#pragma once

#include <cstdint>
#include <string_view>

#include "platform/process_table.h"

namespace taviro {

// The id of the first process, in the table's own order, whose executable
// file name contains `name` (case-sensitive substring); 0 when none does.
// An empty name matches nothing, so a slip can never pick a random process.
std::int32_t FindProcessId(ProcessTable& table, std::string_view name);

// Ends the process; false when it is gone or may not be ended.
bool TerminateProcessById(ProcessTable& table, std::int32_t id);

// Ends the first process FindProcessId finds, if any. Failures are ignored:
// a process that cannot be ended is simply left running.
void KillProcessByName(ProcessTable& table, std::string_view name);

}  // namespace taviro
