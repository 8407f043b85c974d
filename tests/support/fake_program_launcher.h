#pragma once

#include <string>
#include <vector>

#include "ports/program_launcher.h"
#include "support/call_log.h"

namespace taviro::testing {

// Records the programs it is asked to start; starts nothing.
class FakeProgramLauncher : public ProgramLauncher {
 public:
  struct Started {
    std::string program;
    std::vector<std::string> arguments;
  };

  explicit FakeProgramLauncher(CallLog* log = nullptr) : log_(log) {}

  bool Start(const std::string& program, const std::vector<std::string>& arguments) override {
    started.push_back({program, arguments});
    AddTo(log_, "launch(" + program + ")");
    return succeeds;
  }

  bool succeeds = true;
  std::vector<Started> started;

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
