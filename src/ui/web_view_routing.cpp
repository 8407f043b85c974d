#include "ui/web_view_routing.h"

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

void Changed(const WebViewRouting& routing) {
  if (routing.changed) {
    routing.changed();
  }
}

// A view that failed to load the catalogue keeps its error page; it is
// not reported as loaded.
void OnLoaded(const WebViewRouting& routing, int number) {
  if (number == 1) {
    OnCatalogueLoaded(routing.window);
    Changed(routing);
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
  Changed(routing);
}

template <typename Target>
Navigate RouteTo(const WebViewRouting& routing, Target& target, bool (Target::*handler)(const std::string&)) {
  return [&target, handler, changed = routing.changed](const std::string& uri) {
    const bool cancel = (target.*handler)(uri);
    if (changed) {
      changed();
    }
    return cancel;
  };
}

// Which rule decides each view's navigations; the other views go anywhere.
Navigate BeforeNavigate(const WebViewRouting& routing, int number) {
  switch (number) {
    case 1: return RouteTo(routing, routing.router, &LinkRouter::Web1BeforeNavigate);
    case 2: return RouteTo(routing, routing.router, &LinkRouter::Web2BeforeNavigate);
    case 3: return RouteTo(routing, routing.lists, &ListCommands::Web3BeforeNavigate);
    case 4: return RouteTo(routing, routing.lists, &ListCommands::Web4BeforeNavigate);
    case 5: return RouteTo(routing, routing.router, &LinkRouter::Web5BeforeNavigate);
    case 11: return RouteTo(routing, routing.router, &LinkRouter::Web11BeforeNavigate);
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
      Changed(routing);
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
