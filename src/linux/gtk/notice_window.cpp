#include "linux/gtk/notice_window.h"

#include <cstdio>

#include "linux/gtk/close_picture.h"

namespace taviro::gtk {
namespace {

constexpr int kCloseWidth = 40;
constexpr int kCloseHeight = 14;

// The scroll size is read before the page's margins and border go, as the
// window is sized to what the page laid out.
constexpr const char* kMeasureScript =
    "(function(){var b=document.body;if(!b)return '';"
    "var size=b.scrollWidth+','+b.scrollHeight;"
    "b.style.border='0px';b.style.overflow='hidden';b.style.margin='0px';return size;})()";

}  // namespace

NoticeWindow::NoticeWindow(WebKitWebView* related) : web_(std::make_unique<WebKitView>(related)) {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(window_);
  // What a screen reader or a window list calls it.
  gtk_window_set_title(window, Tr(kNoticeWindowTitle));
  gtk_window_set_decorated(window, FALSE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_keep_above(window, TRUE);
  gtk_window_set_accept_focus(window, FALSE);
  gtk_window_set_focus_on_map(window, FALSE);
  gtk_window_set_skip_taskbar_hint(window, TRUE);
  gtk_window_set_skip_pager_hint(window, TRUE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_NOTIFICATION);
  panel_ = gtk_layout_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(window_), panel_);
  gtk_widget_set_size_request(web_->widget(), 1, 1);
  gtk_layout_put(GTK_LAYOUT(panel_), web_->widget(), -2, -2);
  close_ = NewClosePicture(kCloseWidth, kCloseHeight, &close_clicked_);
  gtk_layout_put(GTK_LAYOUT(panel_), close_, 0, 1);
  gtk_widget_show_all(panel_);
}

NoticeWindow::~NoticeWindow() {
  // The view's widget belongs to the window; the view object goes after it.
  gtk_widget_destroy(window_);
  web_.reset();
}

void NoticeWindow::SetHandlers(std::function<void()> page_complete, std::function<void()> close_clicked,
                               std::function<void()> new_window) {
  WebViewHandlers handlers;
  handlers.download_complete = std::move(page_complete);
  handlers.new_window = [new_window = std::move(new_window)](const std::string&) { new_window(); };
  web_->SetHandlers(std::move(handlers));
  close_clicked_ = std::move(close_clicked);
}

void NoticeWindow::Navigate(const std::string& url) { web_->Navigate(url); }

void NoticeWindow::SetVisible(bool visible) {
  if (visible) {
    gtk_widget_show(window_);
  } else {
    gtk_widget_hide(window_);
  }
}

void NoticeWindow::ShrinkView() { gtk_widget_set_size_request(web_->widget(), 1, 1); }

void NoticeWindow::MeasurePage(std::function<void(int width, int height)> done) {
  web_->RunScript(kMeasureScript, [done = std::move(done)](const std::string& result) {
    int width = 0;
    int height = 0;
    if (std::sscanf(result.c_str(), "%d,%d", &width, &height) == 2) done(width, height);
  });
}

void NoticeWindow::Place(const NoticeGeometry& geometry) {
  const int width = geometry.window.width();
  const int height = geometry.window.height();
  gtk_widget_set_size_request(panel_, width, height);
  gtk_layout_set_size(GTK_LAYOUT(panel_), static_cast<guint>(width), static_cast<guint>(height));
  gtk_window_resize(GTK_WINDOW(window_), width, height);
  gtk_window_move(GTK_WINDOW(window_), geometry.window.left, geometry.window.top);
  gtk_widget_set_size_request(web_->widget(), geometry.web.width, geometry.web.height);
  gtk_layout_move(GTK_LAYOUT(panel_), web_->widget(), geometry.web.left, geometry.web.top);
  gtk_layout_move(GTK_LAYOUT(panel_), close_, geometry.close_image.left, geometry.close_image.top);
}

ScreenRect NoticeWindow::WorkArea() {
  GdkDisplay* display = gtk_widget_get_display(window_);
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
  GdkRectangle area{0, 0, 0, 0};
  if (monitor != nullptr) gdk_monitor_get_workarea(monitor, &area);
  return {area.x, area.y, area.x + area.width, area.y + area.height};
}

void NoticeWindow::Unload() {
  gtk_widget_hide(window_);
  web_->Navigate("about:blank");
}

}  // namespace taviro::gtk
