#pragma once

#include <chrono>
#include <string>

#include "platform/helper_channel.h"

namespace taviro {

// The download helper's control socket for this user and installation.
class UnixHelperChannel final : public HelperChannel {
 public:
  // `helper_folder`: the folder of QvodTerminal.exe, with a trailing "/".
  explicit UnixHelperChannel(const std::string& helper_folder,
                             std::chrono::milliseconds answer_limit = std::chrono::milliseconds(2000));
  std::optional<std::string> Ask(const std::string& request_line) override;

 private:
  std::string socket_name_;
  std::chrono::milliseconds answer_limit_;
};

// The socket name of the helper in `helper_folder`, as both sides compute it.
std::string HelperSocketNameFor(const std::string& helper_folder);

}  // namespace taviro
