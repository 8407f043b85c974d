#pragma once

#include <cairo.h>
#include <mpv/client.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

#include "linux/gtk/gobject_ptr.h"
#include "linux/mpv/main_loop_waker.h"
#include "linux/mpv/video_renderer.h"
#include "linux/mpv/x11_frame_presenter.h"

namespace taviro::mpv {

// mpv's software renderer drawing into a GtkDrawingArea. It needs no GL and no
// realized widget, so it works from the start and follows the widget to any
// window. New frames go to the screen through X shared memory where that
// works; GTK's own repaints, and every frame elsewhere, go through cairo.
class SoftwareRenderer final : public VideoRenderer {
 public:
  // Nothing when libmpv refuses a software render context.
  static std::unique_ptr<SoftwareRenderer> Create(mpv_handle* handle);
  SoftwareRenderer(const SoftwareRenderer&) = delete;
  SoftwareRenderer& operator=(const SoftwareRenderer&) = delete;
  ~SoftwareRenderer() override;

  GtkWidget* widget() const override { return area_.get(); }
  RenderPath path() const override { return RenderPath::kSoftware; }
  bool ready() const override { return true; }
  bool survives_reparent() const override { return true; }
  std::uint64_t frames() const override { return frames_; }

 private:
  struct Image {
    struct Free {
      void operator()(unsigned char* bytes) const { std::free(bytes); }
    };
    std::unique_ptr<unsigned char, Free> pixels;
    cairo_surface_t* surface = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    ~Image();
  };

  explicit SoftwareRenderer(RenderContextPtr context);
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data);
  void OnUpdate();
  bool PresentDirectly();
  bool RenderInto(Image& image, int width, int height);
  bool Render(unsigned char* pixels, std::size_t stride, int width, int height);
  std::pair<int, int> DeviceSize() const;

  // With TAVIRO_DEBUG, the CPU the main thread spends rendering (scaling and
  // converting) and painting the picture goes to stderr every 30 frames,
  // for the thread breakdown in bench/compare_players.sh.
  void LogCost(std::int64_t render_ns, std::int64_t paint_ns);

  RenderContextPtr context_;
  gtk::GObjectPtr<GtkWidget> area_;
  gtk::SignalConnection draw_;
  MainLoopWaker update_;
  X11FramePresenter presenter_;
  Image shown_;
  std::uint64_t frames_ = 0;
  bool log_cost_ = false;
  std::int64_t render_ns_ = 0;
  std::int64_t paint_ns_ = 0;
};

}  // namespace taviro::mpv
