#pragma once

#include <gtk/gtk.h>
#include <mpv/client.h>

#include <functional>
#include <memory>

#include "linux/gtk/gobject_ptr.h"
#include "linux/mpv/full_screen_window.h"
#include "linux/mpv/video_renderer.h"

namespace taviro::mpv {

// The video area: a container that stays where the window put it, holding
// the renderer's widget, which moves to a full-screen window and back. The
// render path is chosen the first time it is needed.
class VideoSurface {
 public:
  struct Hooks {
    // The renderer is about to lose its render context (OpenGL only): the
    // player must let go of the video track first.
    std::function<void()> losing_context;
    // A render context is in place (again).
    std::function<void()> context_ready;
  };

  VideoSurface(mpv_handle* handle, RenderPath wanted, Hooks hooks);
  VideoSurface(const VideoSurface&) = delete;
  VideoSurface& operator=(const VideoSurface&) = delete;
  ~VideoSurface();

  GtkWidget* widget() const { return container_.get(); }
  // Makes sure libmpv has a render target before a file starts, so video is
  // not given up for want of one.
  void EnsureRenderer();
  const VideoRenderer* renderer() const { return renderer_.get(); }
  // Whether frames go to a GPU, where decoding in hardware pays off.
  bool on_gpu() const { return on_gpu_; }

  void SetFullScreen(bool on);
  bool full_screen() const { return full_screen_ != nullptr; }
  GtkWindow* full_screen_window() const { return full_screen_ ? full_screen_->window() : nullptr; }

 private:
  static void OnRealize(GtkWidget* widget, gpointer data);
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data);
  static gboolean LogFramesShown(gpointer data);
  bool Anchored() const;
  RenderPath ChoosePath();
  bool GpuRenderer();
  void Install(std::unique_ptr<VideoRenderer> renderer);
  void Uninstall();

  mpv_handle* handle_;
  RenderPath wanted_;
  Hooks hooks_;
  gtk::GObjectPtr<GtkWidget> container_;
  gtk::SignalConnection realize_;
  gtk::SignalConnection draw_;
  std::unique_ptr<VideoRenderer> renderer_;
  bool choosing_ = false;
  std::unique_ptr<FullScreenWindow> full_screen_;
  bool on_gpu_ = false;
  // With TAVIRO_DEBUG, the frames shown so far go to stderr once a second,
  // for the player comparison in bench/.
  guint frame_log_ = 0;
};

}  // namespace taviro::mpv
