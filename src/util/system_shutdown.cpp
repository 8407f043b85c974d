#include "util/system_shutdown.h"

namespace taviro {

bool ShutDownSystem(ShutdownBackend& backend, std::int16_t force) { return backend.PowerOff(force != 0); }

}  // namespace taviro
