#pragma once

#include <cstdint>

#include "ports/shutdown_backend.h"

namespace taviro {

// Asks the system to power off; any non-zero force (1 or a script-style
// true of -1) asks for a forced power-off. False when the system refused:
// the program then goes on running.
bool ShutDownSystem(ShutdownBackend& backend, std::int16_t force);

}  // namespace taviro
