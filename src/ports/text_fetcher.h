#pragma once

#include <functional>
#include <string>

namespace taviro {

// Fetches the service's small text files without holding up the window: the
// request waits elsewhere and `done` runs later on the main loop with the
// body (empty when the request failed). Replies come back in the order the
// fetches were asked for.
class TextFetcher {
 public:
  virtual ~TextFetcher() = default;
  virtual void Fetch(const std::string& url, std::function<void(const std::string& body)> done) = 0;
};

}  // namespace taviro
