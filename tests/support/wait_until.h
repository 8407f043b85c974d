#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace taviro::testing {

// Waits on an observable condition until `limit`; true when it came. What
// these tests watch announces nothing, so it is read again every 10 ms.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace taviro::testing
