#pragma once

#include <cstdint>

#include "platform/shutdown_backend.h"

namespace taviro {

// Asks the system to power off; any non-zero force (1 or a script-style
// true of -1) asks for a forced power-off. The answer is not awaited or
// checked: a refused request leaves the program running normally.
void ShutDownSystem(ShutdownBackend& backend, std::int16_t force);

}  // namespace taviro
