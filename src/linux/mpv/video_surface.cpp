#include "linux/mpv/video_surface.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "linux/mpv/gl_probe.h"
#include "linux/mpv/gl_renderer.h"
#include "linux/mpv/software_renderer.h"

namespace taviro::mpv {

VideoSurface::VideoSurface(mpv_handle* handle, RenderPath wanted, Hooks hooks)
    : handle_(handle),
      wanted_(wanted),
      hooks_(std::move(hooks)),
      container_(gtk::GObjectPtr<GtkWidget>::Retain(gtk_box_new(GTK_ORIENTATION_VERTICAL, 0))) {
  gtk_widget_set_name(container_.get(), "Qvodx");
  draw_ = gtk::Connect(container_.get(), "draw", &VideoSurface::OnDraw, this);
  realize_ = gtk::Connect(container_.get(), "realize", &VideoSurface::OnRealize, this);
  gtk_widget_show(container_.get());
  if (std::getenv("TAVIRO_DEBUG") != nullptr) {
    frame_log_ = g_timeout_add_seconds(1, &VideoSurface::LogFramesShown, this);
  }
}

VideoSurface::~VideoSurface() {
  if (frame_log_ != 0) {
    g_source_remove(frame_log_);
  }
  full_screen_.reset();
  Uninstall();
}

void VideoSurface::OnRealize(GtkWidget* /*widget*/, gpointer data) {
  auto* self = static_cast<VideoSurface*>(data);
  // Choosing a path realizes the container to probe its GL renderer; that
  // realize must not start a second choice (and a second render context).
  if (!self->choosing_) {
    self->EnsureRenderer();
  }
}

// Black behind the picture and while the picture is away in full screen.
gboolean VideoSurface::OnDraw(GtkWidget* /*widget*/, cairo_t* cr, gpointer /*data*/) {
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  return FALSE;
}

gboolean VideoSurface::LogFramesShown(gpointer data) {
  const auto* self = static_cast<VideoSurface*>(data);
  if (self->renderer_ != nullptr) {
    std::fprintf(stderr, "taviro: frames shown %llu at %lld us\n",
                 static_cast<unsigned long long>(self->renderer_->frames()),
                 static_cast<long long>(g_get_monotonic_time()));
  }
  return G_SOURCE_CONTINUE;
}

bool VideoSurface::Anchored() const {
  return gtk_widget_is_toplevel(gtk_widget_get_toplevel(container_.get()));
}

// Without a GPU, OpenGL runs on the CPU and mpv's software renderer is the
// cheaper of the two; with one, OpenGL scales and converts on the GPU.
RenderPath VideoSurface::ChoosePath() {
  if (wanted_ == RenderPath::kSoftware || !Anchored()) {
    return RenderPath::kSoftware;
  }
  if (wanted_ == RenderPath::kOpenGl) {
    return RenderPath::kOpenGl;
  }
  return GpuRenderer() ? RenderPath::kOpenGl : RenderPath::kSoftware;
}

bool VideoSurface::GpuRenderer() {
  if (!HasGpuDevice()) {
    return false;
  }
  gtk_widget_realize(container_.get());
  const auto renderer = ProbeGlRenderer(gtk_widget_get_window(container_.get()));
  return renderer && !IsSoftwareRenderer(*renderer);
}

void VideoSurface::EnsureRenderer() {
  if (renderer_ != nullptr) {
    if (!renderer_->ready() && gtk_widget_is_toplevel(gtk_widget_get_toplevel(renderer_->widget()))) {
      gtk_widget_realize(renderer_->widget());
    }
    if (renderer_->ready()) {
      return;
    }
    // An OpenGL area that could not get a render context.
    Uninstall();
    wanted_ = RenderPath::kSoftware;
  }
  choosing_ = true;
  const RenderPath path = ChoosePath();
  choosing_ = false;
  if (path == RenderPath::kOpenGl && Anchored()) {
    Install(std::make_unique<GlRenderer>(handle_, hooks_.context_ready));
    gtk_widget_realize(renderer_->widget());
    if (renderer_->ready()) {
      on_gpu_ = GpuRenderer();
      return;
    }
    Uninstall();
    wanted_ = RenderPath::kSoftware;
  }
  on_gpu_ = false;
  Install(SoftwareRenderer::Create(handle_));
}

void VideoSurface::Install(std::unique_ptr<VideoRenderer> renderer) {
  renderer_ = std::move(renderer);
  if (renderer_ == nullptr) {
    return;
  }
  gtk_container_add(GTK_CONTAINER(container_.get()), renderer_->widget());
  gtk_widget_show(renderer_->widget());
}

void VideoSurface::Uninstall() {
  if (renderer_ == nullptr) {
    return;
  }
  GtkWidget* widget = renderer_->widget();
  if (GtkWidget* parent = gtk_widget_get_parent(widget); parent != nullptr) {
    gtk_container_remove(GTK_CONTAINER(parent), widget);
  }
  renderer_.reset();
}

void VideoSurface::SetFullScreen(bool on) {
  if (on == full_screen()) {
    return;
  }
  if (on) {
    EnsureRenderer();
  }
  if (renderer_ == nullptr) {
    return;
  }
  GtkWidget* widget = renderer_->widget();
  if (!renderer_->survives_reparent() && renderer_->ready() && hooks_.losing_context) {
    hooks_.losing_context();
  }
  if (on) {
    gtk_container_remove(GTK_CONTAINER(container_.get()), widget);
    full_screen_ =
        std::make_unique<FullScreenWindow>(widget, container_.get(), [this] { SetFullScreen(false); });
  } else {
    full_screen_.reset();
    gtk_container_add(GTK_CONTAINER(container_.get()), widget);
    if (Anchored()) {
      gtk_widget_realize(widget);
    }
  }
}

}  // namespace taviro::mpv
