#pragma once

#include <string>
#include <vector>

namespace taviro::testing {

// One log shared by several fakes, so a test can check the order in which
// the core used different ports.
struct CallLog {
  std::vector<std::string> entries;
  void Add(std::string entry) { entries.push_back(std::move(entry)); }
};

inline void AddTo(CallLog* log, std::string entry) {
  if (log != nullptr) log->Add(std::move(entry));
}

}  // namespace taviro::testing
