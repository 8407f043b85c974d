#pragma once

#include <gtk/gtk.h>

#include <array>
#include <cstddef>
#include <memory>

namespace taviro::mpv {

// Puts software-rendered frames into the window on screen through X shared
// memory, past GTK's drawing cycle and its double buffer: per frame the X
// server copies the picture once and the main loop lays out and paints
// nothing. The frame is clipped to the part of the widget that GTK itself
// would let it paint, so whatever lies above the video still shows.
// Only where that is exact: an X11 display with MIT-SHM and a 24-bit window
// whose pixels are the renderer's "bgr0". Elsewhere Back() gives nothing and
// the caller paints through GTK.
class X11FramePresenter {
 public:
  explicit X11FramePresenter(GtkWidget* widget);
  X11FramePresenter(const X11FramePresenter&) = delete;
  X11FramePresenter& operator=(const X11FramePresenter&) = delete;
  ~X11FramePresenter();

  struct Target {
    unsigned char* pixels = nullptr;
    std::size_t stride = 0;
  };
  // A buffer of this size in device pixels that the server is not reading
  // from, or nothing when frames cannot go this way now.
  Target Back(int width, int height);
  // Shows the buffer Back() gave last.
  void Present();

 private:
  struct Buffer;
  struct Screen;
  bool Qualifies();

  GtkWidget* widget_;
  std::unique_ptr<Screen> screen_;
  // Two buffers in turn: the server may still be copying the one shown last.
  std::array<std::unique_ptr<Buffer>, 2> buffers_;
  std::size_t back_ = 0;
  bool shm_failed_ = false;
  // Where the last Back() found the widget in its native window, and the
  // part of it that is open to the frame.
  bool placed_ = false;
  GdkRectangle where_{};
  GdkRectangle open_{};
};

}  // namespace taviro::mpv
