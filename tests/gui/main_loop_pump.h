#pragma once

#include <chrono>
#include <functional>

namespace taviro::testing {

using namespace std::chrono_literals;

// Runs the GLib main loop until `done` holds or `limit` has passed; whether
// it held. There is no wait for a span of time: a test that checks that
// something does not happen waits for a later event that proves the moment
// has passed.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);
// Runs the main loop until it has nothing left to dispatch right now;
// whether it got there within `limit`.
bool PumpUntilIdle(std::chrono::milliseconds limit = 10s);

}  // namespace taviro::testing
