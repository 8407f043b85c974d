#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ports/text_fetcher.h"

namespace taviro::testing {

// Keeps every fetch waiting until the test answers it, as a slow service
// would; the oldest is answered first. With `answer_at_once` it answers
// each fetch as it is asked, from `bodies` (an address not there fails with
// an empty body, as an unreachable service does).
class FakeTextFetcher : public TextFetcher {
 public:
  struct Pending {
    std::string url;
    std::function<void(const std::string&)> done;
  };

  void Fetch(const std::string& url, std::function<void(const std::string&)> done) override {
    requests.push_back(url);
    if (answer_at_once) {
      done(BodyOf(url));
      return;
    }
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

  // Answers the newest waiting fetch from `bodies`, as a service does whose
  // answers overtake each other.
  bool AnswerNewest() {
    if (pending.empty()) return false;
    Pending next = std::move(pending.back());
    pending.pop_back();
    next.done(BodyOf(next.url));
    return true;
  }

  bool AnswerOldest() { return !pending.empty() && Answer(BodyOf(pending.front().url)); }

  std::string BodyOf(const std::string& url) const {
    const auto found = bodies.find(url);
    return found == bodies.end() ? std::string() : found->second;
  }

  bool answer_at_once = false;
  std::map<std::string, std::string> bodies;
  std::deque<Pending> pending;
  std::vector<std::string> requests;
};

}  // namespace taviro::testing
