#include "linux/gtk/webkit_web_views.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "linux/gtk/frame_navigation_policy.h"
#include "playback/external_call.h"
#include "playback/page_trust.h"

namespace taviro::gtk {
namespace {

// The window's automation interface as the main frame's page sees it:
// window.external.NAME(...) posts the name and every argument as text to the
// page's own window, where the bridge below takes it. What every object has
// (toString, ...), `then` and `toJSON` are left alone, so that printing,
// awaiting or serialising the object calls nothing.
constexpr const char* kExternalScript = R"js((function () {
  var post = window.postMessage.bind(window);
  var external = new Proxy({}, {
    get: function (target, name) {
      if (typeof name !== 'string' || name in Object.prototype) {
        return Reflect.get(target, name);
      }
      if (name === 'then' || name === 'toJSON') {
        return undefined;
      }
      return function () {
        var texts = [];
        for (var i = 0; i < arguments.length && i < 16; ++i) {
          texts.push(arguments[i] == null ? '' : String(arguments[i]));
        }
        post({taviroExternal: {name: name, args: texts}}, '*');
      };
    },
    has: function (target, name) { return typeof name === 'string'; }
  });
  Object.defineProperty(window, 'external', {value: external, configurable: true, writable: true});
})();)js";

// The bridge, in a world of our own and in the main frame only: the channel
// to the window exists nowhere else. It takes a call only when the main
// frame's own window sent it (an embedded frame's message names that frame
// as its source), checks the name's type and the size before it copies
// anything, and hands the call over as one JSON text.
constexpr const char* kBridgeWorld = "taviro";
constexpr const char* kBridgeScript = R"js(window.addEventListener('message', function (event) {
  if (event.source !== window || event.data === null || typeof event.data !== 'object') {
    return;
  }
  var call = event.data.taviroExternal;
  if (!call || typeof call.name !== 'string' || call.name.length > 64 || !Array.isArray(call.args) ||
      call.args.length > 8) {
    return;
  }
  var texts = [call.name];
  for (var i = 0; i < call.args.length; ++i) {
    if (typeof call.args[i] !== 'string' || call.args[i].length > 4096) {
      return;
    }
    texts.push(call.args[i]);
  }
  window.webkit.messageHandlers.taviro.postMessage(JSON.stringify(texts));
}, true);)js";

// Links of the program's own schemes act only from the page itself: a click
// on one inside an embedded frame (an advertisement) goes nowhere.
constexpr const char* kFrameLinkScript = R"js((function () {
  if (window === window.top) {
    return;
  }
  var web = /^(https?|about|data|blob|javascript|file):/i;
  window.addEventListener('click', function (event) {
    var target = event.target;
    var link = target && target.closest ? target.closest('a[href], area[href]') : null;
    if (link && !web.test(String(link.href))) {
      event.preventDefault();
    }
  }, true);
})();)js";

// Right clicks, watched from a world of our own: the page can neither block
// the report (pages that suppress their own menu still get ours) nor fake it.
// The link is the one the press made the active element.
constexpr const char* kMenuWorld = kBridgeWorld;
constexpr const char* kMenuScript = R"js(window.addEventListener('contextmenu', function (event) {
  if (!event.isTrusted) {
    return;
  }
  var target = event.target;
  var link = target && target.closest ? target.closest('a[href], area[href]') : null;
  var href = '';
  if (link) {
    href = typeof link.href === 'string' ? link.href : link.getAttribute('href');
  }
  window.webkit.messageHandlers.menu.postMessage(href);
}, true);)js";

void ConfigureSettings(WebKitWebView* view) {
  WebKitSettings* settings = webkit_web_view_get_settings(view);
  // Pages of the service declare no charset; they are written in GB18030.
  webkit_settings_set_default_charset(settings, "GB18030");
  // Eleven views in one window: compositing on the CPU costs less memory and
  // is what a machine without a GPU does anyway.
  webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
  webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
  webkit_settings_set_allow_file_access_from_file_urls(settings, FALSE);
  webkit_settings_set_allow_universal_access_from_file_urls(settings, FALSE);
  webkit_settings_set_enable_developer_extras(settings, FALSE);
  webkit_settings_set_media_playback_requires_user_gesture(settings, FALSE);
}

void AddScript(WebKitUserContentManager* content, const char* source, const char* world,
               WebKitUserContentInjectedFrames frames = WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES) {
  WebKitUserScript* script =
      world == nullptr
          ? webkit_user_script_new(source, frames, WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr,
                                   nullptr)
          : webkit_user_script_new_for_world(source, frames, WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START,
                                             world, nullptr, nullptr);
  webkit_user_content_manager_add_script(content, script);
  webkit_user_script_unref(script);
}

void Debug(const char* what, const std::string& detail) {
  if (std::getenv("TAVIRO_DEBUG") != nullptr) {
    std::fprintf(stderr, "taviro: web view %s %s\n", what, detail.c_str());
  }
}

std::string Text(const char* text) { return text != nullptr ? text : ""; }

// A script value as text; undefined and null read as empty.
std::string ValueText(JSCValue* value) {
  if (value == nullptr || jsc_value_is_undefined(value) || jsc_value_is_null(value)) {
    return "";
  }
  char* raw = jsc_value_to_string(value);
  std::string text = Text(raw);
  g_free(raw);
  return text;
}

struct PointerState {
  int x = 0;
  int y = 0;
  GdkModifierType buttons = static_cast<GdkModifierType>(0);
};

// Where the pointer is, in pixels of the widget's toplevel window, and which
// buttons are down.
PointerState PointerInToplevel(GtkWidget* widget) {
  PointerState state;
  GdkWindow* window = gtk_widget_get_window(gtk_widget_get_toplevel(widget));
  if (window == nullptr) {
    return state;  // not shown: the menu goes to the window's origin
  }
  GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(window));
  GdkDevice* pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
  if (pointer != nullptr) {
    gdk_window_get_device_position(window, pointer, &state.x, &state.y, &state.buttons);
  }
  return state;
}

struct ScriptCall {
  std::function<void(const std::string&)> done;
};

void OnScriptFinished(GObject* source, GAsyncResult* result, gpointer data) {
  std::unique_ptr<ScriptCall> call(static_cast<ScriptCall*>(data));
  GError* error = nullptr;
  GObjectPtr<JSCValue> value = GObjectPtr<JSCValue>::Adopt(
      webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error));
  const bool view_gone = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
  if (error != nullptr) {
    g_error_free(error);  // a failing script reads as an empty result
  }
  if (!view_gone && call->done) {
    call->done(ValueText(value.get()));
  }
}

}  // namespace

namespace {

std::string SchemeOf(const std::string& uri) {
  const std::size_t colon = uri.find(':');
  if (colon == std::string::npos) {
    return {};
  }
  std::string scheme = uri.substr(0, colon);
  for (char& c : scheme) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return scheme;
}

// The program asks for no download anywhere: whatever a page offers to save
// is dropped before a byte reaches the disk.
void OnDownloadStarted(WebKitWebContext* /*context*/, WebKitDownload* download, gpointer /*data*/) {
  Debug("download refused", Text(webkit_uri_request_get_uri(webkit_download_get_request(download))));
  webkit_download_cancel(download);
}

}  // namespace

bool IsEngineScheme(const std::string& uri) {
  const std::string scheme = SchemeOf(uri);
  for (const char* engine : {"http", "https", "file", "about", "data", "blob"}) {
    if (scheme == engine) {
      return true;
    }
  }
  return false;
}

bool IsBrowserAddress(const std::string& uri) {
  const std::string scheme = SchemeOf(uri);
  return (scheme == "http" || scheme == "https") && uri.size() > scheme.size() + 3;
}

WebKitView::WebKitView(WebKitWebView* related)
    : content_(GObjectPtr<WebKitUserContentManager>::Adopt(webkit_user_content_manager_new())),
      scripts_(GObjectPtr<GCancellable>::Adopt(g_cancellable_new())) {
  GtkWidget* widget = nullptr;
  if (related != nullptr) {
    widget = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", related, "settings",
                                     webkit_web_view_get_settings(related), "user-content-manager",
                                     content_.get(), nullptr));
  } else {
    widget = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", content_.get(), nullptr));
  }
  view_ = GObjectPtr<WebKitWebView>::Retain(WEBKIT_WEB_VIEW(widget));
  if (related == nullptr) {
    ConfigureSettings(view_.get());
    // The views share one context: one watch for all of them.
    connections_.push_back(
        Connect(webkit_web_view_get_context(view_.get()), "download-started", OnDownloadStarted, nullptr));
  }
  ConnectSignals();
  InstallPageBridge();
}

WebKitView::~WebKitView() {
  g_cancellable_cancel(scripts_.get());
  connections_.clear();
}

void WebKitView::ConnectSignals() {
  gpointer view = view_.get();
  connections_.push_back(Connect(view, "decide-policy", OnDecidePolicy, this));
  connections_.push_back(Connect(view, "load-changed", OnLoadChanged, this));
  connections_.push_back(Connect(view, "load-failed", OnLoadFailed, this));
  connections_.push_back(Connect(view, "create", OnCreate, this));
  connections_.push_back(Connect(view, "script-dialog", OnScriptDialog, this));
  connections_.push_back(Connect(view, "context-menu", OnContextMenu, this));
  connections_.push_back(Connect(view, "button-release-event", OnButtonRelease, this));
  connections_.push_back(Connect(view, "web-process-terminated", OnWebProcessTerminated, this));
  gpointer content = content_.get();
  connections_.push_back(Connect(content, "script-message-received::taviro", OnExternalMessage, this));
  connections_.push_back(Connect(content, "script-message-received::menu", OnMenuMessage, this));
}

void WebKitView::InstallPageBridge() {
  webkit_user_content_manager_register_script_message_handler_in_world(content_.get(), "taviro",
                                                                       kBridgeWorld);
  webkit_user_content_manager_register_script_message_handler_in_world(content_.get(), "menu", kMenuWorld);
  AddScript(content_.get(), kExternalScript, nullptr, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME);
  AddScript(content_.get(), kBridgeScript, kBridgeWorld, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME);
  AddScript(content_.get(), kFrameLinkScript, kBridgeWorld);
  AddScript(content_.get(), kFrameNavigationPolicyScript, kBridgeWorld);
  AddScript(content_.get(), kFrameSandboxScript, kBridgeWorld);
  AddScript(content_.get(), kMenuScript, kMenuWorld);
}

void WebKitView::SetHandlers(WebViewHandlers handlers) { handlers_ = std::move(handlers); }

bool WebKitView::HandleNavigation(const std::string& uri) {
  return handlers_.before_navigate && handlers_.before_navigate(uri);
}

void WebKitView::Navigate(const std::string& uri) {
  if (!IsEngineScheme(uri)) {
    // The engine would re-encode non-ASCII text in a private link; the link
    // goes to the handler exactly as written, as a page's link would.
    HandleNavigation(uri);
    return;
  }
  written_html_.clear();
  webkit_web_view_load_uri(view_.get(), uri.c_str());
}

void WebKitView::WriteDocument(const std::string& html, const std::string& base_uri) {
  written_base_ = base_uri.empty() ? "about:blank" : base_uri;
  written_html_ = html;
  written_at_ = written_base_;
  webkit_web_view_load_html(view_.get(), html.c_str(), base_uri.empty() ? nullptr : base_uri.c_str());
}

void WebKitView::Refresh() { webkit_web_view_reload(view_.get()); }

void WebKitView::GoBack() { webkit_web_view_go_back(view_.get()); }

void WebKitView::GoForward() { webkit_web_view_go_forward(view_.get()); }

void WebKitView::Edit(EditCommand command) {
  const char* name = WEBKIT_EDITING_COMMAND_COPY;
  if (command == EditCommand::kPaste) {
    name = WEBKIT_EDITING_COMMAND_PASTE;
  } else if (command == EditCommand::kSelectAll) {
    name = WEBKIT_EDITING_COMMAND_SELECT_ALL;
  }
  webkit_web_view_execute_editing_command(view_.get(), name);
}

void WebKitView::RunScript(const std::string& script, std::function<void(const std::string&)> done) {
  auto* call = new ScriptCall{std::move(done)};
  webkit_web_view_evaluate_javascript(view_.get(), script.c_str(), static_cast<gssize>(script.size()),
                                      nullptr, nullptr, scripts_.get(), OnScriptFinished, call);
}

void WebKitView::ReportError(const std::string& uri, int status) {
  if (failed_) {
    return;  // one report per load
  }
  failed_ = true;
  Debug("load failed", uri);
  if (handlers_.navigate_error) {
    handlers_.navigate_error(uri, status);
  }
}

void WebKitView::OpenInBrowser(const std::string& uri) {
  // A page may ask for any scheme; the desktop would hand the others to
  // whatever program claims them.
  if (!IsBrowserAddress(uri)) {
    Debug("new window refused", uri);
    return;
  }
  // Without a browser the page simply stays where it is.
  g_app_info_launch_default_for_uri(uri.c_str(), nullptr, nullptr);
  if (handlers_.new_window) {
    handlers_.new_window(uri);
  }
}

bool WebKitView::DecideResponse(WebKitResponsePolicyDecision* decision) {
  if (!webkit_response_policy_decision_is_mime_type_supported(decision)) {
    // What the engine cannot show it would save as a download.
    webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
    return true;
  }
  if (!webkit_response_policy_decision_is_main_frame_main_resource(decision)) {
    return false;
  }
  WebKitURIResponse* response = webkit_response_policy_decision_get_response(decision);
  const guint status = webkit_uri_response_get_status_code(response);
  if (status >= 400) {
    // The engine shows an error status as a page like any other.
    ReportError(Text(webkit_uri_response_get_uri(response)), static_cast<int>(status));
  }
  return false;
}

bool WebKitView::DecideNavigation(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const std::string uri = Text(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
  if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
    webkit_policy_decision_ignore(decision);
    OpenInBrowser(uri);
    return true;
  }
  if (!written_base_.empty()) {
    const bool ours = uri == written_base_;
    written_base_.clear();
    if (ours) {
      return false;
    }
  }
  // The engine does not say which frame navigates: clicks on private links
  // inside embedded frames are stopped in the frame (kFrameLinkScript), a
  // frame's script is stopped by the page's policy
  // (kFrameNavigationPolicyScript), and no frame may navigate the page
  // (kFrameSandboxScript). A page that is not the service's (an
  // advertiser's, after a click that took the main frame) has no private
  // links at all.
  if (!IsEngineScheme(uri)) {
    if (PageIsTrusted()) {
      HandleNavigation(uri);
    } else {
      Debug("private link refused", uri);
    }
    webkit_policy_decision_ignore(decision);  // cancelled, or nothing the engine could show
    return true;
  }
  if (HandleNavigation(uri)) {
    webkit_policy_decision_ignore(decision);
    return true;
  }
  return false;
}

bool WebKitView::PageIsTrusted() const { return IsTrustedPage(loaded_uri_, service_base_); }

gboolean WebKitView::OnDecidePolicy(WebKitWebView* /*view*/, WebKitPolicyDecision* decision,
                                    WebKitPolicyDecisionType type, gpointer data) {
  auto* self = static_cast<WebKitView*>(data);
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
    return self->DecideResponse(WEBKIT_RESPONSE_POLICY_DECISION(decision)) ? TRUE : FALSE;
  }
  return self->DecideNavigation(decision, type) ? TRUE : FALSE;
}

void WebKitView::OnWebProcessTerminated(WebKitWebView* /*view*/, WebKitWebProcessTerminationReason reason,
                                        gpointer data) {
  if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API) {
    return;  // ended on purpose
  }
  static_cast<WebKitView*>(data)->Recover();
}

void WebKitView::Recover() {
  constexpr gint64 kCrashLoop = 10 * G_USEC_PER_SEC;
  const gint64 now = g_get_monotonic_time();
  if (recovered_at_ != 0 && now - recovered_at_ < kCrashLoop) {
    Debug("crashed again, left blank", Text(webkit_web_view_get_uri(view_.get())));
    return;
  }
  recovered_at_ = now;
  const std::string uri = Text(webkit_web_view_get_uri(view_.get()));
  Debug("web process ended, showing again", uri);
  if (!written_html_.empty() && (uri.empty() || uri == written_at_)) {
    WriteDocument(std::string(written_html_), written_at_ == "about:blank" ? "" : written_at_);
  } else {
    webkit_web_view_reload(view_.get());
  }
}

void WebKitView::OnLoadChanged(WebKitWebView* /*view*/, WebKitLoadEvent event, gpointer data) {
  auto* self = static_cast<WebKitView*>(data);
  if (event == WEBKIT_LOAD_COMMITTED) {
    // Where the page came from; history.pushState changes only what it shows.
    self->loaded_uri_ = Text(webkit_web_view_get_uri(self->view_.get()));
  } else if (event == WEBKIT_LOAD_STARTED) {
    self->failed_ = false;
    if (self->handlers_.download_begin) {
      self->handlers_.download_begin();
    }
  } else if (event == WEBKIT_LOAD_FINISHED && !self->failed_) {
    if (self->handlers_.download_complete) {
      self->handlers_.download_complete();
    }
  }
}

gboolean WebKitView::OnLoadFailed(WebKitWebView* /*view*/, WebKitLoadEvent /*event*/, gchar* uri,
                                  GError* error, gpointer data) {
  auto* self = static_cast<WebKitView*>(data);
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
      g_error_matches(error, WEBKIT_POLICY_ERROR,
                      WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
    return TRUE;  // a navigation we cancelled or replaced is no failure
  }
  self->ReportError(Text(uri), 0);
  return TRUE;  // the window shows its own error picture, never the engine's page
}

GtkWidget* WebKitView::OnCreate(WebKitWebView* /*view*/, WebKitNavigationAction* action, gpointer data) {
  // Reached by window.open from script; links with a target were decided
  // before.
  auto* self = static_cast<WebKitView*>(data);
  self->OpenInBrowser(Text(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action))));
  return nullptr;
}

gboolean WebKitView::OnScriptDialog(WebKitWebView* /*view*/, WebKitScriptDialog* dialog, gpointer /*data*/) {
  // Pages never raise dialogs over the window: alert returns, confirm is
  // false, prompt is null, and a page that asks to stay is left anyway.
  if (webkit_script_dialog_get_dialog_type(dialog) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) {
    webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
  }
  return TRUE;
}

gboolean WebKitView::OnContextMenu(WebKitWebView* /*view*/, WebKitContextMenu* /*menu*/, GdkEvent* /*event*/,
                                   WebKitHitTestResult* /*hit*/, gpointer /*data*/) {
  // The engine's own menu never shows: the right click already reached the
  // window through the page, and the window pops up the program's menu.
  return TRUE;
}

void WebKitView::OnExternalMessage(WebKitUserContentManager* /*manager*/, WebKitJavascriptResult* message,
                                   gpointer data) {
  auto* self = static_cast<WebKitView*>(data);
  if (!self->handlers_.external_call) {
    return;  // this view offers no calls
  }
  if (!self->PageIsTrusted()) {
    Debug("call refused on", self->loaded_uri_);
    return;
  }
  JSCValue* value = webkit_javascript_result_get_js_value(message);
  if (!jsc_value_is_string(value)) {
    return;
  }
  if (const std::optional<ExternalCall> call = ParseExternalCall(ValueText(value))) {
    self->handlers_.external_call(call->name, call->arguments);
  }
}

void WebKitView::OnMenuMessage(WebKitUserContentManager* /*manager*/, WebKitJavascriptResult* message,
                               gpointer data) {
  auto* self = static_cast<WebKitView*>(data);
  std::string link = ValueText(webkit_javascript_result_get_js_value(message));
  // The page hears of a right click when the button goes down, the window's
  // menu belongs to the button coming up; a quick click may be up already.
  if ((PointerInToplevel(self->widget()).buttons & GDK_BUTTON3_MASK) != 0) {
    self->menu_pending_ = true;
    self->pending_link_ = std::move(link);
    return;
  }
  self->ReportMenu(link);
}

gboolean WebKitView::OnButtonRelease(GtkWidget* /*widget*/, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<WebKitView*>(data);
  if (event->button == GDK_BUTTON_SECONDARY && self->menu_pending_) {
    self->menu_pending_ = false;
    self->ReportMenu(std::exchange(self->pending_link_, std::string()));
  }
  return FALSE;  // the page sees the release as well
}

void WebKitView::ReportMenu(const std::string& link_uri) {
  if (!handlers_.context_menu) {
    return;
  }
  const PointerState pointer = PointerInToplevel(widget());
  handlers_.context_menu(ContextMenuRequest{link_uri, pointer.x, pointer.y});
}

WebKitViewSet::WebKitViewSet() {
  views_[0] = std::make_unique<WebKitView>(nullptr);
  for (std::size_t i = 1; i < views_.size(); ++i) {
    views_[i] = std::make_unique<WebKitView>(views_[0]->view());
  }
}

WebView& WebKitViewSet::View(WebViewRole role) { return Native(static_cast<int>(role)); }

void WebKitViewSet::SetServiceBase(const std::string& service_base) {
  for (const auto& view : views_) view->SetServiceBase(service_base);
}

}  // namespace taviro::gtk
