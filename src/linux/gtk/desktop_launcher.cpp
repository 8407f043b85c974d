#include "linux/gtk/desktop_launcher.h"

#include <gio/gio.h>

#include <cstdio>
#include <cstdlib>

namespace taviro::gtk {

void DesktopLauncher::Open(const std::string& uri) {
  GError* error = nullptr;
  if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error)) {
    // No handler for the address on this desktop: nothing opens, as when the
    // user's browser refuses it.
    if (std::getenv("TAVIRO_DEBUG") != nullptr && error != nullptr) {
      std::fprintf(stderr, "taviro: cannot open %s: %s\n", uri.c_str(), error->message);
    }
  }
  if (error != nullptr) {
    g_error_free(error);
  }
}

}  // namespace taviro::gtk
