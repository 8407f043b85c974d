#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "gui/web_view_fixture.h"
#include "support/temp_folder.h"
#include "util/ansi_text.h"
#include "util/file_uri.h"

namespace taviro::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using NavigationTest = WebViewFixture;
using LoadEventTest = WebViewFixture;

bool IsPrivate(const std::string& uri) { return !gtk::IsEngineScheme(uri); }

TEST(EngineSchemeTest, OnlySchemesTheEngineShowsAreLeftToIt) {
  for (const char* uri :
       {"http://a/", "HTTPS://a/", "file:///x", "about:blank", "data:text/html,x", "blob:http://a/1"}) {
    EXPECT_TRUE(gtk::IsEngineScheme(uri)) << uri;
  }
  for (const char* uri : {"mivuvod://1-0-0-a/", "miqvod://qvod&&&x", "open://3", "delk://3", "mitvs://1",
                          "httpx://a", "", "no-colon", "javascript:void(0)"}) {
    EXPECT_FALSE(gtk::IsEngineScheme(uri)) << uri;
  }
}

TEST_F(NavigationTest, PageLinksReachTheHandlerRawAndCancellingKeepsThePage) {
  server_.Page("/list", R"(<a id=a href="mivuvod://12-0-3-%u4E2D/">x</a>
    <a id=s href="mivuvod://7-1-4-%u6587?a=%zz&b=%E4%B8%AD">y</a>)");
  Load("/list");
  record_.cancel = IsPrivate;
  const int completes = record_.completes;

  Run("document.getElementById('a').click()");
  EXPECT_TRUE(Navigated("mivuvod://12-0-3-%u4E2D/"));
  Run("setTimeout(function () { document.getElementById('s').click(); }, 0)");
  EXPECT_TRUE(Navigated("mivuvod://7-1-4-%u6587?a=%zz&b=%E4%B8%AD"));
  Run("location.href = 'mivuvod://99-%u4E2D/?a=%zz'");
  EXPECT_TRUE(Navigated("mivuvod://99-%u4E2D/?a=%zz"));

  EXPECT_EQ(Run("location.pathname + (document.getElementById('a') != null)"), "/listtrue");
  LoadMarker();
  EXPECT_EQ(record_.completes, completes + 1) << "a cancelled navigation loaded";
}

TEST_F(NavigationTest, OurOwnPrivateAddressesReachTheHandlerWithoutTheEngine) {
  const std::string link =
      "miqvod://qvod&&&qvod%3A//1%7Cab%7C%u4E2D.rmvb%7C&&&%u4E2D&&&第1集 中文&&&12&&&0&&&3&&&0";
  view_->Navigate(link);
  // Straight through, before Navigate returns.
  EXPECT_THAT(record_.navigations, ElementsAre(link));
  LoadMarker();
  EXPECT_EQ(record_.begins, 1) << "only the marker's load";
  EXPECT_THAT(record_.errors, IsEmpty());
}

TEST_F(NavigationTest, EngineAddressesKeepTheirEscapesAndCanBeCancelled) {
  server_.Page("/page", "<p>page</p>");
  record_.cancel = [](const std::string& uri) { return uri.find("cancel") != std::string::npos; };

  view_->Navigate(server_.Url("/page?cancel-%u4E2D%zz"));
  EXPECT_TRUE(Navigated(server_.Url("/page?cancel-%u4E2D%zz")));

  // What the engine sends carries the escape as written; raw text is sent
  // %-encoded as UTF-8.
  view_->Navigate(server_.Url("/page?q=%u4E2D&t=中"));
  EXPECT_TRUE(Navigated(server_.Url("/page?q=%u4E2D&t=%E4%B8%AD")));
  ASSERT_TRUE(PumpUntil([&] { return record_.completes == 1; }));
  EXPECT_EQ(Run("location.search"), "?q=%u4E2D&t=%E4%B8%AD");
  // The load after the cancelled one is the only one that reached the server.
  EXPECT_EQ(server_.Hits("/page"), 1);
  EXPECT_EQ(record_.begins, 1);
}

// The episode list may be sent to the service's list and then to the
// program's own page: the page asked for last stays, even when the service
// answers after it.
TEST_F(NavigationTest, ThePageAskedForLastStaysWhenAnEarlierOneAnswersLater) {
  TempFolder folder;
  folder.Write("t.htm", "<p id=p>local list</p>");
  server_.Page("/pp.htm", "<p id=p>service list</p>");
  server_.Hold("/pp.htm");
  view_->Navigate(server_.Url("/pp.htm?9-0-3-x-0"));
  ASSERT_TRUE(PumpUntil([&] { return server_.Hits("/pp.htm") == 1; }));
  const int completes = record_.completes;
  view_->Navigate(FileUri(folder / "t.htm") + "?9-0-0-x-0");
  ASSERT_TRUE(PumpUntil([&] { return record_.completes > completes; }));

  server_.Release("/pp.htm");
  ASSERT_TRUE(PumpUntil([&] { return server_.Served("/pp.htm") == 1; }));
  // The engine finishes with both navigations: the one it gave up and the
  // local page.
  ASSERT_TRUE(PumpUntil([&] { return record_.completes >= completes + 2; }));
  EXPECT_EQ(Run("document.getElementById('p').textContent"), "local list");
  // A late answer shown would have completed before a page loaded after it.
  LoadMarker();
  EXPECT_EQ(record_.completes, completes + 3) << "the late answer was shown";
}

// An embedded frame (an advertisement) cannot play, delete or list anything.
TEST_F(NavigationTest, PrivateLinksInsideFramesGoNowhereAndTheFrameStays) {
  server_.Page("/frame", R"(<a id=f href="mivuvod://5-0-0-%u4E2D/">f</a>)");
  server_.Page("/outer", R"(<iframe id=i src="/frame"></iframe>)");
  Load("/outer");
  // The frame's own load is a navigation of the view as well.
  EXPECT_TRUE(Navigated(server_.Url("/frame")));
  record_.cancel = [](const std::string& uri) {
    return IsPrivate(uri) || uri.find("/marker") != std::string::npos;
  };

  Run("document.getElementById('i').contentDocument.getElementById('f').click()");
  // A later navigation of the frame, decided after the click's would have
  // been (and cancelled, so the frame stays).
  Run("document.getElementById('i').contentWindow.location.href = '/marker'");
  EXPECT_TRUE(Navigated(server_.Url("/marker")));
  EXPECT_THAT(record_.navigations, Not(Contains("mivuvod://5-0-0-%u4E2D/")));
  EXPECT_EQ(Run("document.getElementById('i').contentWindow.location.pathname"), "/frame");
}

TEST_F(NavigationTest, ScriptLinksAndGeneratedFramesStillWork) {
  server_.Page("/js", R"(<a id=j href="javascript:document.title='ran'">j</a>
    <iframe id=s srcdoc="<p id=q>inner</p>"></iframe>
    <iframe id=b></iframe>
    <script>
      document.getElementById('b').src = URL.createObjectURL(new Blob(['<p id=q>blob</p>'], {type: 'text/html'}));
    </script>)");
  Load("/js");
  record_.cancel = IsPrivate;
  Run("document.getElementById('j').click()");
  EXPECT_TRUE(PumpUntil([&] { return Run("document.title") == "ran"; }));
  EXPECT_TRUE(PumpUntil([&] {
    return Run("document.getElementById('s').contentDocument.getElementById('q').textContent") == "inner";
  }));
  EXPECT_TRUE(PumpUntil([&] {
    return Run("document.getElementById('b').contentDocument.getElementById('q').textContent") == "blob";
  }));
}

TEST_F(NavigationTest, WritingADocumentIsNoNavigationButItsLinksAre) {
  const std::string base = server_.Url("/x/");
  view_->WriteDocument(R"(<a id=r href="t2.htm?x=%u4E2D&y=%zz">r</a>)", base);
  ASSERT_TRUE(PumpUntil([&] { return record_.completes == 1; }));
  EXPECT_THAT(record_.navigations, IsEmpty());
  record_.cancel = [](const std::string&) { return true; };

  Run("document.getElementById('r').click()");
  EXPECT_TRUE(Navigated(base + "t2.htm?x=%u4E2D&y=%zz"));

  view_->WriteDocument("<p id=p>empty</p>", "");
  ASSERT_TRUE(PumpUntil([&] { return record_.completes == 2; }));
  EXPECT_EQ(Run("document.getElementById('p').textContent"), "empty");
  EXPECT_EQ(record_.navigations.size(), 1U);
}

TEST_F(LoadEventTest, AGoodLoadBeginsAndCompletesOnce) {
  server_.Page("/good", "<p>good</p>");
  Load("/good");
  LoadMarker();
  EXPECT_EQ(record_.begins, 2);
  EXPECT_EQ(record_.completes, 2);
  EXPECT_THAT(record_.errors, IsEmpty());
}

TEST_F(LoadEventTest, ARefusedConnectionIsReportedOnceAndDoesNotComplete) {
  server_.Page("/good", "<p>good</p>");
  Load("/good");
  const std::string refused = RefusedAddress("/lib/wen.txt?%u4E2D");

  view_->Navigate(refused);
  ASSERT_TRUE(PumpUntil([&] { return !record_.errors.empty(); }));
  // The engine's error page never replaces what was shown.
  EXPECT_EQ(Run("location.pathname"), "/good");

  Load("/good");
  EXPECT_THAT(record_.errors, ElementsAre(std::pair(refused, 0)));
  EXPECT_EQ(record_.begins, 3);
  EXPECT_EQ(record_.completes, 2);
}

TEST_F(LoadEventTest, AnHttpErrorOfThePageIsReportedWithItsStatusOnce) {
  server_.Page("/busy", "<p>busy</p>", "text/html", 503);
  const std::string missing = server_.Url("/missing?%u4E2D");

  view_->Navigate(missing);
  ASSERT_TRUE(PumpUntil([&] { return !record_.errors.empty(); }));
  view_->Navigate(server_.Url("/busy"));
  ASSERT_TRUE(PumpUntil([&] { return record_.errors.size() == 2; }));
  LoadMarker();
  EXPECT_THAT(record_.errors, ElementsAre(std::pair(missing, 404), std::pair(server_.Url("/busy"), 503)));
  EXPECT_EQ(record_.completes, 1) << "only the marker's load";
}

TEST_F(LoadEventTest, ErrorsOfFramesAndPicturesAreNotThePagesErrors) {
  server_.Page("/outer", R"(<iframe src="/missing-frame"></iframe><img src="/missing.gif">)");
  Load("/outer");
  LoadMarker();
  EXPECT_THAT(record_.errors, IsEmpty());
  EXPECT_EQ(server_.Hits("/missing-frame"), 1);
}

TEST_F(LoadEventTest, RefreshLoadsThePageAgain) {
  server_.Page("/count", "<p>count</p>");
  Load("/count");
  const int completes = record_.completes;
  view_->Refresh();
  ASSERT_TRUE(PumpUntil([&] { return record_.completes > completes; }));
  EXPECT_EQ(server_.Hits("/count"), 2);
}

TEST_F(LoadEventTest, BackAndForwardWalkTheHistory) {
  server_.Page("/one", "<p>one</p>");
  server_.Page("/two", "<p>two</p>");
  Load("/one");
  Load("/two");

  view_->GoBack();
  EXPECT_TRUE(PumpUntil([&] { return Run("location.pathname") == "/one"; }));
  view_->GoForward();
  EXPECT_TRUE(PumpUntil([&] { return Run("location.pathname") == "/two"; }));
}

TEST_F(LoadEventTest, PagesWithoutACharsetAreReadAsGb18030) {
  const std::string text = "中文测试 视频盒子 播放";
  server_.Page("/gb", EncodeAnsi("<html><body><p id=t>" + text + "</p></body></html>"), "text/html");
  Load("/gb");
  EXPECT_EQ(Run("document.getElementById('t').textContent"), text);
  EXPECT_EQ(Run("document.characterSet.toLowerCase()"), "gb18030");
}

TEST_F(LoadEventTest, NewWindowsGoToTheBrowserAndNeverBecomeViews) {
  server_.Page("/links", R"(<a id=b target=_blank href="/blank?%u4E2D">b</a>)");
  Load("/links");
  const int windows = VisibleToplevels();
  const std::size_t opened = BrowserOpened().size();

  Run("document.getElementById('b').click()");
  ASSERT_TRUE(PumpUntil([&] { return record_.new_windows.size() == 1; }));
  EXPECT_EQ(Run("String(window.open('/opened'))"), "null");
  ASSERT_TRUE(PumpUntil([&] { return record_.new_windows.size() == 2; }));
  EXPECT_THAT(record_.new_windows, ElementsAre(server_.Url("/blank?%u4E2D"), server_.Url("/opened")));

  EXPECT_TRUE(PumpUntil([&] { return BrowserOpened().size() == opened + 2; }));
  const auto browser = BrowserOpened();
  EXPECT_EQ(browser[opened], server_.Url("/blank?%u4E2D"));
  EXPECT_EQ(browser[opened + 1], server_.Url("/opened"));
  EXPECT_EQ(VisibleToplevels(), windows);
  EXPECT_EQ(Run("location.pathname"), "/links");
  EXPECT_EQ(server_.Hits("/blank"), 0);
}

// A page may not hand the desktop other schemes, nor save files unasked.
TEST_F(LoadEventTest, OnlyWebAddressesReachTheBrowserAndNothingIsDownloaded) {
  server_.Page("/save",
               std::string("\x7F"
                           "ELF binary",
                           11),
               "application/octet-stream");
  server_.Page("/links", R"(<a id=f target=_blank href="file:///etc/passwd">f</a>
      <a id=s target=_blank href="ssh://x/">s</a><a id=d href="/save" download>d</a>)");
  Load("/links");
  const std::size_t opened = BrowserOpened().size();
  Run("document.getElementById('f').click(); document.getElementById('s').click(); window.open('mailto:a@b');"
      "document.getElementById('d').click()");
  Run("location.href = '/save'");
  ASSERT_TRUE(PumpUntil([&] { return server_.Hits("/save") >= 1; }));
  EXPECT_FALSE(PumpUntil([&] { return BrowserOpened().size() > opened; }, std::chrono::milliseconds(1500)));
  EXPECT_TRUE(record_.new_windows.empty());
  EXPECT_EQ(Run("location.pathname"), "/links");
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::getenv("HOME"), error)) {
    EXPECT_EQ(entry.path().filename().string().find("save"), std::string::npos) << entry.path();
  }
  EXPECT_FALSE(gtk::IsBrowserAddress("file:///etc/passwd"));
  EXPECT_TRUE(gtk::IsBrowserAddress("HTTPS://x/"));
}

TEST_F(LoadEventTest, ScriptDialogsNeverShow) {
  server_.Page("/dialogs", R"(<script>
    alert('a');
    var answer = confirm('b') + ':' + prompt('c', 'd');
    window.onbeforeunload = function () { return 'stay'; };
    document.title = 'done ' + answer;
  </script>)");
  const int windows = VisibleToplevels();
  Load("/dialogs");
  EXPECT_TRUE(PumpUntil([&] { return Run("document.title") == "done false:null"; }));
  EXPECT_EQ(VisibleToplevels(), windows);

  server_.Page("/next", "<p>next</p>");
  Load("/next");
  EXPECT_EQ(VisibleToplevels(), windows);
}

}  // namespace
}  // namespace taviro::testing
