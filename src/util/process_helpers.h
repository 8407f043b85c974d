#pragma once

#include <cstdint>
#include <string_view>

#include "ports/process_table.h"

namespace taviro {

// Whether the process runs the executable file `program` (an absolute path),
// as opposed to another copy of the same name elsewhere.
bool RunsProgram(const ProcessEntry& entry, std::string_view program);

// Whether any listed process runs `program`.
bool IsProgramRunning(ProcessTable& table, std::string_view program);

// Ends every listed process that runs `program`. Failures are ignored: a
// process that cannot be ended is simply left running.
void KillProgram(ProcessTable& table, std::string_view program);

}  // namespace taviro
