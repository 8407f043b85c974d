#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/web_view_fixture.h"

namespace taviro::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using Arguments = std::vector<std::string>;
using PointerTest = WebViewFixture;
using ExternalCallTest = WebViewFixture;
using ScriptTest = WebViewFixture;

bool IsPrivateLink(const std::string& uri) { return !gtk::IsEngineScheme(uri); }

// A link 100x30 at (10, 20) of the page, nothing else within reach.
std::string LinkPage(const std::string& body_attributes, const std::string& href) {
  return R"(<body style="margin:0" )" + body_attributes + R"(><a id=a href=")" + href +
         R"(" style="position:absolute;left:10px;top:20px;width:100px;height:30px;display:block">row</a></body>)";
}

TEST_F(PointerTest, ARightClickReportsTheLinkUnderThePointerInWindowPixels) {
  if (!CanDrivePointer()) {
    GTEST_SKIP() << "no X pointer to drive";
  }
  server_.Page("/rows/c.htm", LinkPage("", "t2.htm?x=%u4E2D&y=%zz"));
  Load("/rows/c.htm");
  const int windows = VisibleToplevels();

  ASSERT_TRUE(ClickAt(window_.OnScreen(view_->widget(), 50, 35), 3));
  ASSERT_TRUE(PumpUntil([&] { return record_.menus.size() == 1; }));
  EXPECT_EQ(record_.menus[0].link_uri, server_.Url("/rows/t2.htm?x=%u4E2D&y=%zz"));
  const auto [x, y] = window_.InWindow(view_->widget(), 50, 35);
  EXPECT_EQ(record_.menus[0].x, x);
  EXPECT_EQ(record_.menus[0].y, y);

  // The engine takes no new press until it has finished with the last one;
  // a script after the click runs once the page is done with it.
  EXPECT_EQ(Run("'ran'"), "ran");
  ASSERT_TRUE(ClickAt(window_.OnScreen(view_->widget(), 300, 200), 3));
  ASSERT_TRUE(PumpUntil([&] { return record_.menus.size() == 2; }));
  EXPECT_EQ(record_.menus[1].link_uri, "");
  // The engine's own menu never opened: it would have before a script
  // after the click ran.
  EXPECT_EQ(Run("'ran'"), "ran");
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_EQ(VisibleToplevels(), windows);
}

TEST_F(PointerTest, PagesThatSuppressTheirMenuStillReportTheRightClick) {
  if (!CanDrivePointer()) {
    GTEST_SKIP() << "no X pointer to drive";
  }
  server_.Page("/c.htm", LinkPage(R"(oncontextmenu="return false")", "open://3"));
  Load("/c.htm");

  ASSERT_TRUE(ClickAt(window_.OnScreen(view_->widget(), 20, 25), 3));
  ASSERT_TRUE(PumpUntil([&] { return record_.menus.size() == 1; }));
  EXPECT_EQ(record_.menus[0].link_uri, "open://3");
  // The press made the link the active element, as the list page expects.
  EXPECT_EQ(Run("document.activeElement.href"), "open://3");
}

TEST_F(PointerTest, TheMenuWaitsForTheRightButtonToComeUp) {
  if (!CanDrivePointer()) {
    GTEST_SKIP() << "no X pointer to drive";
  }
  server_.Page("/c.htm", LinkPage("", "open://3"));
  Load("/c.htm");
  const auto [screen_x, screen_y] = window_.OnScreen(view_->widget(), 20, 25);

  ASSERT_TRUE(
      DrivePointer({"mousemove", std::to_string(screen_x), std::to_string(screen_y), "mousedown", "3"}));
  // The page has seen the press by the time a script runs after it.
  EXPECT_EQ(Run("'ran'"), "ran");
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_THAT(record_.menus, IsEmpty());

  // A menu shown in answer opens where the button came up.
  ASSERT_TRUE(DrivePointer({"mousemove_relative", "5", "3", "mouseup", "3"}));
  ASSERT_TRUE(PumpUntil([&] { return record_.menus.size() == 1; }));
  EXPECT_EQ(record_.menus[0].link_uri, "open://3");
  const auto [x, y] = window_.InWindow(view_->widget(), 25, 28);
  EXPECT_EQ(record_.menus[0].x, x);
  EXPECT_EQ(record_.menus[0].y, y);
}

TEST_F(PointerTest, ScriptsCannotFakeARightClick) {
  server_.Page("/c.htm", LinkPage("", "open://3"));
  Load("/c.htm");
  Run("document.getElementById('a').dispatchEvent(new MouseEvent('contextmenu', {bubbles: true}))");
  // A report the event had made would have come before this script's result.
  EXPECT_EQ(Run("typeof (window.webkit && window.webkit.messageHandlers.menu)"), "undefined");
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_THAT(record_.menus, IsEmpty());
}

TEST_F(PointerTest, ARealLeftClickOnAPrivateLinkReachesTheHandlerRaw) {
  if (!CanDrivePointer()) {
    GTEST_SKIP() << "no X pointer to drive";
  }
  server_.Page("/c.htm", LinkPage("", "mivuvod://12-0-3-%u4E2D/"));
  Load("/c.htm");
  record_.cancel = [](const std::string& uri) { return uri.rfind("mivuvod://", 0) == 0; };
  ASSERT_TRUE(ClickAt(window_.OnScreen(view_->widget(), 20, 25), 1));
  EXPECT_TRUE(Navigated("mivuvod://12-0-3-%u4E2D/"));
  EXPECT_EQ(Run("location.pathname"), "/c.htm");
}

// An advertisement of another origin, clicked, cannot send the page to a
// private link; the page's own links still go.
TEST_F(PointerTest, AClickedFrameOfAnotherOriginCannotSendThePageToAPrivateLink) {
  if (!CanDrivePointer()) {
    GTEST_SKIP() << "no X pointer to drive";
  }
  const std::string other_origin = "http://localhost:" + server_.Url("/").substr(17);
  server_.Page("/ad", R"html(<body style="margin:0;height:300px" onload="fetch('/ready')" onclick="
      try { top.location = 'miqvod://qvod&&&http%3A//127.0.0.1/ad.mp4&&&ad&&&n&&&9&&&0&&&0'; } catch (e) {}
      fetch('/clicked');">ad</body>)html");
  server_.Page("/page", R"(<body style="margin:0"><iframe src=")" + other_origin + R"(ad"
      style="border:0;width:400px;height:300px"></iframe></body>)");
  Load("/page");
  ASSERT_TRUE(PumpUntil([&] { return server_.Hits("/ready") == 1; }));
  record_.cancel = IsPrivateLink;
  ASSERT_TRUE(ClickAt(window_.OnScreen(view_->widget(), 50, 50), 1));
  ASSERT_TRUE(PumpUntil([&] { return server_.Hits("/clicked") == 1; }));
  LoadMarker();
  EXPECT_THAT(record_.navigations, Not(Contains(HasSubstr("miqvod://"))));
}

// Where a page was loaded decides its trust, not the address it shows.
TEST_F(ExternalCallTest, APageOutsideTheServicesFolderCannotClaimItsAddress) {
  view_->SetServiceBase(server_.Url("/site/"));
  server_.Page("/site/in.htm", "<p>in</p>");
  server_.Page("/out.htm", "<p>out</p>");
  record_.cancel = IsPrivateLink;
  const auto attempt = [this](const std::string& series) {
    Run("history.pushState(null, '', '/site/claimed.htm'); location.href = 'mivuvod://" + series +
        "-0-0-x/'");
    Run("window.external.DangJ('x', " + series + ", 0, 0)");
  };
  Load("/out.htm");
  attempt("1");
  EXPECT_EQ(Run("location.pathname"), "/site/claimed.htm");
  Load("/site/in.htm");
  attempt("2");
  ASSERT_TRUE(PumpUntil([&] { return record_.calls.size() == 1; }));
  EXPECT_THAT(record_.navigations, Not(Contains("mivuvod://1-0-0-x/")));
  EXPECT_THAT(record_.navigations, Contains("mivuvod://2-0-0-x/"));
  EXPECT_EQ(record_.calls[0].second.at(1), "2");
}

// Only the page itself calls the window, and only by the names it offers;
// embedded frames (advertisements) neither call it nor follow its links.
TEST_F(ExternalCallTest, OnlyThePageItselfCallsTheWindowWithEveryArgumentAsText) {
  server_.Page("/frame", R"(<script>window.external.DangJ('frame', 1, 2, 3);</script>)");
  server_.Page("/foreign", R"(<a id=l href="mivuvod://66-0-0-ad/">ad</a><script>
    top.postMessage({taviroExternal: {name: 'DangJ', args: ['foreign', '6', '6', '6']}}, '*');
    try { window.webkit.messageHandlers.taviro.postMessage('["DangJ","foreign","6","6","6"]'); } catch (e) {}
    document.getElementById('l').click();
  </script>)");
  const std::string foreign =
      "http://localhost:" + server_.Url("/").substr(server_.Url("/").rfind(':') + 1) + "foreign";
  server_.Page("/list",
               R"p(<button id=b onclick="window.external.DangJ('%u4E2D%u6587', 12, 0, 3)">选集列表</button>
    <iframe src="/frame"></iframe><iframe src=")p" +
                   foreign + R"p("></iframe>)p");
  Load("/list");
  ASSERT_TRUE(PumpUntil([&] { return server_.Hits("/foreign") == 1 && server_.Hits("/frame") == 1; }));

  Run("document.getElementById('b').click()");
  Run("window.external.DangJ('%u4E2D', 12, 0, 3)");
  Run("window.external.Other(null, undefined, 1.5, true, '中文')");
  Run("window.external.DangJ(null, undefined, 1.5, true, '中文')");
  ASSERT_TRUE(PumpUntil([&] { return record_.calls.size() == 3; }));
  // Any further call would have come in before the result of a script run
  // after it.
  EXPECT_EQ(Run("'after'"), "after");
  EXPECT_THAT(record_.calls,
              ElementsAre(std::pair(std::string("DangJ"), Arguments{"%u4E2D%u6587", "12", "0", "3"}),
                          std::pair(std::string("DangJ"), Arguments{"%u4E2D", "12", "0", "3"}),
                          std::pair(std::string("DangJ"), Arguments{"", "", "1.5", "true", "中文"})));
  EXPECT_FALSE(Navigated("mivuvod://66-0-0-ad/"));
}

// A page cannot make the window build what it claims to send.
TEST_F(ExternalCallTest, AClaimedLengthBuildsNothing) {
  server_.Page("/p", "<p>p</p>");
  Load("/p");
  Run("try { window.webkit.messageHandlers.taviro.postMessage({name: 'x', args: {length: 2147483647}}); }"
      "catch (e) {}");
  Run("window.postMessage({taviroExternal: {name: 'DangJ', args: {length: 2147483647}}}, '*')");
  Run("window.postMessage({taviroExternal: {name: 'DangJ', args: new Array(100000).fill('x')}}, '*')");
  Run("window.external.DangJ('after')");
  ASSERT_TRUE(PumpUntil([&] { return record_.calls.size() == 1; }, 5s));
  EXPECT_EQ(record_.calls[0], std::pair(std::string("DangJ"), Arguments{"after"}));
}

TEST_F(ExternalCallTest, LookingAtTheInterfaceCallsNothing) {
  server_.Page("/p", "<p>p</p>");
  Load("/p");
  EXPECT_EQ(Run("typeof window.external.DangJ + ('DangJ' in window.external)"), "functiontrue");
  EXPECT_EQ(Run("String(window.external) + ' ' + JSON.stringify({e: window.external})"),
            "[object Object] {\"e\":{}}");
  EXPECT_EQ(Run("Promise.resolve(window.external) instanceof Promise"), "true");
  EXPECT_EQ(Run("typeof (window.webkit && window.webkit.messageHandlers.taviro)"), "undefined");
  // A call would have come in before the result of a script run after it.
  EXPECT_EQ(Run("'after'"), "after");
  EXPECT_THAT(record_.calls, IsEmpty());
}

TEST(ViewSetTest, EachViewHearsOnlyItsOwnPagesAndAllShareTheSettings) {
  gtk::WebKitViewSet views;
  ViewRecord first;
  ViewRecord second;
  views.Native(1).SetHandlers(first.Handlers());
  views.Native(2).SetHandlers(second.Handlers());
  views.Native(1).WriteDocument("<p>1</p>", "");
  views.Native(2).WriteDocument("<p>2</p>", "");
  ASSERT_TRUE(PumpUntil([&] { return first.completes == 1 && second.completes == 1; }));

  Evaluate(views.Native(2), "window.external.DangJ('two', 2, 0, 0)");
  ASSERT_TRUE(PumpUntil([&] { return second.calls.size() == 1; }));
  // A call the first view heard would have come before its own script's result.
  EXPECT_EQ(Evaluate(views.Native(1), "'after'"), "after");
  EXPECT_THAT(first.calls, IsEmpty());

  WebKitSettings* settings = webkit_web_view_get_settings(views.Native(1).view());
  for (int number = 2; number <= 11; ++number) {
    EXPECT_EQ(webkit_web_view_get_settings(views.Native(number).view()), settings) << number;
    EXPECT_NE(views.Native(number).widget(), views.Native(number - 1).widget());
  }
  EXPECT_STREQ(webkit_settings_get_default_charset(settings), "GB18030");
}

TEST_F(ScriptTest, ResultsComeBackAsTextAndFailuresAsEmpty) {
  server_.Page("/p", R"(<p id=p style="height:1500px">p</p>)");
  Load("/p");
  EXPECT_EQ(Run("1+1"), "2");
  EXPECT_EQ(Run("'中文' + document.getElementById('p').textContent"), "中文p");
  EXPECT_EQ(Run("document.body.scrollHeight > 1000"), "true");
  EXPECT_EQ(Run("undefined"), "");
  EXPECT_EQ(Run("null"), "");
  EXPECT_EQ(Run("document.getElementById('none').href"), "");
  EXPECT_EQ(Run("throw new Error('x')"), "");
  EXPECT_EQ(Run("1 +* 2"), "");
}

TEST_F(ScriptTest, AResultThatArrivesAfterTheViewWentIsDropped) {
  server_.Page("/p", "<p>p</p>");
  Load("/p");
  auto calls = std::make_shared<int>(0);
  view_->RunScript("1+1", [calls](const std::string&) { ++*calls; });
  view_.reset();
  // A script of a view made afterwards goes through the same engine.
  gtk::WebKitView later(nullptr);
  later.WriteDocument("<p>later</p>", "");
  EXPECT_EQ(Evaluate(later, "'later'"), "later");
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_EQ(*calls, 0);
}

TEST_F(ScriptTest, CopyPasteAndSelectAllWorkOnThePage) {
  server_.Page("/edit", "<textarea id=t>copy-me-中文</textarea><p>rest</p>");
  Load("/edit");
  gtk_widget_grab_focus(view_->widget());
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  gtk_clipboard_set_text(clipboard, "before", -1);

  Run("var t = document.getElementById('t'); t.focus(); t.select(); 0");
  view_->Edit(EditCommand::kCopy);
  std::string copied;
  EXPECT_TRUE(PumpUntil([&] {
    gchar* text = gtk_clipboard_wait_for_text(clipboard);
    copied = text != nullptr ? text : "";
    g_free(text);
    return copied == "copy-me-中文";
  })) << copied;

  Run("t.value = ''; t.focus(); 0");
  view_->Edit(EditCommand::kPaste);
  EXPECT_TRUE(PumpUntil([&] { return Run("t.value") == "copy-me-中文"; }));

  Run("t.blur(); getSelection().removeAllRanges(); 0");
  view_->Edit(EditCommand::kSelectAll);
  EXPECT_TRUE(PumpUntil([&] { return Run("getSelection().toString().indexOf('rest') >= 0") == "true"; }));
}

}  // namespace
}  // namespace taviro::testing
