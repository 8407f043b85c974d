#pragma once

#include <string>

namespace taviro {

// Finds an instance of the program that is already running and hands it a
// command line.
class InstanceChannel {
 public:
  virtual ~InstanceChannel() = default;
  // True when a running instance took `command_line`; this process then ends.
  virtual bool HandToRunningInstance(const std::string& command_line) = 0;
};

// Until the hand-off exists, every start is the only one.
class NoOtherInstance final : public InstanceChannel {
 public:
  bool HandToRunningInstance(const std::string& /*command_line*/) override { return false; }
};

}  // namespace taviro
