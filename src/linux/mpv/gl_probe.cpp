#include "linux/mpv/gl_probe.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "linux/gtk/gobject_ptr.h"

namespace taviro::mpv {

namespace {

// An unmapped toplevel of the same visual, thrown away after the probe: a GL
// context made for a window makes GDK paint that whole toplevel through
// OpenGL from then on, which on a CPU renderer costs more than the video.
struct ProbeWindow {
  explicit ProbeWindow(GdkWindow* like) {
    GdkWindowAttr attributes{};
    attributes.window_type = GDK_WINDOW_TOPLEVEL;
    attributes.wclass = GDK_INPUT_OUTPUT;
    attributes.width = 1;
    attributes.height = 1;
    attributes.visual = gdk_window_get_visual(like);
    window = gdk_window_new(nullptr, &attributes, GDK_WA_VISUAL);
  }
  ~ProbeWindow() {
    if (window != nullptr) {
      gdk_window_destroy(window);
    }
  }
  ProbeWindow(const ProbeWindow&) = delete;
  ProbeWindow& operator=(const ProbeWindow&) = delete;
  GdkWindow* window = nullptr;
};

}  // namespace

std::optional<std::string> ProbeGlRenderer(GdkWindow* like) {
  const ProbeWindow probe(like);
  if (probe.window == nullptr) {
    return std::nullopt;
  }
  GError* error = nullptr;
  auto context = gtk::GObjectPtr<GdkGLContext>::Adopt(gdk_window_create_gl_context(probe.window, &error));
  if (!context || !gdk_gl_context_realize(context.get(), &error)) {
    // No GL here is an expected answer, not a fault.
    g_clear_error(&error);
    return std::nullopt;
  }
  gdk_gl_context_make_current(context.get());
  const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  std::optional<std::string> renderer;
  if (name != nullptr) {
    renderer = name;
  }
  gdk_gl_context_clear_current();
  return renderer;
}

bool HasGpuDevice(const std::filesystem::path& devices) {
  std::error_code unreadable;  // counts as absent
  for (const auto& entry : std::filesystem::directory_iterator(devices / "dri", unreadable)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("renderD") || name.starts_with("card")) {
      return true;
    }
  }
  return std::filesystem::exists(devices / "nvidia0", unreadable) ||
         std::filesystem::exists(devices / "nvidiactl", unreadable);
}

bool IsSoftwareRenderer(std::string_view renderer) {
  std::string lower(renderer);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  constexpr std::array kSoftware = {"llvmpipe", "softpipe", "swrast", "software rasterizer", "swiftshader"};
  return std::any_of(kSoftware.begin(), kSoftware.end(),
                     [&](const char* name) { return lower.find(name) != std::string::npos; });
}

}  // namespace taviro::mpv
