#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "linux/gtk/gobject_ptr.h"
#include "ports/web_view.h"

namespace taviro::gtk {

// One WebKitGTK view behind the core's WebView.
//
// What the view reports, and when:
// - before_navigate: every navigation of every frame (links, scripts,
//   history, our own Navigate) except an embedded frame's to a private
//   scheme, which the page's policy stops first, with the address the
//   engine was given:
//   `%u4E2D` and other escapes stay as written, a non-ASCII character in an
//   http or file address arrives %-encoded as UTF-8. Addresses in the
//   program's own schemes that we navigate to ourselves never reach the
//   engine and arrive exactly as written. The document base of WriteDocument
//   is no navigation and is not reported.
// - download_begin / download_complete: start and finish of each load of the
//   main frame. A load that failed reports navigate_error once and no
//   download_complete, so nothing taken down by the error comes back before
//   the next good load.
// - navigate_error: a main-frame load that failed to connect (status 0) or
//   answered with an HTTP status of 400 or more.
// - context_menu: every real right click in any frame (also where the page
//   itself blocks its menu); the engine's menu never shows. It comes when
//   the button is released, so that the release cannot pick an item of a
//   menu shown in answer. The position is the pointer's, in pixels of the
//   view's toplevel window.
// - external_call: window.external.NAME(...) from any frame.
// - new_window: a page asked for a new window; the address went to the
//   user's browser instead.
//
// When the web process dies under a page, the view shows the page again
// (a new web process starts); a page that brings it down again within a few
// seconds is left blank rather than reloaded forever.
class WebKitView final : public WebView {
 public:
  // `related` (may be null) is the view whose web process and settings this
  // one shares.
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

  // Where the service's pages live: only they (and the program's local
  // pages) may use private links and window calls.
  void SetServiceBase(std::string service_base) { service_base_ = std::move(service_base); }

  GtkWidget* widget() const { return GTK_WIDGET(view_.get()); }
  WebKitWebView* view() const { return view_.get(); }

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
  static void OnExternalMessage(WebKitUserContentManager* manager, WebKitJavascriptResult* message,
                                gpointer data);
  static void OnMenuMessage(WebKitUserContentManager* manager, WebKitJavascriptResult* message,
                            gpointer data);
  static gboolean OnButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer data);
  static void OnWebProcessTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason,
                                     gpointer data);

  void InstallPageBridge();
  void ConnectSignals();
  bool HandleNavigation(const std::string& uri);
  // Whether the page now in the main frame is the service's or ours.
  bool PageIsTrusted() const;
  bool DecideNavigation(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
  // True when the response was decided here (ignored).
  bool DecideResponse(WebKitResponsePolicyDecision* decision);
  void ReportError(const std::string& uri, int status);
  void OpenInBrowser(const std::string& uri);
  void ReportMenu(const std::string& link_uri);
  void Recover();

  // Each view has its own content manager, so that a page's calls reach the
  // view that shows it; the web process is still shared.
  GObjectPtr<WebKitUserContentManager> content_;
  GObjectPtr<WebKitWebView> view_;
  // Cancelled when the view goes, so no script result outlives it.
  GObjectPtr<GCancellable> scripts_;
  std::vector<SignalConnection> connections_;
  WebViewHandlers handlers_;
  // The current load has been reported as failed.
  bool failed_ = false;
  // The base address of a document we are writing, whose navigation is ours.
  std::string written_base_;
  // The last document written, and the address it stands at, to show it
  // again after a crash: the engine cannot reload what it did not fetch.
  std::string written_html_;
  std::string written_at_;
  // When the view last came back from a crash (monotonic microseconds).
  gint64 recovered_at_ = 0;
  std::string service_base_;
  // The address the main frame's page was loaded from (empty before any).
  std::string loaded_uri_;
  // A right click waiting for its button to come up, and its link.
  bool menu_pending_ = false;
  std::string pending_link_;
};

// The window's eleven views, all sharing the first view's web process.
class WebKitViewSet final : public WebViewSet {
 public:
  WebKitViewSet();
  WebView& View(WebViewRole role) override;
  void SetServiceBase(const std::string& service_base);
  WebKitView& Native(int number) { return *views_[static_cast<std::size_t>(number - 1)]; }

 private:
  std::array<std::unique_ptr<WebKitView>, 11> views_;
};

// Whether the engine can load `uri` at all; other schemes are ours.
bool IsEngineScheme(const std::string& uri);
// Whether `uri` may go to the user's browser: http and https only.
bool IsBrowserAddress(const std::string& uri);

}  // namespace taviro::gtk
