#pragma once

#include <string>
#include <vector>

namespace taviro {

// Starts another program without waiting for it. Arguments are passed as
// they are, never through a shell.
class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  // False when the program could not be started.
  virtual bool Start(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

}  // namespace taviro
