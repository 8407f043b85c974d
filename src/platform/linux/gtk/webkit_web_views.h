#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <array>
#include <memory>

#include "platform/web_view.h"

namespace taviro::gtk {

// One WebKitGTK view behind the core's WebView.
class WebKitView final : public WebView {
 public:
  // `related` (may be null) is the view whose web process this one shares.
  explicit WebKitView(WebKitWebView* related);
  WebKitView(const WebKitView&) = delete;
  WebKitView& operator=(const WebKitView&) = delete;
  ~WebKitView() override;

  void SetHandlers(WebViewHandlers handlers) override;
  void Navigate(const std::string& uri) override;
  void WriteDocument(const std::string& html, const std::string& base_uri) override;
  void Refresh() override;
  void GoBack() override;
  void GoForward() override;
  void Edit(EditCommand command) override;
  void RunScript(const std::string& script, std::function<void(const std::string&)> done) override;

  GtkWidget* widget() const { return GTK_WIDGET(view_); }
  WebKitWebView* view() const { return view_; }

 private:
  static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer data);
  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer data);
  static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri, GError* error,
                               gpointer data);
  static GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer data);
  static gboolean OnScriptDialog(WebKitWebView* view, WebKitScriptDialog* dialog, gpointer data);
  static gboolean OnContextMenu(WebKitWebView* view, WebKitContextMenu* menu, GdkEvent* event,
                                WebKitHitTestResult* hit, gpointer data);

  bool HandleNavigation(const std::string& uri);

  WebKitWebView* view_ = nullptr;  // owned through a sunk reference
  WebViewHandlers handlers_;
  // The address of an HTTP error reported from the response, so the finish
  // that follows is not taken for a successful load.
  bool failed_ = false;
};

// The window's eleven views, all sharing the first view's web process.
class WebKitViewSet final : public WebViewSet {
 public:
  WebKitViewSet();
  WebView& View(int number) override;
  WebKitView& Native(int number) { return *views_[static_cast<std::size_t>(number - 1)]; }

 private:
  std::array<std::unique_ptr<WebKitView>, 11> views_;
};

// Whether the engine can load `uri` at all; other schemes are ours.
bool IsEngineScheme(const std::string& uri);

}  // namespace taviro::gtk
