#include "ui/web_view_routing.h"

#include <functional>
#include <string>

#include "playback/link_router.h"
#include "playback/list_commands.h"
#include "ui/menus/web_page_menu.h"
#include "window/catalogue_events.h"
#include "window/main_window.h"

namespace taviro {
namespace {

using Navigate = std::function<bool(const std::string& uri)>;

void Trace(const WebViewRouting& routing, int number, std::string_view what) {
  if (routing.trace) {
    routing.trace("Web" + std::to_string(number) + " " + std::string(what));
  }
}

// A view that failed to load the catalogue keeps its error page; it is
// not reported as loaded.
void OnLoaded(const WebViewRouting& routing, int number) {
  if (number == 1) {
    OnCatalogueLoaded(routing.window);
    if (routing.window.model.catalogue_failed) {
      return;
    }
  }
  Trace(routing, number, "loaded");
}

void OnFailed(const WebViewRouting& routing, int number, const std::string& uri) {
  Trace(routing, number, "failed " + uri);
  if (number == 1) {
    OnCatalogueNavigateError(routing.window, uri);
  } else if (number == 7 || number == 8) {
    OnAdvertNavigateError(routing.window, number);
  }
}

// Which rule decides each view's navigations; the other views go anywhere.
Navigate BeforeNavigate(const WebViewRouting& routing, int number) {
  switch (number) {
    case 1: return std::bind_front(&LinkRouter::Web1BeforeNavigate, &routing.router);
    case 2: return std::bind_front(&LinkRouter::Web2BeforeNavigate, &routing.router);
    case 3: return std::bind_front(&ListCommands::Web3BeforeNavigate, &routing.lists);
    case 4: return std::bind_front(&ListCommands::Web4BeforeNavigate, &routing.lists);
    case 5: return std::bind_front(&LinkRouter::Web5BeforeNavigate, &routing.router);
    case 11: return std::bind_front(&LinkRouter::Web11BeforeNavigate, &routing.router);
    default: return {};
  }
}

}  // namespace

WebViewHandlers RouteWebView(WebViewRole role, const WebViewRouting& routing) {
  const int number = static_cast<int>(role);
  WebViewHandlers handlers;
  // The routing outlives the views' handlers: the caller keeps it.
  handlers.download_complete = [&routing, number] { OnLoaded(routing, number); };
  handlers.navigate_error = [&routing, number](const std::string& uri, int /*status*/) {
    OnFailed(routing, number, uri);
  };
  handlers.before_navigate = BeforeNavigate(routing, number);
  if (role == WebViewRole::kCatalogue) {
    // Only the catalogue's pages call the window (DangJ).
    handlers.external_call = [&routing](const std::string& name, const std::vector<std::string>& arguments) {
      routing.router.OnExternalCall(name, arguments);
    };
    handlers.context_menu = [&window = routing.window](const ContextMenuRequest& request) {
      CatalogueContextMenu(window, request);
    };
  } else if (role == WebViewRole::kTaskList) {
    handlers.context_menu = [&lists = routing.lists](const ContextMenuRequest& request) {
      lists.Web3ContextMenu(request);
    };
  } else if (role == WebViewRole::kPauseAdvert) {
    handlers.context_menu = [&lists = routing.lists](const ContextMenuRequest& request) {
      lists.Web7ContextMenu(request);
    };
  }
  return handlers;
}

}  // namespace taviro
