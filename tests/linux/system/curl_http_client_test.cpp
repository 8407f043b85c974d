#include "linux/system/curl_http_client.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace taviro {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// "中文测试" in GB18030, a NUL and a byte that is no valid UTF-8 start.
const std::string kGbBody =
    std::string("\xD6\xD0\xCE\xC4\xB2\xE2\xCA\xD4", 8) + std::string("\0|\xFF\r\n", 5);

// A loopback server on a free port, run on its own thread for one test.
class LoopbackServer {
 public:
  LoopbackServer() {
    server_.Get("/gb", [](const httplib::Request&, httplib::Response& response) {
      response.set_content(kGbBody, "text/html");
    });
    server_.Get("/old",
                [](const httplib::Request&, httplib::Response& response) { response.set_redirect("/gb"); });
    server_.Get("/to-file", [](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("file:///etc/hostname");
    });
    server_.Get("/missing", [](const httplib::Request&, httplib::Response& response) {
      response.status = 404;
      response.set_content("<html>页面不存在</html>", "text/html");
    });
    server_.Get("/broken", [](const httplib::Request&, httplib::Response& response) {
      response.status = 500;
      response.set_content("error page", "text/html");
    });
    server_.Get("/kib", [](const httplib::Request& request, httplib::Response& response) {
      const std::size_t bytes = std::stoul(request.get_param_value("n"));
      response.set_content(std::string(bytes, 'x'), "text/plain");
    });
    // Streams without end, and without a declared length, for as long as
    // anyone reads.
    server_.Get("/endless", [](const httplib::Request&, httplib::Response& response) {
      response.set_chunked_content_provider("text/plain", [](std::size_t, httplib::DataSink& sink) {
        const std::string block(64 * 1024, 'y');
        return sink.is_writable() && sink.write(block.data(), block.size());
      });
    });
    server_.Get("/stall", [this](const httplib::Request&, httplib::Response& response) {
      std::unique_lock lock(mutex_);
      released_.wait_for(lock, 5s, [this] { return release_; });
      response.set_content("too late", "text/html");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~LoopbackServer() {
    {
      std::lock_guard lock(mutex_);
      release_ = true;
    }
    released_.notify_all();
    server_.stop();
    thread_.join();
  }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  int port() const { return port_; }

 private:
  httplib::Server server_;
  int port_ = -1;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable released_;
  bool release_ = false;
};

// A loopback port that is bound but not listening, so connections to it are
// refused for as long as the object lives.
class RefusingPort {
 public:
  RefusingPort() : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof(address);
    if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      port_ = ntohs(address.sin_port);
    }
  }
  ~RefusingPort() {
    if (fd_ >= 0) ::close(fd_);
  }
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  int port() const { return port_; }

 private:
  int fd_;
  int port_ = 0;
};

TEST(CurlHttpClient, ReturnsTheBodyBytesAsSentFollowingRedirects) {
  LoopbackServer server;
  ASSERT_GT(server.port(), 0);
  CurlHttpClient client;
  EXPECT_EQ(client.Get(server.Url("/gb")), kGbBody);
  EXPECT_EQ(client.Get(server.Url("/old")), kGbBody);
}

TEST(CurlHttpClient, AnErrorStatusReadsAsAnEmptyBody) {
  LoopbackServer server;
  ASSERT_GT(server.port(), 0);
  CurlHttpClient client;
  EXPECT_EQ(client.Get(server.Url("/missing")), "");
  EXPECT_EQ(client.Get(server.Url("/broken")), "");
  // The client is still usable after failures.
  EXPECT_EQ(client.Get(server.Url("/gb")), kGbBody);
}

TEST(CurlHttpClient, FetchesNothingButWebAddresses) {
  LoopbackServer server;
  ASSERT_GT(server.port(), 0);
  CurlHttpClient client;
  EXPECT_EQ(client.Get("file:///etc/hostname"), "");
  EXPECT_EQ(client.Get(server.Url("/to-file")), "");
  EXPECT_EQ(client.Get("not a url"), "");
}

TEST(CurlHttpClient, AReplyBeyondTheLimitIsAFailureAndEndsTheTransfer) {
  LoopbackServer server;
  ASSERT_GT(server.port(), 0);
  CurlHttpClient small(CurlHttpClient::TimeOuts{}, 1024);
  EXPECT_EQ(small.Get(server.Url("/kib?n=1024")), std::string(1024, 'x'));
  EXPECT_EQ(small.Get(server.Url("/kib?n=1025")), "");

  CurlHttpClient client(CurlHttpClient::TimeOuts{1000ms, 30000ms});
  const std::size_t over = CurlHttpClient::kMaxReplyBytes + 1;
  EXPECT_EQ(client.Get(server.Url("/kib?n=" + std::to_string(over))), "");
  // A reply that would stream for the whole time-out ends at the limit.
  const auto start = Clock::now();
  EXPECT_EQ(client.Get(server.Url("/endless")), "");
  EXPECT_LT(Clock::now() - start, 20s);
  EXPECT_EQ(client.Get(server.Url("/gb")), kGbBody);
}

TEST(CurlHttpClient, ARefusedConnectionFailsAtOnce) {
  RefusingPort port;
  ASSERT_GT(port.port(), 0);
  CurlHttpClient client;
  const auto start = Clock::now();
  EXPECT_EQ(client.Get("http://127.0.0.1:" + std::to_string(port.port()) + "/h.asp?id=1"), "");
  EXPECT_LT(Clock::now() - start, 2s);
}

TEST(CurlHttpClient, AStalledServerIsGivenUpAfterTheTotalTimeOut) {
  LoopbackServer server;
  ASSERT_GT(server.port(), 0);
  CurlHttpClient client(CurlHttpClient::TimeOuts{500ms, 1000ms});
  const auto start = Clock::now();
  EXPECT_EQ(client.Get(server.Url("/stall")), "");
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, 900ms);
  EXPECT_LT(elapsed, 3s);
}

}  // namespace
}  // namespace taviro
