#include "linux/system/instance_socket_watch.h"

#include <fcntl.h>
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
    // Two starts at once: each is taken on its own wake-up.
    auto one =
        std::async(std::launch::async, [] { return UnixSocketInstance(Options()).Offer("/视频/一.mkv"); });
    auto two = std::async(std::launch::async, [] { return UnixSocketInstance(Options()).Offer(""); });
    RunLoopUntil(received, 2, milliseconds(3000));
    EXPECT_EQ(one.get(), HandOffResult::kDelivered);
    EXPECT_EQ(two.get(), HandOffResult::kDelivered);
  }
  std::sort(received.begin(), received.end());
  EXPECT_EQ(received, (std::vector<std::string>{"", "/视频/一.mkv"}));

  // Once the watch is gone the loop no longer takes texts.
  auto unwatched = std::async(std::launch::async, [] {
    InstanceSocketOptions options = Options();
    options.answer_limit = milliseconds(200);
    return UnixSocketInstance(options).Offer("/m/b.mkv");
  });
  RunLoopUntil(received, 3, milliseconds(300));
  EXPECT_EQ(unwatched.get(), HandOffResult::kLost);
  EXPECT_EQ(received.size(), 2U);
}

// How often the main loop woke within `span`: a watch that polls a failing
// listener in a busy loop wakes it thousands of times.
int LoopWakeUps(std::chrono::milliseconds span) {
  const auto deadline = std::chrono::steady_clock::now() + span;
  const guint tick = g_timeout_add(
      20, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
  int wake_ups = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    g_main_context_iteration(nullptr, TRUE);
    ++wake_ups;
  }
  g_source_remove(tick);
  return wake_ups;
}

TEST(InstanceSocketWatch, AListenerThatFailsIsNotPolledInALoopAndIsMadeAgain) {
  UnixSocketInstance first(Options());
  ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
  std::vector<std::string> received;
  InstanceSocketWatch watch(first, [&received](const std::string& text) { received.push_back(text); });
  // The listener's number now names a file that is always readable and
  // accepts nothing, as after something closed the socket and the number
  // was used again.
  const int listener = first.ListeningFd();
  const int always_readable = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(always_readable, 0);
  ASSERT_EQ(::dup2(always_readable, listener), listener);
  ::close(always_readable);

  EXPECT_LT(LoopWakeUps(milliseconds(600)), 150);
  // The name was given up with the socket; the watch has taken it anew.
  auto later =
      std::async(std::launch::async, [] { return UnixSocketInstance(Options()).Offer("/m/after.mkv"); });
  RunLoopUntil(received, 1, milliseconds(8000));
  EXPECT_EQ(later.get(), HandOffResult::kDelivered);
  EXPECT_EQ(received, std::vector<std::string>{"/m/after.mkv"});
  // The number that is not the listener's any more was left alone.
  EXPECT_NE(::fcntl(listener, F_GETFD), -1);
  ::close(listener);
}

}  // namespace
}  // namespace taviro
