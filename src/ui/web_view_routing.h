#pragma once

#include <functional>
#include <string_view>

#include "ports/web_view.h"

namespace taviro {

struct MainWindow;
class LinkRouter;
class ListCommands;

// What the web views' events reach: the window, the link rules of the
// pages that play, and the list pages' commands.
struct WebViewRouting {
  MainWindow& window;
  LinkRouter& router;
  ListCommands& lists;
  // After a handler that may have changed the model, so the view mirrors it.
  std::function<void()> changed;
  // A line for the debug log, e.g. "Web1 loaded".
  std::function<void(std::string_view line)> trace;
};

// The handlers of web view `number` (1 to 11): which core rule each of its
// navigations, loads, failures, context menus and page calls runs.
WebViewHandlers RouteWebView(WebViewRole role, const WebViewRouting& routing);

}  // namespace taviro
