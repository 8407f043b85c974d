#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/text_fetcher.h"

namespace taviro::testing {

// Keeps every fetch waiting until the test answers it, as a slow service
// would; the oldest is answered first.
class FakeTextFetcher : public TextFetcher {
 public:
  struct Pending {
    std::string url;
    std::function<void(const std::string&)> done;
  };

  void Fetch(const std::string& url, std::function<void(const std::string&)> done) override {
    requests.push_back(url);
    pending.push_back({url, std::move(done)});
  }

  // Answers the oldest waiting fetch with `body`; false when none waits.
  bool Answer(const std::string& body) {
    if (pending.empty()) return false;
    Pending next = std::move(pending.front());
    pending.pop_front();
    next.done(body);
    return true;
  }

  std::deque<Pending> pending;
  std::vector<std::string> requests;
};

}  // namespace taviro::testing
