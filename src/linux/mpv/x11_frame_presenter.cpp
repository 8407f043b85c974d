#include "linux/mpv/x11_frame_presenter.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <gdk/gdkx.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>
#include <optional>

#include "linux/gtk/gobject_ptr.h"
#include "linux/gtk/see_through.h"

namespace taviro::mpv {

struct X11FramePresenter::Buffer {
  Display* display = nullptr;
  XShmSegmentInfo segment{};
  XImage* image = nullptr;
  bool attached = false;

  static std::unique_ptr<Buffer> Create(GdkDisplay* gdk_display, Display* display, GdkWindow* native,
                                        int width, int height);

  ~Buffer() {
    if (attached) {
      XShmDetach(display, &segment);
      XSync(display, False);
    }
    if (image != nullptr) {
      image->data = nullptr;  // the shared segment, not XDestroyImage's to free
      XDestroyImage(image);
    }
    if (segment.shmaddr != nullptr) {
      shmdt(segment.shmaddr);
    }
  }
};

std::unique_ptr<X11FramePresenter::Buffer> X11FramePresenter::Buffer::Create(GdkDisplay* gdk_display,
                                                                             Display* display,
                                                                             GdkWindow* native, int width,
                                                                             int height) {
  auto buffer = std::make_unique<Buffer>();
  buffer->display = display;
  Visual* visual = gdk_x11_visual_get_xvisual(gdk_window_get_visual(native));
  buffer->image = XShmCreateImage(display, visual, 24, ZPixmap, nullptr, &buffer->segment,
                                  static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (buffer->image == nullptr) {
    return nullptr;
  }
  const auto bytes =
      static_cast<std::size_t>(buffer->image->bytes_per_line) * static_cast<std::size_t>(height);
  buffer->segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (buffer->segment.shmid < 0) {
    return nullptr;
  }
  void* address = shmat(buffer->segment.shmid, nullptr, 0);
  if (reinterpret_cast<std::intptr_t>(address) == -1) {
    shmctl(buffer->segment.shmid, IPC_RMID, nullptr);
    return nullptr;
  }
  buffer->segment.shmaddr = buffer->image->data = static_cast<char*>(address);
  buffer->segment.readOnly = False;
  // A server on another machine cannot attach; it says so only by an error.
  gdk_x11_display_error_trap_push(gdk_display);
  const bool attached = XShmAttach(display, &buffer->segment) != 0;
  XSync(display, False);
  buffer->attached = gdk_x11_display_error_trap_pop(gdk_display) == 0 && attached;
  // The segment goes away with its last user, even after a crash.
  shmctl(buffer->segment.shmid, IPC_RMID, nullptr);
  if (!buffer->attached) {
    return nullptr;
  }
  return buffer;
}

// The native window the widget's picture ends up in, as X knows it.
struct X11FramePresenter::Screen {
  gtk::GObjectPtr<GdkWindow> native;
  Display* display = nullptr;
  Window xid = 0;
  GC gc = nullptr;
  bool qualifies = false;

  ~Screen() {
    if (gc != nullptr) {
      XFreeGC(display, gc);
    }
  }
};

namespace {

GdkWindow* NativeAncestor(GdkWindow* window) {
  while (window != nullptr && !gdk_window_has_native(window)) {
    window = gdk_window_get_parent(window);
  }
  return window;
}

GdkRectangle RectIn(GdkWindow* native, GdkWindow* window) {
  GdkRectangle rect{0, 0, gdk_window_get_width(window), gdk_window_get_height(window)};
  for (GdkWindow* at = window; at != nullptr && at != native; at = gdk_window_get_parent(at)) {
    int left = 0;
    int top = 0;
    gdk_window_get_position(at, &left, &top);
    rect.x += left;
    rect.y += top;
  }
  return rect;
}

// The part of `own` on screen, in the coordinates of its native ancestor,
// when no other window that paints lies over any of it: GTK paints
// overlapping windows in stacking order, which shared-memory puts cannot
// follow, so then GTK paints the frames too.
std::optional<GdkRectangle> OpenArea(GdkWindow* own, GdkWindow* native, GdkRectangle& where) {
  where = RectIn(native, own);
  GdkRectangle open = where;
  for (GdkWindow* at = own; at != native; at = gdk_window_get_parent(at)) {
    GdkWindow* parent = gdk_window_get_parent(at);
    if (parent == nullptr) {
      return std::nullopt;
    }
    // Siblings come topmost first: those before `at` lie above it.
    for (GList* item = gdk_window_peek_children(parent); item != nullptr && item->data != at;
         item = item->next) {
      auto* sibling = static_cast<GdkWindow*>(item->data);
      const GdkRectangle rect = RectIn(native, sibling);
      if (gdk_window_is_visible(sibling) && !gdk_window_is_input_only(sibling) &&
          !gtk::IsSeeThrough(sibling) && gdk_rectangle_intersect(&rect, &open, nullptr)) {
        return std::nullopt;
      }
    }
    const GdkRectangle bounds = RectIn(native, parent);
    if (!gdk_rectangle_intersect(&open, &bounds, &open)) {
      return std::nullopt;
    }
  }
  return open;
}

// "bgr0" in memory is what a 24-bit TrueColor visual with these masks reads
// from a little-endian image.
bool TakesBgr0(GdkWindow* native, Display* display) {
  GdkVisual* visual = gdk_window_get_visual(native);
  const Visual* xvisual = gdk_x11_visual_get_xvisual(visual);
  return G_BYTE_ORDER == G_LITTLE_ENDIAN && ImageByteOrder(display) == LSBFirst &&
         gdk_visual_get_depth(visual) == 24 && xvisual->red_mask == 0xFF0000 &&
         xvisual->green_mask == 0xFF00 && xvisual->blue_mask == 0xFF;
}

}  // namespace

X11FramePresenter::X11FramePresenter(GtkWidget* widget) : widget_(widget) {}

X11FramePresenter::~X11FramePresenter() {
  for (auto& buffer : buffers_) {
    buffer.reset();
  }
  screen_.reset();
}

bool X11FramePresenter::Qualifies() {
  GdkWindow* own = gtk_widget_get_window(widget_);
  if (shm_failed_ || own == nullptr) {
    return false;
  }
  GdkWindow* native = NativeAncestor(own);
  if (native == nullptr) {
    return false;
  }
  if (screen_ == nullptr || screen_->native.get() != native) {
    for (auto& buffer : buffers_) {
      buffer.reset();
    }
    screen_ = std::make_unique<Screen>();
    screen_->native = gtk::GObjectPtr<GdkWindow>::Retain(native);
    GdkDisplay* display = gdk_window_get_display(native);
    if (GDK_IS_X11_DISPLAY(display)) {
      screen_->display = GDK_DISPLAY_XDISPLAY(display);
      screen_->xid = GDK_WINDOW_XID(native);
      screen_->qualifies = XShmQueryExtension(screen_->display) && TakesBgr0(native, screen_->display);
      if (screen_->qualifies) {
        screen_->gc = XCreateGC(screen_->display, screen_->xid, 0, nullptr);
      }
    }
  }
  return screen_->qualifies;
}

X11FramePresenter::Target X11FramePresenter::Back(int width, int height) {
  placed_ = false;
  if (width <= 0 || height <= 0 || !Qualifies()) {
    return {};
  }
  const std::optional<GdkRectangle> open =
      OpenArea(gtk_widget_get_window(widget_), screen_->native.get(), where_);
  if (!open) {
    return {};
  }
  open_ = *open;
  std::unique_ptr<Buffer>& buffer = buffers_[back_];
  if (buffer == nullptr || buffer->image->width != width || buffer->image->height != height) {
    buffer.reset();
    buffer = Buffer::Create(gdk_window_get_display(screen_->native.get()), screen_->display,
                            screen_->native.get(), width, height);
    if (buffer == nullptr) {
      // A server elsewhere on the network, or no segments left: GTK paints.
      shm_failed_ = true;
      return {};
    }
  }
  placed_ = true;
  return {reinterpret_cast<unsigned char*>(buffer->image->data),
          static_cast<std::size_t>(buffer->image->bytes_per_line)};
}

void X11FramePresenter::Present() {
  // Where Back() found the picture: nothing happens on the main loop between
  // the two, so the window tree is as it was then.
  const Buffer* buffer = buffers_[back_].get();
  if (!placed_ || buffer == nullptr || screen_ == nullptr) {
    return;
  }
  placed_ = false;
  const int scale = gdk_window_get_scale_factor(gtk_widget_get_window(widget_));
  XRectangle clip = {static_cast<short>(open_.x * scale), static_cast<short>(open_.y * scale),
                     static_cast<unsigned short>(open_.width * scale),
                     static_cast<unsigned short>(open_.height * scale)};
  XSetClipRectangles(screen_->display, screen_->gc, 0, 0, &clip, 1, YXBanded);
  XShmPutImage(screen_->display, screen_->xid, screen_->gc, buffer->image, 0, 0, where_.x * scale,
               where_.y * scale, static_cast<unsigned>(buffer->image->width),
               static_cast<unsigned>(buffer->image->height), False);
  XFlush(screen_->display);
  back_ ^= 1U;
}

}  // namespace taviro::mpv
