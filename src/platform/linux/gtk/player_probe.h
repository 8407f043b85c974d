#pragma once

namespace taviro::gtk {

// Whether the player library can be loaded on this machine, so that start-up
// can offer the download page instead of a window that cannot play.
bool PlayerLibraryAvailable();

}  // namespace taviro::gtk
