#include "platform/linux/gtk/webkit_web_views.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace taviro::gtk {
namespace {

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

void Debug(const char* what, const std::string& detail) {
  if (std::getenv("TAVIRO_DEBUG") != nullptr) {
    std::fprintf(stderr, "taviro: web view %s %s\n", what, detail.c_str());
  }
}

}  // namespace

bool IsEngineScheme(const std::string& uri) {
  for (const char* scheme : {"http:", "https:", "file:", "about:", "data:"}) {
    if (uri.rfind(scheme, 0) == 0) {
      return true;
    }
  }
  return false;
}

WebKitView::WebKitView(WebKitWebView* related) {
  GtkWidget* widget = related != nullptr ? webkit_web_view_new_with_related_view(related)
                                         : webkit_web_view_new();
  view_ = WEBKIT_WEB_VIEW(g_object_ref_sink(widget));
  if (related == nullptr) {
    ConfigureSettings(view_);
  }
  g_signal_connect(view_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
  g_signal_connect(view_, "load-changed", G_CALLBACK(OnLoadChanged), this);
  g_signal_connect(view_, "load-failed", G_CALLBACK(OnLoadFailed), this);
  g_signal_connect(view_, "create", G_CALLBACK(OnCreate), this);
  g_signal_connect(view_, "script-dialog", G_CALLBACK(OnScriptDialog), this);
  g_signal_connect(view_, "context-menu", G_CALLBACK(OnContextMenu), this);
}

WebKitView::~WebKitView() {
  g_signal_handlers_disconnect_by_data(view_, this);
  g_object_unref(view_);
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
  webkit_web_view_load_uri(view_, uri.c_str());
}

void WebKitView::WriteDocument(const std::string& html, const std::string& base_uri) {
  webkit_web_view_load_html(view_, html.c_str(), base_uri.empty() ? nullptr : base_uri.c_str());
}

void WebKitView::Refresh() { webkit_web_view_reload(view_); }

void WebKitView::GoBack() { webkit_web_view_go_back(view_); }

void WebKitView::GoForward() { webkit_web_view_go_forward(view_); }

void WebKitView::Edit(EditCommand command) {
  const char* name = WEBKIT_EDITING_COMMAND_COPY;
  if (command == EditCommand::kPaste) {
    name = WEBKIT_EDITING_COMMAND_PASTE;
  } else if (command == EditCommand::kSelectAll) {
    name = WEBKIT_EDITING_COMMAND_SELECT_ALL;
  }
  webkit_web_view_execute_editing_command(view_, name);
}

namespace {

struct ScriptCall {
  std::function<void(const std::string&)> done;
};

void OnScriptFinished(GObject* source, GAsyncResult* result, gpointer data) {
  std::unique_ptr<ScriptCall> call(static_cast<ScriptCall*>(data));
  GError* error = nullptr;
  JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
  std::string text;
  if (value != nullptr) {
    if (!jsc_value_is_undefined(value) && !jsc_value_is_null(value)) {
      char* raw = jsc_value_to_string(value);
      text = raw != nullptr ? raw : "";
      g_free(raw);
    }
    g_object_unref(value);
  }
  if (error != nullptr) {
    g_error_free(error);  // a failing script reads as an empty result
  }
  if (call->done) {
    call->done(text);
  }
}

}  // namespace

void WebKitView::RunScript(const std::string& script, std::function<void(const std::string&)> done) {
  auto* call = new ScriptCall{std::move(done)};
  webkit_web_view_evaluate_javascript(view_, script.c_str(), static_cast<gssize>(script.size()), nullptr,
                                      nullptr, nullptr, OnScriptFinished, call);
}

gboolean WebKitView::OnDecidePolicy(WebKitWebView* /*view*/, WebKitPolicyDecision* decision,
                                    WebKitPolicyDecisionType type, gpointer data) {
  auto* self = static_cast<WebKitView*>(data);
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
    auto* response_decision = WEBKIT_RESPONSE_POLICY_DECISION(decision);
    WebKitURIResponse* response = webkit_response_policy_decision_get_response(response_decision);
    const guint status = webkit_uri_response_get_status_code(response);
    if (status >= 400 && webkit_response_policy_decision_is_main_frame_main_resource(response_decision)) {
      self->failed_ = true;
      const char* uri = webkit_uri_response_get_uri(response);
      Debug("http error", uri != nullptr ? uri : "");
      if (self->handlers_.navigate_error) {
        self->handlers_.navigate_error(uri != nullptr ? uri : "", static_cast<int>(status));
      }
    }
    return FALSE;
  }
  auto* navigation = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(navigation);
  WebKitURIRequest* request = webkit_navigation_action_get_request(action);
  const char* raw = webkit_uri_request_get_uri(request);
  const std::string uri = raw != nullptr ? raw : "";
  if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
    // A page that asks for a new window gets the user's browser instead.
    webkit_policy_decision_ignore(decision);
    g_app_info_launch_default_for_uri(uri.c_str(), nullptr, nullptr);
    return TRUE;
  }
  if (self->HandleNavigation(uri)) {
    webkit_policy_decision_ignore(decision);
    return TRUE;
  }
  if (!IsEngineScheme(uri)) {
    webkit_policy_decision_ignore(decision);  // nothing the engine could show
    return TRUE;
  }
  return FALSE;
}

void WebKitView::OnLoadChanged(WebKitWebView* /*view*/, WebKitLoadEvent event, gpointer data) {
  auto* self = static_cast<WebKitView*>(data);
  if (event == WEBKIT_LOAD_STARTED) {
    self->failed_ = false;
    if (self->handlers_.download_begin) {
      self->handlers_.download_begin();
    }
  } else if (event == WEBKIT_LOAD_FINISHED) {
    if (self->handlers_.download_complete) {
      self->handlers_.download_complete();
    }
  }
}

gboolean WebKitView::OnLoadFailed(WebKitWebView* /*view*/, WebKitLoadEvent /*event*/, gchar* uri,
                                  GError* error, gpointer data) {
  auto* self = static_cast<WebKitView*>(data);
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
      g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
    return TRUE;  // a navigation we cancelled or replaced is no failure
  }
  self->failed_ = true;
  Debug("load failed", uri != nullptr ? uri : "");
  if (self->handlers_.navigate_error) {
    self->handlers_.navigate_error(uri != nullptr ? uri : "", 0);
  }
  return TRUE;  // the window shows its own error picture, never the engine's page
}

GtkWidget* WebKitView::OnCreate(WebKitWebView* /*view*/, WebKitNavigationAction* action, gpointer /*data*/) {
  WebKitURIRequest* request = webkit_navigation_action_get_request(action);
  if (const char* uri = webkit_uri_request_get_uri(request); uri != nullptr && *uri != '\0') {
    g_app_info_launch_default_for_uri(uri, nullptr, nullptr);
  }
  return nullptr;
}

gboolean WebKitView::OnScriptDialog(WebKitWebView* /*view*/, WebKitScriptDialog* /*dialog*/, gpointer /*data*/) {
  return TRUE;  // pages never raise dialogs over the window
}

gboolean WebKitView::OnContextMenu(WebKitWebView* /*view*/, WebKitContextMenu* /*menu*/, GdkEvent* /*event*/,
                                   WebKitHitTestResult* /*hit*/, gpointer /*data*/) {
  return TRUE;  // the window's own menus replace the engine's
}

WebKitViewSet::WebKitViewSet() {
  views_[0] = std::make_unique<WebKitView>(nullptr);
  for (std::size_t i = 1; i < views_.size(); ++i) {
    views_[i] = std::make_unique<WebKitView>(views_[0]->view());
  }
}

WebView& WebKitViewSet::View(int number) { return Native(number); }

}  // namespace taviro::gtk
