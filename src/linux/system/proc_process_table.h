#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "ports/process_table.h"

namespace taviro {

// The process table as /proc shows it, in ascending process id order.
// A process's name is the file name of its executable (/proc/<pid>/exe),
// or, when that link may not be read, of argv[0]. /proc/<pid>/comm is never
// used: the kernel cuts it at 15 bytes and a process may rename itself.
// Only the processes of one user are listed: another user's program of the
// same name is not ours to find or end.
class ProcProcessTable final : public ProcessTable {
 public:
  ProcProcessTable() : ProcProcessTable("/proc") {}
  // `proc_root` only changes where the table is read from; Terminate always
  // signals real processes. `owner`: the user whose processes are listed.
  explicit ProcProcessTable(std::filesystem::path proc_root, uid_t owner = ::getuid());

  std::vector<ProcessEntry> List() override;
  bool Terminate(std::int32_t id) override;

 private:
  std::filesystem::path proc_root_;
  uid_t owner_;
};

}  // namespace taviro
