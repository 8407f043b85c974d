#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/process_table.h"

namespace taviro {

// The id of the first process, in the table's own order, whose executable
// file name contains `name` (case-sensitive substring); 0 when none does.
// An empty name matches nothing, so a slip can never pick a random process.
std::int32_t FindProcessId(ProcessTable& table, std::string_view name);

// Ends the process; false when it is gone or may not be ended.
bool TerminateProcessById(ProcessTable& table, std::int32_t id);

// Ends every listed process whose executable file name is `name` exactly:
// a longer name that merely contains it (a backup copy, another program) is
// never ended. Failures are ignored: a process that cannot be ended is
// simply left running.
void KillProcessByName(ProcessTable& table, std::string_view name);

// Whether the process runs the executable file `program` (an absolute path),
// as opposed to another copy of the same name elsewhere.
bool RunsProgram(const ProcessEntry& entry, std::string_view program);

// Whether any listed process runs `program`.
bool IsProgramRunning(ProcessTable& table, std::string_view program);

// Ends every listed process that runs `program`; failures are ignored as in
// KillProcessByName.
void KillProgram(ProcessTable& table, std::string_view program);

}  // namespace taviro
