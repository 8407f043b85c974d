// The helper's terminal and loopback server against a source on loopback,
// with a save folder that another user writes to as well.
#include "linux/helper/media_server.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "linux/helper/terminal.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace taviro::helper {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr uid_t kOtherUser = 65534;  // nobody
constexpr auto kDeadline = 60s;

bool WaitFor(const std::function<bool()>& done) { return testing::WaitUntil(done, kDeadline); }

// A source on a free loopback port: every path is a file of its own.
class Source {
 public:
  Source() {
    server_.Get(R"(/.*)", [](const httplib::Request& request, httplib::Response& response) {
      response.set_content("bytes of " + request.path, "application/octet-stream");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~Source() {
    while (!server_.is_running()) std::this_thread::yield();
    server_.stop();
    thread_.join();
  }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  httplib::Server server_;
  int port_ = -1;
  std::thread thread_;
};

UniqueFd Connect(int port) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return {};
  return fd;
}

// Everything the server sends until it closes (or the deadline).
std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  const auto deadline = Clock::now() + kDeadline;
  while (Clock::now() < deadline) {
    pollfd wait{fd, POLLIN, 0};
    if (::poll(&wait, 1, 100) <= 0) continue;
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

// The server's port through an IPv6 socket, as an IPv4-mapped address.
UniqueFd ConnectMapped(int port) {
  UniqueFd fd(::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in6 address{};
  address.sin6_family = AF_INET6;
  address.sin6_port = htons(static_cast<std::uint16_t>(port));
  if (::inet_pton(AF_INET6, "::ffff:127.0.0.1", &address.sin6_addr) != 1 ||
      ::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    return {};
  }
  return fd;
}

std::string Get(int port, const std::string& path, const std::string& host, bool mapped = false) {
  const UniqueFd fd = mapped ? ConnectMapped(port) : Connect(port);
  const std::string head = "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nRange: bytes=6-\r\n\r\n";
  if (!fd.valid() || ::send(fd.get(), head.data(), head.size(), MSG_NOSIGNAL) < 0) return {};
  return ReadAll(fd.get());
}

class MediaServerTest : public ::testing::Test {
 protected:
  void SetUp() override { curl_global_init(CURL_GLOBAL_DEFAULT); }
  void TearDown() override {
    terminal.StopAll();
    server.Stop();
    curl_global_cleanup();
  }
  std::optional<ServedItem> Open(const std::string& address, std::string& error) {
    return terminal.Open(HelperRequest{HelperVerb::kPlay, address, source.Base()}, error);
  }
  // The item's bytes once its file has its final name.
  std::string Finished(const std::string& address, const std::string& name) {
    std::string error;
    const std::optional<ServedItem> served = Open(address, error);
    EXPECT_TRUE(served) << error;
    if (!served) return {};
    // The item starts after a look at its source, and its partial file comes
    // with the first byte: until the whole file is there, a name planted in
    // the folder is not the item's.
    EXPECT_TRUE(WaitFor([&] {
      return served->item->Status().thousandths == 1000 && folder.Exists(name) &&
             !std::filesystem::is_symlink(folder / name) && !folder.Exists(name + ".part");
    }));
    return folder.Read(name);
  }
  void Plant(const std::string& name, const std::string& bytes) const {
    folder.Write(name, bytes);
    ASSERT_EQ(::chown((folder / name).c_str(), kOtherUser, kOtherUser), 0);
  }

  Source source;
  testing::TempFolder folder;
  Terminal terminal{folder.path().string() + "/", false};
  MediaServer server{terminal};
};

TEST_F(MediaServerTest, OnlyTheItemsTokenAndTheServersOwnHostReachItsBytes) {
  const int port = server.Start();
  ASSERT_GT(port, 0);
  std::string error;
  const std::optional<ServedItem> served = Open(source.Base() + "a/v.mp4", error);
  ASSERT_TRUE(served) << error;
  const std::string host = "127.0.0.1:" + std::to_string(port);
  const std::string path = "/item/" + served->token + "/v.mp4";
  EXPECT_EQ(server.AddressOf(served->token, "v.mp4"), "http://" + host + path);

  const std::string answer = Get(port, path, host);
  EXPECT_TRUE(answer.starts_with("HTTP/1.1 206 ")) << answer;
  EXPECT_NE(answer.find("Content-Range: bytes 6-16/17\r\n"), std::string::npos) << answer;
  EXPECT_TRUE(answer.ends_with("\r\n\r\nof /a/v.mp4")) << answer;

  // A page that rebinds its own name to 127.0.0.1 names itself.
  EXPECT_TRUE(Get(port, path, "attacker.example:" + std::to_string(port)).starts_with("HTTP/1.1 403 "));
  std::string guessed = served->token;
  guessed[0] = guessed[0] == '0' ? '1' : '0';
  EXPECT_TRUE(Get(port, "/item/" + guessed + "/v.mp4", host).starts_with("HTTP/1.1 404 "));
  EXPECT_TRUE(Get(port, "/item/v.mp4", host).starts_with("HTTP/1.1 400 "));
}

TEST_F(MediaServerTest, AClientThatDribblesItsRequestIsDroppedAndOthersAreStillServed) {
  const int port = server.Start();
  std::string error;
  const std::optional<ServedItem> served = Open(source.Base() + "b/v.mp4", error);
  ASSERT_TRUE(served) << error;
  std::vector<UniqueFd> slow;
  for (int i = 0; i < MediaServer::kMaxConnections + 4; ++i) {
    slow.push_back(Connect(port));
    ASSERT_EQ(::send(slow.back().get(), "G", 1, MSG_NOSIGNAL), 1);
  }
  // One byte a second is never a whole request: the server hangs up.
  const auto began = Clock::now();
  bool closed = false;
  while (!closed && Clock::now() - began < kDeadline) {
    pollfd wait{slow.front().get(), POLLIN, 0};
    if (::poll(&wait, 1, 1000) > 0) {
      char c = 0;
      closed = ::recv(slow.front().get(), &c, 1, 0) == 0;
    } else {
      (void)::send(slow.front().get(), "E", 1, MSG_NOSIGNAL);  // a failed send ends the loop too
    }
  }
  EXPECT_TRUE(closed);
  const std::string host = "127.0.0.1:" + std::to_string(port);
  EXPECT_TRUE(
      WaitFor([&] { return Get(port, "/item/" + served->token + "/v.mp4", host).ends_with("/b/v.mp4"); }));
}

// In a folder another user writes to, what that user planted under the
// item's names is never followed, trusted or served.
TEST_F(MediaServerTest, PlantedLinksAndAnotherUsersPartialFilesAreNeitherFollowedNorTrusted) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant another user's files";
  folder.Write("private", "the user's secret");
  std::filesystem::create_symlink(folder / "private", folder / "p.mp4.part");
  std::filesystem::create_symlink(folder / "private", folder / "q.mp4");
  // Claims to be complete: without a fetch it would be renamed and served.
  Plant("r.mp4.part", "planted bytes!");
  Plant("r.mp4.part.ranges", "size 14\nsource " + source.Base() + "r/r.mp4\n0-14\n");

  EXPECT_EQ(Finished(source.Base() + "p/p.mp4", "p.mp4"), "bytes of /p/p.mp4");
  EXPECT_EQ(Finished(source.Base() + "q/q.mp4", "q.mp4"), "bytes of /q/q.mp4");
  EXPECT_EQ(Finished(source.Base() + "r/r.mp4", "r.mp4"), "bytes of /r/r.mp4");
  EXPECT_EQ(folder.Read("private"), "the user's secret");
}

TEST_F(MediaServerTest, ItemsAreTheirSourceNotTheirNameAndAFinishedFileMustHaveTheSizePromised) {
  EXPECT_EQ(Finished(source.Base() + "d/v.mp4", "v.mp4"), "bytes of /d/v.mp4");
  std::string error;
  // Another source's file of the same name is not this item: it is saved
  // beside it.
  EXPECT_EQ(Finished(source.Base() + "e/v.mp4", "v (2).mp4"), "bytes of /e/v.mp4");
  EXPECT_EQ(folder.Read("v.mp4"), "bytes of /d/v.mp4");

  // A qvod link promises 18 bytes; the file under its name has 5.
  folder.Write("s.mp4", "short");
  EXPECT_FALSE(Open("qvod://18|ABC|s.mp4|", error));
  std::filesystem::remove(folder / "s.mp4");
  EXPECT_EQ(Finished("qvod://18|ABC|s.mp4|", "s.mp4"), "bytes of /seed/ABC");
}

// Another user's process, running `work` until the test ends it; what it
// tells the test arrives one byte at a time.
class OtherUser {
 public:
  explicit OtherUser(const std::function<void(int tell)>& work) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return;
    told_.Reset(ends[0]);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ends[0]);
      // A test that dies takes this process along.
      (void)::prctl(PR_SET_PDEATHSIG, SIGKILL);
      // Room for a crowd of sockets, then the account's rights alone.
      const rlimit files{20000, 20000};
      if (::setrlimit(RLIMIT_NOFILE, &files) != 0 || ::setgroups(0, nullptr) != 0 ||
          ::setresgid(kOtherUser, kOtherUser, kOtherUser) != 0 ||
          ::setresuid(kOtherUser, kOtherUser, kOtherUser) != 0) {
        ::_exit(1);
      }
      work(ends[1]);
      ::_exit(0);
    }
    ::close(ends[1]);
  }
  ~OtherUser() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  OtherUser(const OtherUser&) = delete;
  OtherUser& operator=(const OtherUser&) = delete;

  // The next byte told, or 0 when none comes in time.
  char Heard(std::chrono::milliseconds limit) const {
    pollfd wait{told_.get(), POLLIN, 0};
    char c = 0;
    if (::poll(&wait, 1, static_cast<int>(limit.count())) <= 0 || ::read(told_.get(), &c, 1) != 1) return 0;
    return c;
  }

 private:
  UniqueFd told_;
  pid_t pid_ = -1;
};

void Tell(int fd, char c) { (void)!::write(fd, &c, 1); }

// Keeps `count` connections open on the port and, `per_second` times a
// second, opens one more and drops it again and replaces those the server
// closed; tells 'c' after the first second of it.
[[noreturn]] void Crowd(int tell, int port, std::size_t count, bool mapped, int per_second) {
  std::vector<UniqueFd> held;
  const auto period = std::chrono::milliseconds(1000 / per_second);
  for (int round = 0;; ++round) {
    if (round == per_second) Tell(tell, 'c');
    while (held.size() < count) held.push_back(mapped ? ConnectMapped(port) : Connect(port));
    (void)Connect(port);
    const auto next = Clock::now() + period;
    for (auto left = period; left.count() > 0;
         left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now())) {
      std::vector<pollfd> waits;
      for (const UniqueFd& fd : held) waits.push_back({fd.get(), POLLIN, 0});
      if (::poll(waits.data(), waits.size(), static_cast<int>(left.count())) <= 0) continue;
      for (std::size_t i = waits.size(); i-- > 0;) {
        char buffer[256];
        if (waits[i].revents != 0 && ::recv(held[i].get(), buffer, sizeof buffer, MSG_DONTWAIT) <= 0) {
          held.erase(held.begin() + static_cast<std::ptrdiff_t>(i));
        }
      }
    }
  }
}

// Every answer of the user's own requests, each in its time.
void ExpectServedPromptly(int port, const std::string& path, const std::string& bytes, int times) {
  const std::string host = "127.0.0.1:" + std::to_string(port);
  for (int i = 0; i < times; ++i) {
    const auto began = Clock::now();
    EXPECT_TRUE(Get(port, path, host).ends_with(bytes)) << "request " << i;
    EXPECT_LT(Clock::now() - began, 5s) << "request " << i;
  }
}

// Another account reaches no item by an IPv6 socket holding an IPv4
// address, and a crowd of such connections takes none of the user's room.
TEST_F(MediaServerTest, AnotherUsersMappedConnectionsAreRefusedAndTakeNoRoom) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  const int port = server.Start();
  std::string error;
  const std::optional<ServedItem> served = Open(source.Base() + "m/v.mp4", error);
  ASSERT_TRUE(served) << error;
  const std::string path = "/item/" + served->token + "/v.mp4";
  ExpectServedPromptly(port, path, "of /m/v.mp4", 1);
  const OtherUser other([&](int tell) {
    // Even knowing the address, the other user is answered nothing.
    Tell(tell, Get(port, path, "127.0.0.1:" + std::to_string(port), true).empty() ? 'n' : 'a');
    Crowd(tell, port, 3 * MediaServer::kMaxConnections, true, 10);
  });
  EXPECT_EQ(other.Heard(kDeadline), 'n');
  ASSERT_EQ(other.Heard(kDeadline), 'c');
  ExpectServedPromptly(port, path, "of /m/v.mp4", 10);
}

// Another account with a large socket table of its own, connecting a
// hundred times a second, does not hold up the user's requests.
TEST_F(MediaServerTest, AnotherUsersConnectionsAmongManySocketsDoNotHoldUpTheUser) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  const int port = server.Start();
  std::string error;
  const std::optional<ServedItem> served = Open(source.Base() + "t/v.mp4", error);
  ASSERT_TRUE(served) << error;
  const OtherUser other([&](int tell) {
    UniqueFd listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener.get(), SOMAXCONN) != 0 ||
        ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      ::_exit(1);
    }
    std::vector<UniqueFd> idle;
    for (int i = 0; i < 8000; ++i) {
      idle.push_back(Connect(ntohs(address.sin_port)));
      idle.emplace_back(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
    }
    Tell(tell, 'r');
    Crowd(tell, port, 0, false, 100);
  });
  ASSERT_EQ(other.Heard(120s), 'r');
  ASSERT_EQ(other.Heard(kDeadline), 'c');
  ExpectServedPromptly(port, "/item/" + served->token + "/v.mp4", "of /t/v.mp4", 12);
}

}  // namespace
}  // namespace taviro::helper
