#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>

#include "linux/gtk/webkit_web_views.h"
#include "services/popup_notice.h"
#include "util/translate.h"

namespace taviro::gtk {

inline constexpr const char* kNoticeWindowTitle = N_("Taviro 公告");

// The notice window `tankou`: borderless, above other windows, and never
// taking the keyboard (a playing video keeps its keys). It holds its own web
// view and the close picture; the schedule is the core's PopupNotice.
class NoticeWindow final : public NoticeWindowPort {
 public:
  // `related` is a view whose web process the notice's view shares.
  explicit NoticeWindow(WebKitWebView* related);
  NoticeWindow(const NoticeWindow&) = delete;
  NoticeWindow& operator=(const NoticeWindow&) = delete;
  ~NoticeWindow() override;

  // Page complete, close picture, a page's new window.
  void SetHandlers(std::function<void()> page_complete, std::function<void()> close_clicked,
                   std::function<void()> new_window);

  void Navigate(const std::string& url) override;
  void SetVisible(bool visible) override;
  void ShrinkView() override;
  void MeasurePage(std::function<void(int width, int height)> done) override;
  void Place(const NoticeGeometry& geometry) override;
  ScreenRect WorkArea() override;
  void Unload() override;

 private:
  GtkWidget* window_ = nullptr;
  GtkWidget* panel_ = nullptr;  // `P1`
  std::unique_ptr<WebKitView> web_;
  GtkWidget* close_ = nullptr;  // `img`
  std::function<void()> close_clicked_;
};

}  // namespace taviro::gtk
