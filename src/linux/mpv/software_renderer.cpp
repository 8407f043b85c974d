#include "linux/mpv/software_renderer.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

namespace taviro::mpv {
namespace {

// The byte order of CAIRO_FORMAT_RGB24, in libmpv's names.
constexpr const char* kPixelFormat = G_BYTE_ORDER == G_LITTLE_ENDIAN ? "bgr0" : "0rgb";
// libmpv copies less when lines and the buffer start on this boundary.
constexpr std::size_t kAlignment = 64;

std::int64_t ThreadCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

SoftwareRenderer::Image::~Image() {
  if (surface != nullptr) {
    cairo_surface_destroy(surface);
  }
}

std::unique_ptr<SoftwareRenderer> SoftwareRenderer::Create(mpv_handle* handle) {
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  mpv_render_context* context = nullptr;
  if (mpv_render_context_create(&context, handle, params) < 0) {
    return nullptr;
  }
  return std::unique_ptr<SoftwareRenderer>(new SoftwareRenderer(RenderContextPtr(context)));
}

SoftwareRenderer::SoftwareRenderer(RenderContextPtr context)
    : context_(std::move(context)),
      area_(gtk::GObjectPtr<GtkWidget>::Retain(gtk_drawing_area_new())),
      update_([this] { OnUpdate(); }),
      presenter_(area_.get()),
      log_cost_(std::getenv("TAVIRO_DEBUG") != nullptr) {
  gtk_widget_set_hexpand(area_.get(), TRUE);
  gtk_widget_set_vexpand(area_.get(), TRUE);
  draw_ = gtk::Connect(area_.get(), "draw", &SoftwareRenderer::OnDraw, this);
  mpv_render_context_set_update_callback(context_.get(), &MainLoopWaker::WakeFromAnyThread, &update_);
}

SoftwareRenderer::~SoftwareRenderer() {
  // No update may reach the waker once it is gone; the context goes before
  // the player it belongs to.
  mpv_render_context_set_update_callback(context_.get(), nullptr, nullptr);
  context_.reset();
}

void SoftwareRenderer::OnUpdate() {
  if (!gtk_widget_is_drawable(area_.get())) {
    SkipFrame(context_.get());
  } else if (!PresentDirectly()) {
    gtk_widget_queue_draw(area_.get());
  }
}

std::pair<int, int> SoftwareRenderer::DeviceSize() const {
  const int scale = gtk_widget_get_scale_factor(area_.get());
  return {gtk_widget_get_allocated_width(area_.get()) * scale,
          gtk_widget_get_allocated_height(area_.get()) * scale};
}

bool SoftwareRenderer::PresentDirectly() {
  const auto [width, height] = DeviceSize();
  const X11FramePresenter::Target target = presenter_.Back(width, height);
  if (target.pixels == nullptr) {
    return false;
  }
  const std::int64_t started = log_cost_ ? ThreadCpuNs() : 0;
  // Before the first frame there is nothing to show: GTK paints the black.
  if (!Render(target.pixels, target.stride, width, height)) {
    return false;
  }
  ++frames_;
  const std::int64_t rendered = log_cost_ ? ThreadCpuNs() : 0;
  presenter_.Present();
  if (log_cost_) {
    LogCost(rendered - started, ThreadCpuNs() - rendered);
  }
  return true;
}

bool SoftwareRenderer::RenderInto(Image& image, int width, int height) {
  if (width <= 0 || height <= 0) {
    return false;
  }
  if (image.width != width || image.height != height) {
    if (image.surface != nullptr) {
      cairo_surface_destroy(image.surface);
      image.surface = nullptr;
    }
    const std::size_t line = static_cast<std::size_t>(width) * 4;
    image.stride = (line + kAlignment - 1) / kAlignment * kAlignment;
    const std::size_t bytes = image.stride * static_cast<std::size_t>(height);
    image.pixels.reset(static_cast<unsigned char*>(std::aligned_alloc(kAlignment, bytes)));
    if (!image.pixels) {
      image.width = image.height = 0;
      return false;
    }
    std::memset(image.pixels.get(), 0, bytes);
    image.surface = cairo_image_surface_create_for_data(image.pixels.get(), CAIRO_FORMAT_RGB24, width, height,
                                                        static_cast<int>(image.stride));
    image.width = width;
    image.height = height;
  }
  cairo_surface_flush(image.surface);
  const bool drawn = Render(image.pixels.get(), image.stride, width, height);
  cairo_surface_mark_dirty(image.surface);
  return drawn;
}

bool SoftwareRenderer::Render(unsigned char* pixels, std::size_t stride, int width, int height) {
  int size[2] = {width, height};
  int block = 0;
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
      {MPV_RENDER_PARAM_SW_SIZE, size},
      {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(kPixelFormat)},
      {MPV_RENDER_PARAM_SW_STRIDE, &stride},
      {MPV_RENDER_PARAM_SW_POINTER, pixels},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  return mpv_render_context_render(context_.get(), params) >= 0;
}

gboolean SoftwareRenderer::OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data) {
  auto* self = static_cast<SoftwareRenderer*>(data);
  const int scale = gtk_widget_get_scale_factor(widget);
  const auto [width, height] = self->DeviceSize();
  const std::int64_t started = self->log_cost_ ? ThreadCpuNs() : 0;
  if (!self->RenderInto(self->shown_, width, height)) {
    // Nothing to show yet: the area stays black, as a player's does.
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    return TRUE;
  }
  ++self->frames_;
  const std::int64_t rendered = self->log_cost_ ? ThreadCpuNs() : 0;
  cairo_surface_set_device_scale(self->shown_.surface, scale, scale);
  cairo_set_source_surface(cr, self->shown_.surface, 0, 0);
  cairo_paint(cr);
  if (self->log_cost_) {
    self->LogCost(rendered - started, ThreadCpuNs() - rendered);
  }
  return TRUE;
}

void SoftwareRenderer::LogCost(std::int64_t render_ns, std::int64_t paint_ns) {
  render_ns_ += render_ns;
  paint_ns_ += paint_ns;
  if (frames_ % 30 == 0) {
    std::fprintf(stderr, "taviro: software render cpu %lld us paint cpu %lld us at %lld us\n",
                 static_cast<long long>(render_ns_ / 1000), static_cast<long long>(paint_ns_ / 1000),
                 static_cast<long long>(g_get_monotonic_time()));
  }
}

}  // namespace taviro::mpv
