#include "http/request_log.h"

#include <nlohmann/json.hpp>

namespace taviro::demo {

void RequestLog::Record(const std::string& path, const std::string& target) {
  std::lock_guard lock(mutex_);
  ++paths_[path];
  recent_.push_back(target);
  if (recent_.size() > kRecentLimit) recent_.pop_front();
}

void RequestLog::CountStatistics(const std::string& id) {
  std::lock_guard lock(mutex_);
  ++statistics_[id];
}

std::string RequestLog::ToJson() {
  std::lock_guard lock(mutex_);
  nlohmann::json json;
  json["tj"] = statistics_;
  json["paths"] = paths_;
  json["recent"] = recent_;
  // Ids and targets come from the network and need not be UTF-8.
  return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace taviro::demo
