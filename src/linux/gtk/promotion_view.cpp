#include "linux/gtk/promotion_view.h"

#include "linux/gtk/close_picture.h"
#include "util/translate.h"

namespace taviro::gtk {

PromotionView::PromotionView(WebKitWebView* related) : web_(std::make_unique<WebKitView>(related)) {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window_), Tr(N_("推荐")));
  gtk_window_set_default_size(GTK_WINDOW(window_), kPromotionWidth, kPromotionHeight);
  gtk_window_set_position(GTK_WINDOW(window_), GTK_WIN_POS_CENTER);
  panel_ = gtk_layout_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(window_), panel_);
  gtk_layout_put(GTK_LAYOUT(panel_), web_->widget(), -2, -2);
  const Rect close = LayOutPromotion(kPromotionWidth, kPromotionHeight).close_image;
  close_ = NewClosePicture(close.width, close.height, &close_clicked_);
  gtk_layout_put(GTK_LAYOUT(panel_), close_, close.left, close.top);
  g_signal_connect(panel_, "size-allocate", G_CALLBACK(OnSizeAllocate), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
  gtk_widget_show_all(panel_);
  gtk_widget_hide(close_);
}

PromotionView::~PromotionView() {
  if (window_ != nullptr) gtk_widget_destroy(window_);
  web_.reset();
}

void PromotionView::SetCloseHandler(std::function<void()> close) {
  WebViewHandlers handlers;
  // The page's new window has gone to the user's browser; the promotion ends.
  handlers.new_window = [close](const std::string&) { close(); };
  web_->SetHandlers(std::move(handlers));
  close_clicked_ = std::move(close);
}

void PromotionView::Open(const std::string& url) {
  web_->Navigate(url);
  gtk_window_present(GTK_WINDOW(window_));
}

void PromotionView::SetCloseImageVisible(bool visible) { gtk_widget_set_visible(close_, visible); }

void PromotionView::Close() { gtk_widget_hide(window_); }

void PromotionView::OnSizeAllocate(GtkWidget* /*widget*/, GdkRectangle* allocation, gpointer data) {
  auto* self = static_cast<PromotionView*>(data);
  if (allocation->width == self->laid_out_width_ && allocation->height == self->laid_out_height_) return;
  self->laid_out_width_ = allocation->width;
  self->laid_out_height_ = allocation->height;
  const PromotionLayout layout = LayOutPromotion(allocation->width, allocation->height);
  gtk_widget_set_size_request(self->web_->widget(), layout.web.width, layout.web.height);
  gtk_layout_move(GTK_LAYOUT(self->panel_), self->web_->widget(), layout.web.left, layout.web.top);
  gtk_layout_move(GTK_LAYOUT(self->panel_), self->close_, layout.close_image.left, layout.close_image.top);
}

gboolean PromotionView::OnDelete(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer data) {
  auto* self = static_cast<PromotionView*>(data);
  if (self->close_clicked_) self->close_clicked_();
  return TRUE;  // the core hides it
}

}  // namespace taviro::gtk
