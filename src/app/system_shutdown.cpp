#include "app/system_shutdown.h"

namespace taviro {

void ShutDownSystem(ShutdownBackend& backend, std::int16_t force) { backend.PowerOff(force != 0); }

}  // namespace taviro
