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
  // A line for the debug log, e.g. "Web1 loaded".
  std::function<void(std::string_view line)> trace;
};

// The handlers of web view `number` (1 to 11): which core rule each of its
// navigations, loads, failures, context menus and page calls runs.
WebViewHandlers RouteWebView(WebViewRole role, const WebViewRouting& routing);

}  // namespace taviro
