#pragma once

#include <optional>
#include <string>

namespace taviro {

// The control line to the download helper: one request line out, one reply
// line back.
class HelperChannel {
 public:
  virtual ~HelperChannel() = default;
  // The reply with its line end; nothing when no helper answered in time.
  virtual std::optional<std::string> Ask(const std::string& request_line) = 0;
};

}  // namespace taviro
