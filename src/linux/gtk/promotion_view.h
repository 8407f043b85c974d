#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>

#include "linux/gtk/webkit_web_views.h"
#include "services/promotion_window.h"

namespace taviro::gtk {

// The promotion window `ba4` ("推荐") on screen: its web view in a panel and
// the close picture. Made when it is shown; what closes it is the core's
// PromotionWindow.
class PromotionView final : public PromotionWindowPort {
 public:
  explicit PromotionView(WebKitWebView* related);
  PromotionView(const PromotionView&) = delete;
  PromotionView& operator=(const PromotionView&) = delete;
  ~PromotionView() override;

  // The close picture, a page's new window and the window manager's close.
  void SetCloseHandler(std::function<void()> close);

  void Open(const std::string& url) override;
  void SetCloseImageVisible(bool visible) override;
  void Close() override;

 private:
  static void OnSizeAllocate(GtkWidget* widget, GdkRectangle* allocation, gpointer data);
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer data);

  GtkWidget* window_ = nullptr;
  GtkWidget* panel_ = nullptr;  // `Pc1`
  std::unique_ptr<WebKitView> web_;
  GtkWidget* close_ = nullptr;  // `Picture1`
  std::function<void()> close_clicked_;
  int laid_out_width_ = 0;
  int laid_out_height_ = 0;
};

}  // namespace taviro::gtk
