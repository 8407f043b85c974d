#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/http_client.h"
#include "support/call_log.h"

namespace taviro::testing {

// Answers from a table of address -> body bytes; an address not in the
// table fails (""). Every request is recorded.
class FakeHttpClient : public HttpClient {
 public:
  explicit FakeHttpClient(CallLog* log = nullptr) : log_(log) {}

  std::string Get(const std::string& url) override {
    requests.push_back(url);
    AddTo(log_, "http.Get(" + url + ")");
    const auto found = replies.find(url);
    return found == replies.end() ? std::string() : found->second;
  }

  std::map<std::string, std::string> replies;
  std::vector<std::string> requests;

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
