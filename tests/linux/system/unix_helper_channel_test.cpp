#include "linux/system/unix_helper_channel.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "linux/system/line_socket.h"
#include "support/temp_folder.h"

namespace taviro {
namespace {

constexpr uid_t kOtherUser = 65534;  // nobody
constexpr const char* kSquatterAnswer = "ok\thttp://127.0.0.1:9/trap.mp4\n";

// No XDG_RUNTIME_DIR for one test: the helper is sought at its abstract
// name, where anyone may listen first.
class WithoutRuntimeFolder {
 public:
  WithoutRuntimeFolder() {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) saved_ = old;
    ::unsetenv("XDG_RUNTIME_DIR");
  }
  ~WithoutRuntimeFolder() {
    if (saved_) ::setenv("XDG_RUNTIME_DIR", saved_->c_str(), 1);
  }

 private:
  std::optional<std::string> saved_;
};

// A forked child, killed and reaped by its id when the test ends.
struct Child {
  explicit Child(pid_t id) : pid(id) {}
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  pid_t pid;
};

// Answers every connection at `address` with `answer`, until killed; says
// so on `ready` once it listens.
[[noreturn]] void Serve(const InstanceSocketAddress& address, const char* answer, int ready) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (::bind(fd, address.generic(), address.length) != 0 || ::listen(fd, 16) != 0) ::_exit(2);
  if (::write(ready, "l", 1) != 1) ::_exit(2);
  for (;;) {
    const int connection = ::accept(fd, nullptr, nullptr);
    (void)::send(connection, answer, std::strlen(answer),
                 MSG_NOSIGNAL);  // a requester that left is no matter
    ::close(connection);
  }
}

// Another user took the abstract name first, as anyone on the machine can:
// its answer would choose what the player plays.
TEST(UnixHelperChannel, AListenerOfAnotherUserIsNeverTakenForTheHelper) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to listen as another user";
  testing::TempFolder folder;
  const std::string helper_folder = folder.path().string() + "/Qvod/";
  const WithoutRuntimeFolder none;
  const std::string files_folder = folder.path().string();
  const std::optional<InstanceSocketAddress> abstract = HelperSocketAddressFor(helper_folder, files_folder);
  ASSERT_TRUE(abstract && abstract->abstract());
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const UniqueFd ready_read(ready[0]);
  UniqueFd ready_write(ready[1]);
  const Child squatter(::fork());
  if (squatter.pid == 0) {
    if (::setgid(kOtherUser) != 0 || ::setuid(kOtherUser) != 0) ::_exit(2);
    Serve(*abstract, kSquatterAnswer, ready_write.get());
  }
  ready_write.Reset();
  // The squatter says when it listens (or ends, closing the pipe, if it cannot).
  pollfd wait{ready_read.get(), POLLIN, 0};
  ASSERT_EQ(::poll(&wait, 1, 30'000), 1);
  char said = 0;
  ASSERT_EQ(::read(ready_read.get(), &said, 1), 1) << "the squatter could not listen";
  UnixHelperChannel channel(helper_folder, files_folder);
  EXPECT_EQ(channel.Ask("status\tx\t\n"), std::nullopt);
}

}  // namespace
}  // namespace taviro
