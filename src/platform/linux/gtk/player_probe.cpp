#include "platform/linux/gtk/player_probe.h"

#include <dlfcn.h>

namespace taviro::gtk {

bool PlayerLibraryAvailable() {
  void* library = ::dlopen("libmpv.so.2", RTLD_LAZY | RTLD_LOCAL);
  if (library == nullptr) {
    return false;
  }
  const bool usable = ::dlsym(library, "mpv_create") != nullptr;
  ::dlclose(library);
  return usable;
}

}  // namespace taviro::gtk
