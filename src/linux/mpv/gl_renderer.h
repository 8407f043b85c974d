#pragma once

#include <mpv/client.h>

#include <functional>
#include <memory>

#include "linux/gtk/gobject_ptr.h"
#include "linux/mpv/main_loop_waker.h"
#include "linux/mpv/video_renderer.h"

namespace taviro::mpv {

// mpv's OpenGL renderer in a GtkGLArea. The render context lives with the
// area's GL context: it is made when the area is realized and freed when it
// is unrealized (which moving the area to another window does).
class GlRenderer final : public VideoRenderer {
 public:
  // `context_ready` runs each time a new render context is in place.
  GlRenderer(mpv_handle* handle, std::function<void()> context_ready);
  GlRenderer(const GlRenderer&) = delete;
  GlRenderer& operator=(const GlRenderer&) = delete;
  ~GlRenderer() override;

  GtkWidget* widget() const override { return area_.get(); }
  RenderPath path() const override { return RenderPath::kOpenGl; }
  bool ready() const override { return context_ != nullptr; }
  bool survives_reparent() const override { return false; }
  std::uint64_t frames() const override { return frames_; }
  // The area was realized but no render context could be made on it.
  bool failed() const { return failed_; }

 private:
  static void OnRealize(GtkWidget* widget, gpointer data);
  static void OnUnrealize(GtkWidget* widget, gpointer data);
  static gboolean OnRender(GtkGLArea* area, GdkGLContext* context, gpointer data);
  void OnUpdate();
  void CreateContext();
  void FreeContext();

  mpv_handle* handle_;
  std::function<void()> context_ready_;
  gtk::GObjectPtr<GtkWidget> area_;
  MainLoopWaker update_;
  RenderContextPtr context_;
  gtk::SignalConnection realize_;
  gtk::SignalConnection unrealize_;
  gtk::SignalConnection render_;
  std::uint64_t frames_ = 0;
  bool failed_ = false;
};

}  // namespace taviro::mpv
