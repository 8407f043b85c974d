#include "platform/linux/system/instance_socket_watch.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>
#include <vector>

namespace taviro {
namespace {

using std::chrono::milliseconds;

InstanceSocketOptions Options() {
  InstanceSocketOptions options;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  options.name = "taviro-test-" + std::to_string(::getpid()) + "-" + info->name();
  return options;
}

// Runs the default main loop until `received` holds `count` texts or the
// limit has passed.
void RunLoopUntil(const std::vector<std::string>& received, std::size_t count, milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (received.size() < count && std::chrono::steady_clock::now() < deadline) {
    if (!g_main_context_iteration(nullptr, FALSE)) {
      g_usleep(1000);
    }
  }
}

TEST(InstanceSocketWatch, TextsReachTheHandlerFromTheMainLoop) {
  UnixSocketInstance first(Options());
  ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
  std::vector<std::string> received;
  {
    InstanceSocketWatch watch(first, [&received](const std::string& text) { received.push_back(text); });
    ASSERT_TRUE(watch.Watching());
    // Two starts at once: each is taken on its own wake-up.
    auto one = std::async(std::launch::async, [] { return UnixSocketInstance(Options()).Offer("/视频/一.mkv"); });
    auto two = std::async(std::launch::async, [] { return UnixSocketInstance(Options()).Offer(""); });
    RunLoopUntil(received, 2, milliseconds(3000));
    EXPECT_EQ(one.get(), HandOffResult::kDelivered);
    EXPECT_EQ(two.get(), HandOffResult::kDelivered);
  }
  std::sort(received.begin(), received.end());
  EXPECT_EQ(received, (std::vector<std::string>{"", "/视频/一.mkv"}));

  // Once the watch is gone the loop no longer takes texts.
  auto unwatched =
      std::async(std::launch::async, [] {
        InstanceSocketOptions options = Options();
        options.answer_limit = milliseconds(200);
        return UnixSocketInstance(options).Offer("/m/b.mkv");
      });
  RunLoopUntil(received, 3, milliseconds(300));
  EXPECT_EQ(unwatched.get(), HandOffResult::kLost);
  EXPECT_EQ(received.size(), 2U);
}

}  // namespace
}  // namespace taviro
