#include "linux/gtk/cpu_only_graphics.h"

#include <dlfcn.h>
#include <gtk/gtk.h>

#include <cstdlib>

#include "linux/mpv/gl_probe.h"

namespace taviro::gtk {
namespace {

// Sets a variable the user has not set, and removes it again at scope end.
class TemporaryVariable {
 public:
  TemporaryVariable(const char* name, const char* value)
      : name_(name), ours_(std::getenv(name) == nullptr && ::setenv(name, value, 0) == 0) {}
  ~TemporaryVariable() {
    if (ours_) {
      ::unsetenv(name_);
    }
  }
  TemporaryVariable(const TemporaryVariable&) = delete;
  TemporaryVariable& operator=(const TemporaryVariable&) = delete;

 private:
  const char* name_;
  bool ours_;
};

// libglvnd reads its list of EGL vendors once, at the first EGL call; the
// list stays as read, whatever the environment says later.
void ReadEglVendors() {
  void* egl = ::dlopen("libEGL.so.1", RTLD_NOW | RTLD_LOCAL);
  if (egl == nullptr) {
    return;  // no EGL at all: nothing to keep out
  }
  using QueryString = const char* (*)(void* display, int name);
  constexpr int kEglExtensions = 0x3055;
  if (auto query = reinterpret_cast<QueryString>(::dlsym(egl, "eglQueryString")); query != nullptr) {
    query(nullptr, kEglExtensions);
  }
  // Kept loaded: WebKit uses the same library, and the list lives in it.
}

}  // namespace

void KeepCpuRasterizerOut() {
  if (mpv::HasGpuDevice()) {
    return;
  }
  const TemporaryVariable no_gdk_gl("GDK_GL", "disable");
  const TemporaryVariable no_egl_vendor("__EGL_VENDOR_LIBRARY_FILENAMES", "/dev/null");
  ReadEglVendors();
  // GDK takes GDK_GL when it first parses its arguments; gtk_init does not
  // take it again once the variable is gone.
  gdk_parse_args(nullptr, nullptr);
}

}  // namespace taviro::gtk
