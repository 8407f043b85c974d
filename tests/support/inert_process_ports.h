#pragma once

#include <string>
#include <vector>

#include "ports/process_table.h"
#include "ports/program_launcher.h"

namespace taviro::testing {

// For tests that need the process ports only to build a context: no process
// runs and none can be started.
class NoProcesses final : public ProcessTable {
 public:
  std::vector<ProcessEntry> List() override { return {}; }
  bool Terminate(std::int32_t /*id*/) override { return false; }
};

class NoLauncher final : public ProgramLauncher {
 public:
  bool Start(const std::string& /*program*/, const std::vector<std::string>& /*arguments*/) override {
    return false;
  }
};

}  // namespace taviro::testing
