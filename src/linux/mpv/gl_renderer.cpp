#include "linux/mpv/gl_renderer.h"

#include <epoxy/gl.h>
#include <gdk/gdk.h>
#include <mpv/render_gl.h>

#include <utility>

#ifdef GDK_WINDOWING_X11
#include <epoxy/glx.h>
#include <gdk/gdkx.h>
#endif
#ifdef GDK_WINDOWING_WAYLAND
#include <epoxy/egl.h>
#include <gdk/gdkwayland.h>
#endif

namespace taviro::mpv {
namespace {

void* GetProcAddress(void* /*data*/, const char* name) {
  GdkDisplay* display = gdk_display_get_default();
#ifdef GDK_WINDOWING_X11
  if (GDK_IS_X11_DISPLAY(display)) {
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
  }
#endif
#ifdef GDK_WINDOWING_WAYLAND
  if (GDK_IS_WAYLAND_DISPLAY(display)) {
    return reinterpret_cast<void*>(eglGetProcAddress(name));
  }
#endif
  return nullptr;
}

// The display connection lets libmpv offer hardware decoding interop.
mpv_render_param DisplayParam() {
  GdkDisplay* display = gdk_display_get_default();
#ifdef GDK_WINDOWING_X11
  if (GDK_IS_X11_DISPLAY(display)) {
    return {MPV_RENDER_PARAM_X11_DISPLAY, gdk_x11_display_get_xdisplay(display)};
  }
#endif
#ifdef GDK_WINDOWING_WAYLAND
  if (GDK_IS_WAYLAND_DISPLAY(display)) {
    return {MPV_RENDER_PARAM_WL_DISPLAY, gdk_wayland_display_get_wl_display(display)};
  }
#endif
  return {MPV_RENDER_PARAM_INVALID, nullptr};
}

}  // namespace

GlRenderer::GlRenderer(mpv_handle* handle, std::function<void()> context_ready)
    : handle_(handle),
      context_ready_(std::move(context_ready)),
      area_(gtk::GObjectPtr<GtkWidget>::Retain(gtk_gl_area_new())),
      update_([this] { OnUpdate(); }) {
  gtk_widget_set_hexpand(area_.get(), TRUE);
  gtk_widget_set_vexpand(area_.get(), TRUE);
  gtk_gl_area_set_auto_render(GTK_GL_AREA(area_.get()), FALSE);
  // "realize" handlers run after the area has made its GL context and
  // "unrealize" handlers before it drops it, which is the window the render
  // context needs.
  realize_ = gtk::Connect(area_.get(), "realize", &GlRenderer::OnRealize, this);
  unrealize_ = gtk::Connect(area_.get(), "unrealize", &GlRenderer::OnUnrealize, this);
  render_ = gtk::Connect(area_.get(), "render", &GlRenderer::OnRender, this);
}

GlRenderer::~GlRenderer() {
  if (gtk_widget_get_realized(area_.get())) {
    FreeContext();
  }
  context_.reset();
}

void GlRenderer::OnRealize(GtkWidget* /*widget*/, gpointer data) {
  static_cast<GlRenderer*>(data)->CreateContext();
}

void GlRenderer::OnUnrealize(GtkWidget* /*widget*/, gpointer data) {
  static_cast<GlRenderer*>(data)->FreeContext();
}

void GlRenderer::OnUpdate() {
  if (context_ == nullptr) {
    return;
  }
  if (gtk_widget_is_drawable(area_.get())) {
    gtk_gl_area_queue_render(GTK_GL_AREA(area_.get()));
  } else {
    gtk_gl_area_make_current(GTK_GL_AREA(area_.get()));
    SkipFrame(context_.get());
  }
}

void GlRenderer::CreateContext() {
  auto* area = GTK_GL_AREA(area_.get());
  gtk_gl_area_make_current(area);
  if (gtk_gl_area_get_error(area) != nullptr || gtk_gl_area_get_context(area) == nullptr) {
    failed_ = true;
    return;
  }
  mpv_opengl_init_params gl_init{&GetProcAddress, nullptr};
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
      {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl_init},
      DisplayParam(),
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  mpv_render_context* context = nullptr;
  if (mpv_render_context_create(&context, handle_, params) < 0) {
    failed_ = true;
    return;
  }
  failed_ = false;
  context_.reset(context);
  mpv_render_context_set_update_callback(context, &MainLoopWaker::WakeFromAnyThread, &update_);
  if (context_ready_) {
    context_ready_();
  }
}

void GlRenderer::FreeContext() {
  if (context_ == nullptr) {
    return;
  }
  gtk_gl_area_make_current(GTK_GL_AREA(area_.get()));
  mpv_render_context_set_update_callback(context_.get(), nullptr, nullptr);
  context_.reset();
}

gboolean GlRenderer::OnRender(GtkGLArea* area, GdkGLContext* /*context*/, gpointer data) {
  auto* self = static_cast<GlRenderer*>(data);
  if (self->context_ == nullptr) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return TRUE;
  }
  GLint fbo = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &fbo);
  auto* widget = GTK_WIDGET(area);
  const int scale = gtk_widget_get_scale_factor(widget);
  mpv_opengl_fbo target{static_cast<int>(fbo), gtk_widget_get_allocated_width(widget) * scale,
                        gtk_widget_get_allocated_height(widget) * scale, 0};
  int flip_y = 1;
  int block = 0;
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
      {MPV_RENDER_PARAM_OPENGL_FBO, &target},
      {MPV_RENDER_PARAM_FLIP_Y, &flip_y},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  if (mpv_render_context_render(self->context_.get(), params) >= 0) {
    ++self->frames_;
  }
  return TRUE;
}

}  // namespace taviro::mpv
