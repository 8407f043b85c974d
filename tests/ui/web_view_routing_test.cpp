#include "ui/web_view_routing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playback/link_router.h"
#include "playback/list_commands.h"
#include "support/control_bar_harness.h"
#include "support/fake_uri_launcher.h"
#include "window/catalogue_events.h"

namespace taviro {
namespace {

using R = RegionId;

class WebViewRoutingTest : public ::testing::Test {
 protected:
  WebViewHandlers Route(int number) { return RouteWebView(static_cast<WebViewRole>(number), routing); }

  testing::ControlBarHarness t;
  testing::FakeUriLauncher desktop;
  LinkRouter router{t.context, ""};
  ListCommands lists{t.context, desktop};
  std::vector<std::string> trace;
  WebViewRouting routing{t.window, router, lists,
                         [this](std::string_view line) { trace.emplace_back(line); }};
};

TEST_F(WebViewRoutingTest, EachViewGetsItsOwnRules) {
  for (int number = 1; number <= 11; ++number) {
    SCOPED_TRACE(number);
    const WebViewHandlers handlers = Route(number);
    EXPECT_EQ(static_cast<bool>(handlers.before_navigate), number <= 5 || number == 11);
    EXPECT_EQ(static_cast<bool>(handlers.context_menu), number == 1 || number == 3 || number == 7);
    EXPECT_EQ(static_cast<bool>(handlers.external_call), number == 1);  // only the catalogue calls the window
    EXPECT_TRUE(handlers.download_complete && handlers.navigate_error);
  }

  const ContextMenuRequest request{"open://list/1", 4, 5};
  t.player.url = "/films/a.mp4";
  for (int number : {1, 3, 7}) {
    Route(number).context_menu(request);
  }
  std::vector<PopupMenu> menus;
  for (const auto& popup : t.h.menus.popups) {
    menus.push_back(popup.menu);
  }
  EXPECT_EQ(menus, (std::vector<PopupMenu>{PopupMenu::myMenu, PopupMenu::webc, PopupMenu::qvod_m}));
}

TEST_F(WebViewRoutingTest, LoadsAndFailuresReachTheCatalogueAndAdvertRules) {
  WindowModel& m = t.model;
  m[R::Pic1].visible = false;
  Route(1).download_complete();
  EXPECT_TRUE(m[R::Pic1].visible);
  Route(3).download_complete();
  EXPECT_EQ(trace, (std::vector<std::string>{"Web1 loaded", "Web3 loaded"}));

  trace.clear();
  Route(1).navigate_error(t.window.ServiceBaseUrl + "index", 500);
  EXPECT_TRUE(m.catalogue_failed);
  Route(1).download_complete();  // the error page is not the catalogue
  EXPECT_EQ(trace, (std::vector<std::string>{"Web1 failed " + t.window.ServiceBaseUrl + "index"}));

  m[R::ad_huan].visible = m[R::bo_pad].visible = true;
  Route(2).navigate_error("http://127.0.0.1:9/", 404);
  EXPECT_TRUE(m[R::ad_huan].visible && m[R::bo_pad].visible);
  Route(7).navigate_error("http://127.0.0.1:9/", 404);
  EXPECT_FALSE(m[R::ad_huan].visible);
  EXPECT_TRUE(m[R::bo_pad].visible);
  Route(8).navigate_error("http://127.0.0.1:9/", 404);
  EXPECT_FALSE(m[R::bo_pad].visible);

  // Before the program's own service has told its address no page is the
  // catalogue's, and a retry starts the service again.
  m.catalogue_failed = false;
  t.window.ServiceBaseUrl.clear();
  Route(1).navigate_error("http://127.0.0.1:9/", 404);
  EXPECT_FALSE(m.catalogue_failed);
  int starts = 0;
  t.window.callbacks.start_service = [&starts] { ++starts; };
  RetryCatalogue(t.window);
  EXPECT_EQ(starts, 1);
}

}  // namespace
}  // namespace taviro
