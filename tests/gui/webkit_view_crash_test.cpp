#include <gtest/gtest.h>
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gui/web_view_fixture.h"

namespace taviro::testing {
namespace {

using namespace std::chrono_literals;
using CrashTest = WebViewFixture;

// The web processes this test process started itself.
std::vector<pid_t> OurWebProcesses() {
  std::vector<pid_t> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    const auto open = line.find('(');
    const auto close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos) {
      continue;
    }
    std::istringstream rest(line.substr(close + 2));
    char state = 0;
    pid_t parent = 0;
    rest >> state >> parent;
    if (parent == ::getpid() && line.substr(open + 1, close - open - 1).rfind("WebKitWebProces", 0) == 0) {
      found.push_back(static_cast<pid_t>(std::stoi(name)));
    }
  }
  return found;
}

// Kills the web processes under the view as a crash would.
bool CrashWebProcess() {
  const std::vector<pid_t> processes = OurWebProcesses();
  for (pid_t pid : processes) {
    ::kill(pid, SIGKILL);
  }
  return !processes.empty();
}

TEST_F(CrashTest, AServedPageComesBackAndASecondCrashSoonAfterIsLeftBlank) {
  server_.Page("/shown", "<p id=p>shown</p>");
  Load("/shown");
  const int completes = record_.completes;

  ASSERT_TRUE(CrashWebProcess());
  ASSERT_TRUE(PumpUntil([&] { return record_.completes == completes + 1; }));
  EXPECT_EQ(Run("location.pathname + ' ' + document.getElementById('p').textContent"), "/shown shown");

  // A page that keeps bringing its process down is not reloaded forever.
  // This handler runs after the view's own; a reload asked for there shows
  // at once as a load under way.
  bool handled = false;
  const gulong watch = g_signal_connect(
      view_->view(), "web-process-terminated",
      G_CALLBACK(+[](WebKitWebView*, int, gpointer seen) { *static_cast<bool*>(seen) = true; }), &handled);
  ASSERT_TRUE(CrashWebProcess());
  EXPECT_TRUE(PumpUntil([&] { return handled; }));
  g_signal_handler_disconnect(view_->view(), watch);
  EXPECT_FALSE(webkit_web_view_is_loading(view_->view()));
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_EQ(record_.completes, completes + 1);
}

TEST_F(CrashTest, AWrittenDocumentIsWrittenAgain) {
  const std::string base = server_.Url("/lists/");
  const int completes = record_.completes;
  view_->WriteDocument("<p id=p>written list</p>", base);
  ASSERT_TRUE(PumpUntil([&] { return record_.completes == completes + 1; }));

  ASSERT_TRUE(CrashWebProcess());
  ASSERT_TRUE(PumpUntil([&] { return record_.completes == completes + 2; }));
  EXPECT_EQ(Run("location.href + ' ' + document.getElementById('p').textContent"), base + " written list");
  EXPECT_EQ(server_.Hits("/lists/"), 0);
}

}  // namespace
}  // namespace taviro::testing
