// The local episode-list page as the program writes it, loaded in a real web
// view: what it renders, what it marks and the play link it clicks.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "playback/link_router.h"
#include "support/playback_harness.h"
#include "util/file_io.h"

namespace taviro {
namespace {

using namespace std::chrono_literals;

// Two sources; the second has a name longer than an entry shows.
constexpr const char* kBody =
    "<h1>x</h1><script>var VideoInfoList=\"第一季$$第1集$http://127.0.0.1:18080/media/a.mp4$qvod#"
    "第2集$http://127.0.0.1:18080/media/b.mp4$qvod$$$网页源$$第1集$http://127.0.0.1:18080/media/c.mp4$web#"
    "一二三四五六七八九十甲乙丙丁$http://127.0.0.1:18080/media/d.mp4$web#第3集$u$web\";\nvar "
    "VideoId=12;</script>";

// Runs the main loop until `done` or the limit; false on the limit.
bool SpinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(2000);
  }
  return true;
}

struct ScriptCall {
  bool done = false;
  std::string text = "<failed>";  // stays when the script throws
};

// A window holding one web view set up as the program sets up its views.
class PageView {
 public:
  PageView() {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window_), 220, 400);
    view_ = WEBKIT_WEB_VIEW(webkit_web_view_new());
    WebKitSettings* settings = webkit_web_view_get_settings(view_);
    webkit_settings_set_default_charset(settings, "GB18030");
    webkit_settings_set_allow_file_access_from_file_urls(settings, FALSE);
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    gtk_container_add(GTK_CONTAINER(window_), GTK_WIDGET(view_));
    g_signal_connect(view_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(OnLoadChanged), this);
    gtk_widget_show_all(window_);
  }
  ~PageView() { gtk_widget_destroy(window_); }
  PageView(const PageView&) = delete;
  PageView& operator=(const PageView&) = delete;

  bool Load(const std::string& uri) {
    finished_ = false;
    webkit_web_view_load_uri(view_, uri.c_str());
    return SpinUntil([this] { return finished_; }, 15s);
  }

  // The script's result as text.
  std::string Run(const std::string& script) {
    ScriptCall call;
    webkit_web_view_evaluate_javascript(view_, script.c_str(), static_cast<gssize>(script.size()), nullptr,
                                        nullptr, nullptr, OnScriptDone, &call);
    if (!SpinUntil([&call] { return call.done; }, 5s)) {
      ADD_FAILURE() << "no answer to " << script;
    }
    return call.text;
  }

  // Addresses of every navigation the page started, in order, as the
  // engine handed them over.
  std::vector<std::string> navigations;

 private:
  static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer data) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
    auto* self = static_cast<PageView*>(data);
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const std::string uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    self->navigations.push_back(uri);
    if (uri.rfind("file:", 0) == 0) return FALSE;
    webkit_policy_decision_ignore(decision);
    return TRUE;
  }
  static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    if (event == WEBKIT_LOAD_FINISHED) static_cast<PageView*>(data)->finished_ = true;
  }
  static void OnScriptDone(GObject* source, GAsyncResult* result, gpointer data) {
    auto* out = static_cast<ScriptCall*>(data);
    GError* error = nullptr;
    JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
    if (value != nullptr) {
      char* text = jsc_value_to_string(value);
      out->text = text != nullptr ? text : "";
      g_free(text);
      g_object_unref(value);
    }
    if (error != nullptr) g_error_free(error);
    out->done = true;
  }

  GtkWidget* window_ = nullptr;
  WebKitWebView* view_ = nullptr;
  bool finished_ = false;
};

class EpisodePageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no display"; }

  // The page as DangJ writes it, and the address DangJ shows it at.
  std::string WritePage() {
    const auto page_template = ReadFileBytes(std::filesystem::path(TAVIRO_SOURCE_DIR) / "data/pages/t.htm");
    EXPECT_TRUE(page_template);
    LinkRouter router(h.context, page_template.value_or(""));
    h.web(1).script_results = {kBody};
    router.DangJ("%u4E2D%u6587", 12, 1, 2);
    return h.web(5).Address();
  }

  testing::PlaybackHarness h;
  PageView page;
};

TEST_F(EpisodePageTest, RendersTheSourcesAndMarksTheCurrentEntry) {
  const std::string address = WritePage();
  ASSERT_TRUE(page.Load(address)) << address;
  EXPECT_EQ(page.navigations, std::vector<std::string>{address});  // nothing clicked with cll 0
  EXPECT_EQ(page.Run("document.characterSet.toLowerCase()"), "gb18030");
  EXPECT_EQ(page.Run("location.search"), "?12-1-2-%u4E2D%u6587-0");
  EXPECT_EQ(page.Run("document.getElementById('wait').style.display"), "none");
  EXPECT_EQ(page.Run("document.getElementById('h0').textContent"), "第一季播放");
  EXPECT_EQ(page.Run("document.getElementById('h1').textContent"), "网页源播放");
  EXPECT_EQ(
      page.Run("['c00','c01','c10','c11','c12'].filter(function(i){return !document.getElementById(i);})"
               ".join()"),
      "");
  EXPECT_EQ(page.Run("document.querySelectorAll('#m0 li').length + '/' + document.querySelectorAll('#m1 li')"
                     ".length"),
            "2/3");
  EXPECT_EQ(page.Run("document.getElementById('t12').parentNode.id"), "m1");
  EXPECT_EQ(page.Run("document.getElementById('c11').textContent"), "一二三四五六七八九十甲乙");
  // Source 1 open, entry 1/2 current in bold red, the rest plain.
  EXPECT_EQ(page.Run("getComputedStyle(document.getElementById('m1')).display + ' ' + "
                     "getComputedStyle(document.getElementById('m0')).display"),
            "block none");
  EXPECT_EQ(
      page.Run("var s = getComputedStyle(document.getElementById('c12')); s.color + ' ' + s.fontWeight"),
      "rgb(255, 0, 0) 700");
  EXPECT_EQ(page.Run("getComputedStyle(document.getElementById('t12')).backgroundColor"), "rgb(49, 45, 38)");
  EXPECT_EQ(page.Run("document.querySelectorAll('li.now').length"), "1");
  EXPECT_EQ(page.Run("document.getElementById('openSource').value + '/' + "
                     "document.getElementById('sourceCount').value"),
            "1/2");
  EXPECT_EQ(page.Run("document.getElementById('c12').getAttribute('href')"),
            "miqvod://web&&&u&&&%u4E2D%u6587&&&%u7B2C3%u96C6&&&12&&&1&&&2&&&n&&&1");
}

TEST_F(EpisodePageTest, TheOpenListFillsTheViewAndAHeaderOpensItsOwnList) {
  ASSERT_TRUE(page.Load(WritePage()));
  // Two headers of 25 px above the list.
  const std::string expected = page.Run("(document.body.clientHeight - 49 - 2) + 'px'");
  EXPECT_TRUE(
      SpinUntil([&] { return page.Run("document.getElementById('m1').style.height") == expected; }, 2s))
      << expected;
  page.Run("document.getElementById('h0').click()");
  EXPECT_EQ(page.Run("getComputedStyle(document.getElementById('m0')).display + ' ' + "
                     "getComputedStyle(document.getElementById('m1')).display + ' ' + "
                     "document.getElementById('openSource').value"),
            "block none 0");
  EXPECT_TRUE(
      SpinUntil([&] { return page.Run("document.getElementById('m0').style.height") == expected; }, 2s));
}

TEST_F(EpisodePageTest, AnEntryToClickIsClickedWithItsPlayLink) {
  std::string address = WritePage();
  address.replace(address.size() - 2, 2, "-01");  // cll: source 0, episode 1
  ASSERT_TRUE(page.Load(address));
  EXPECT_TRUE(SpinUntil([&] { return page.navigations.size() >= 2; }, 3s));
  ASSERT_EQ(page.navigations.size(), 2U);
  EXPECT_EQ(page.navigations[1],
            "miqvod://qvod&&&http%3A//127.0.0.1%3A18080/media/b.mp4&&&%u4E2D%u6587&&&%u7B2C2%u96C6"
            "&&&12&&&0&&&1&&&n&&&1");
}

TEST_F(EpisodePageTest, ANonExistentEntryToClickClicksNothing) {
  std::string address = WritePage();
  address.replace(address.size() - 2, 2, "-99");
  ASSERT_TRUE(page.Load(address));
  SpinUntil([] { return false; }, 300ms);
  EXPECT_EQ(page.navigations.size(), 1U);
  EXPECT_EQ(page.Run("document.getElementById('wait').style.display"), "none");
}

}  // namespace
}  // namespace taviro
