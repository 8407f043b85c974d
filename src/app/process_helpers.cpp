#include "app/process_helpers.h"

namespace taviro {

std::int32_t FindProcessId(ProcessTable& table, std::string_view name) {
  if (name.empty()) {
    return 0;
  }
  for (const ProcessEntry& entry : table.List()) {
    if (entry.executable_name.find(name) != std::string::npos) {
      return entry.id;
    }
  }
  return 0;
}

bool TerminateProcessById(ProcessTable& table, std::int32_t id) { return table.Terminate(id); }

void KillProcessByName(ProcessTable& table, std::string_view name) {
  const std::int32_t id = FindProcessId(table, name);
  if (id != 0) {
    // Deliberately ignored: nobody is told when a process refuses to end.
    static_cast<void>(TerminateProcessById(table, id));
  }
}

}  // namespace taviro
