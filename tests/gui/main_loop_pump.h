#pragma once

#include <chrono>
#include <functional>

namespace taviro::testing {

using namespace std::chrono_literals;

// Runs the GLib main loop until `done` holds or `limit` has passed; whether
// it held.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);
// Runs the main loop for a while, for things that must not happen.
void PumpFor(std::chrono::milliseconds span);

}  // namespace taviro::testing
