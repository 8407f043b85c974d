#pragma once

#include <gtk/gtk.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace taviro::mpv {

// Whether `devices` holds a node a hardware OpenGL driver works through: a
// DRM device or NVIDIA's. Without one OpenGL runs on the CPU, and a probe
// would only load a software rasterizer (some 20 MiB) into the program.
bool HasGpuDevice(const std::filesystem::path& devices = "/dev");

// The GL_RENDERER text of a GL context for a window like `like` (same
// display and visual); nothing when the display offers no OpenGL. `like`
// itself is left alone.
std::optional<std::string> ProbeGlRenderer(GdkWindow* like);

// Whether a GL_RENDERER text names a renderer that runs on the CPU, where
// mpv's software renderer costs less.
bool IsSoftwareRenderer(std::string_view renderer);

}  // namespace taviro::mpv
