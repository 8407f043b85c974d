#pragma once

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <string_view>

namespace taviro::mpv {

// The GL_RENDERER text of a GL context made for `window`; nothing when the
// display offers no OpenGL.
std::optional<std::string> ProbeGlRenderer(GdkWindow* window);

// Whether a GL_RENDERER text names a renderer that runs on the CPU, where
// mpv's software renderer costs less.
bool IsSoftwareRenderer(std::string_view renderer);

}  // namespace taviro::mpv
