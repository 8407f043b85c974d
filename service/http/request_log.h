#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <string>

namespace taviro::demo {

// What the service has been asked, for tests: statistics requests per
// installation id, requests per path and the latest raw request targets.
class RequestLog {
 public:
  static constexpr std::size_t kRecentLimit = 200;

  void Record(const std::string& path, const std::string& target);
  void CountStatistics(const std::string& id);
  // {"tj": {id: count}, "paths": {path: count}, "recent": [target, ...]}
  std::string ToJson();

 private:
  std::mutex mutex_;
  std::map<std::string, long long> statistics_;
  std::map<std::string, long long> paths_;
  std::deque<std::string> recent_;
};

}  // namespace taviro::demo
