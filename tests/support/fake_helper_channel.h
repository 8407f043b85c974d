#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ports/helper_channel.h"

namespace taviro::testing {

// A download helper a test plays: it answers each request line with what
// `answer` returns (nothing: no helper listening).
class FakeHelperChannel : public HelperChannel {
 public:
  std::optional<std::string> Ask(const std::string& request_line) override {
    asked.push_back(request_line);
    return answer ? answer(request_line) : std::nullopt;
  }

  std::function<std::optional<std::string>(const std::string&)> answer;
  std::vector<std::string> asked;
};

}  // namespace taviro::testing
