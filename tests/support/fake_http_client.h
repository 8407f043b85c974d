#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/http_client.h"

namespace taviro::testing {

// Answers from a table of canned bodies; an address not in the table fails
// (empty body), as an unreachable service does. Every request is recorded.
class FakeHttpClient : public HttpClient {
 public:
  std::string Get(const std::string& url) override {
    requests.push_back(url);
    const auto found = bodies.find(url);
    return found == bodies.end() ? std::string() : found->second;
  }

  std::map<std::string, std::string> bodies;
  std::vector<std::string> requests;
};

}  // namespace taviro::testing
