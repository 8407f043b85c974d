#pragma once

#include <gtk/gtk.h>
#include <mpv/render.h>

#include <cstdint>
#include <memory>

namespace taviro::mpv {

struct RenderContextDeleter {
  void operator()(mpv_render_context* context) const { mpv_render_context_free(context); }
};
using RenderContextPtr = std::unique_ptr<mpv_render_context, RenderContextDeleter>;

enum class RenderPath {
  kAuto,      // OpenGL on a hardware renderer, else software
  kOpenGl,    // mpv's OpenGL renderer in a GtkGLArea
  kSoftware,  // mpv's software renderer into a cairo image
};

// Lets libmpv go on to the next frame without drawing this one, for while
// the picture is hidden: libmpv otherwise waits for every frame to be drawn
// and playback falls behind.
void SkipFrame(mpv_render_context* context);

// A widget that shows the frames of one libmpv player through the render API.
class VideoRenderer {
 public:
  virtual ~VideoRenderer() = default;
  virtual GtkWidget* widget() const = 0;
  virtual RenderPath path() const = 0;
  // Whether libmpv has somewhere to send frames right now.
  virtual bool ready() const = 0;
  // Whether the widget can change parents without losing its render context;
  // otherwise the video track has to be let go of first.
  virtual bool survives_reparent() const = 0;
  // Frames drawn so far.
  virtual std::uint64_t frames() const = 0;
};

}  // namespace taviro::mpv
