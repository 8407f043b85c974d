#include "linux/helper/item_download.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace taviro::helper {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kSize = 4 * 1024 * 1024;
constexpr std::size_t kHead = kSize / 2;
// While held, the source sends a few bytes at a time, so that bytes keep
// arriving for as long as the test waits (far less than the rest of the file
// even on a slow machine).
constexpr std::size_t kTrickle = 256;
constexpr auto kTrickleStep = 20ms;
constexpr auto kDeadline = 60s;

// A machine 3 to 5 times slower than a quiet one stays far inside it.
bool WaitFor(const std::function<bool()>& done) { return testing::WaitUntil(done, kDeadline); }

// Something held until the test lets it go; counts who came to wait on it.
class Gate {
 public:
  void Pass() {
    std::unique_lock lock(mutex_);
    ++arrived_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return opened_; });
  }
  // Whether the gate opened within `step`: a pace that ends as soon as it does.
  bool OpenedWithin(std::chrono::milliseconds step) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, step, [this] { return opened_; });
  }
  bool WaitForArrival() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kDeadline, [this] { return arrived_ > 0; });
  }
  void Open() {
    {
      std::lock_guard lock(mutex_);
      opened_ = true;
    }
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool opened_ = false;
  int arrived_ = 0;
};

// A source on a free loopback port: the first half of the file at once,
// then a trickle until `rest` opens, then the rest.
class HeldSource {
 public:
  HeldSource(std::string body, Gate& rest) : body_(std::move(body)) {
    server_.Get("/item.bin", [this, &rest](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(
          body_.size(), "application/octet-stream",
          [this, &rest](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            std::size_t piece = std::min<std::size_t>(length, 64 * 1024);
            if (offset >= kHead && !rest.OpenedWithin(kTrickleStep)) {
              if (stopping_) return false;
              piece = std::min(piece, kTrickle);
            } else if (offset < kHead) {
              piece = std::min(piece, kHead - offset);
            }
            return sink.write(body_.data() + offset, piece);
          });
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~HeldSource() {
    stopping_ = true;
    while (!server_.is_running()) std::this_thread::yield();
    server_.stop();
    thread_.join();
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/item.bin"; }

 private:
  const std::string body_;
  httplib::Server server_;
  std::atomic<bool> stopping_ = false;
  int port_ = -1;
  std::thread thread_;
};

std::string Pattern() {
  std::string bytes(kSize, '\0');
  for (std::size_t i = 0; i < kSize; ++i) bytes[i] = static_cast<char>((i * 131) ^ (i >> 11));
  return bytes;
}

// A disk that takes its time (a shared, busy machine) must not hold the
// transfer up: syncing and saving the ranges list happen beside it.
TEST(ItemDownloadTest, BytesKeepArrivingWhileTheDiskSyncIsHeld) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  const std::string body = Pattern();
  Gate disk;
  Gate rest;
  HeldSource source(body, rest);
  testing::TempFolder folder;
  const ItemFiles files{SaveFolder::Open(folder.path().string() + "/"), "item.bin", "item.bin.part",
                        "item.bin.ranges"};
  ItemDownload item(source.Url(), source.Url(), files, std::nullopt, false, [&disk](int fd) {
    disk.Pass();
    return ::fdatasync(fd) == 0;
  });
  // However the test ends, nothing stays held, so the item can stop.
  const std::unique_ptr<Gate, std::function<void(Gate*)>> open_on_exit(&disk, [&rest](Gate* held) {
    held->Open();
    rest.Open();
  });
  std::string error;
  ASSERT_TRUE(item.Start(error)) << error;

  // The first save of the ranges list comes while bytes still arrive.
  ASSERT_TRUE(disk.WaitForArrival());
  rest.Open();
  EXPECT_TRUE(WaitFor([&] { return item.Status().thousandths == 1000; }))
      << "the transfer waited for the disk at " << item.Status().thousandths << "‰";

  // Once the disk answers, the file takes its final name, whole.
  disk.Open();
  ASSERT_TRUE(WaitFor([&] { return folder.Exists("item.bin"); }));
  EXPECT_EQ(folder.Read("item.bin"), body);
  EXPECT_FALSE(folder.Exists("item.bin.part"));
  EXPECT_FALSE(folder.Exists("item.bin.ranges"));
  item.Stop();
  curl_global_cleanup();
}

// A source whose first two answers are cut after a megabyte: each time the
// transfer comes back asking from where it was cut, and the file is the
// source, without a hole or a repeated byte.
TEST(ItemDownloadTest, ACutTransferResumesWhereItWasCut) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  const std::string body = Pattern();
  std::mutex mutex;
  std::vector<std::string> asked;
  httplib::Server server;
  server.Get("/item.bin", [&](const httplib::Request& request, httplib::Response& response) {
    bool cut = false;
    {
      std::lock_guard lock(mutex);
      asked.push_back(request.get_header_value("Range"));
      cut = asked.size() <= 2;
    }
    auto sent = std::make_shared<std::size_t>(0);
    response.set_content_provider(
        body.size(), "application/octet-stream",
        [&body, cut, sent](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          if (cut && *sent >= 1024 * 1024) return false;
          const std::size_t piece = std::min<std::size_t>(length, 64 * 1024);
          *sent += piece;
          return sink.write(body.data() + offset, piece);
        });
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread listener([&server] { server.listen_after_bind(); });
  const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/item.bin";
  testing::TempFolder folder;
  const ItemFiles files{SaveFolder::Open(folder.path().string() + "/"), "item.bin", "item.bin.part",
                        "item.bin.ranges"};
  {
    ItemDownload item(url, url, files, std::nullopt, false);
    std::string error;
    ASSERT_TRUE(item.Start(error)) << error;
    EXPECT_TRUE(WaitFor([&] { return folder.Exists("item.bin"); }));
  }
  EXPECT_TRUE(folder.Read("item.bin") == body) << "the saved file differs from the source";
  {
    std::lock_guard lock(mutex);
    ASSERT_GE(asked.size(), 3u);
    EXPECT_EQ(asked[0], "bytes=0-");
    EXPECT_NE(asked[1], "bytes=0-") << "asked from the start again";
    EXPECT_NE(asked[2], asked[1]);
  }
  while (!server.is_running()) std::this_thread::yield();
  server.stop();
  listener.join();
  curl_global_cleanup();
}

}  // namespace
}  // namespace taviro::helper
