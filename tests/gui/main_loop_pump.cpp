#include "gui/main_loop_pump.h"

#include <glib.h>

namespace taviro::testing {

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    if (!g_main_context_iteration(nullptr, FALSE)) {
      g_usleep(2000);
    }
  }
  return true;
}

bool PumpUntilIdle(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (g_main_context_pending(nullptr)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    g_main_context_iteration(nullptr, FALSE);
  }
  return true;
}

}  // namespace taviro::testing
