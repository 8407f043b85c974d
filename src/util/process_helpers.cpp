#include "util/process_helpers.h"

#include <filesystem>
#include <system_error>

namespace taviro {
namespace {

// Both sides in one spelling: the table reports resolved paths, while a
// caller's folder may hold "." parts or a link.
std::filesystem::path Resolved(std::string_view path) {
  std::error_code error;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(std::filesystem::path(path), error);
  return error ? std::filesystem::path(path).lexically_normal() : resolved;
}

}  // namespace

bool RunsProgram(const ProcessEntry& entry, std::string_view program) {
  const std::filesystem::path wanted(program);
  if (!wanted.is_absolute() || entry.executable_path.empty()) return false;
  // The name first: most processes are told apart without a file system call.
  if (entry.executable_name != wanted.filename().native()) return false;
  return Resolved(entry.executable_path) == Resolved(program);
}

bool IsProgramRunning(ProcessTable& table, std::string_view program) {
  for (const ProcessEntry& entry : table.List()) {
    if (RunsProgram(entry, program)) return true;
  }
  return false;
}

void KillProgram(ProcessTable& table, std::string_view program) {
  for (const ProcessEntry& entry : table.List()) {
    // Deliberately ignored: nobody is told when a process refuses to end.
    if (RunsProgram(entry, program)) static_cast<void>(table.Terminate(entry.id));
  }
}

}  // namespace taviro
