#pragma once

#include "ports/program_launcher.h"

namespace taviro {

// Starts programs with posix_spawn semantics through GLib: the argument
// vector goes to the program as it is, no shell sees it, and the child is
// reaped when it ends.
class SpawnProgramLauncher final : public ProgramLauncher {
 public:
  bool Start(const std::string& program, const std::vector<std::string>& arguments) override;
};

}  // namespace taviro
