#include "http/fault_board.h"

#include <array>
#include <utility>

namespace taviro::demo {

std::optional<FaultMode> ParseFaultMode(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, FaultMode>, 10> kNames{{
      {"delay", FaultMode::kDelay},
      {"empty", FaultMode::kEmpty},
      {"one", FaultMode::kOne},
      {"zero", FaultMode::kZero},
      {"garbage", FaultMode::kGarbage},
      {"plain", FaultMode::kPlain},
      {"http500", FaultMode::kHttp500},
      {"close", FaultMode::kClose},
      {"drip", FaultMode::kDrip},
      {"huge", FaultMode::kHuge},
  }};
  for (const auto& [text, mode] : kNames) {
    if (text == name) return mode;
  }
  return std::nullopt;
}

void FaultBoard::Arm(const std::string& path, Fault fault) {
  std::lock_guard lock(mutex_);
  faults_[path] = fault;
}

void FaultBoard::Disarm(const std::string& path) {
  std::lock_guard lock(mutex_);
  faults_.erase(path);
}

void FaultBoard::Reset() {
  std::lock_guard lock(mutex_);
  faults_.clear();
}

std::optional<Fault> FaultBoard::Take(const std::string& path) {
  std::lock_guard lock(mutex_);
  auto found = faults_.find(path);
  if (found == faults_.end()) return std::nullopt;
  Fault fault = found->second;
  if (found->second.remaining && --*found->second.remaining <= 0) faults_.erase(found);
  return fault;
}

}  // namespace taviro::demo
