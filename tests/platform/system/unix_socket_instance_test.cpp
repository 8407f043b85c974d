#include "platform/linux/system/unix_socket_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <future>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/system/unique_fd.h"

extern char** environ;

namespace taviro {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A name no other test run uses.
std::string TestSocketName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return "taviro-test-" + std::to_string(::getpid()) + "-" + info->name();
}

InstanceSocketOptions Options(milliseconds answer_limit = milliseconds(3000)) {
  InstanceSocketOptions options;
  options.name = TestSocketName();
  options.answer_limit = answer_limit;
  return options;
}

// The next text the listening instance takes, waiting at most `limit` for
// a start to connect.
std::optional<std::string> AcceptWithin(UnixSocketInstance& first, milliseconds limit) {
  pollfd entry{first.ListeningFd(), POLLIN, 0};
  if (::poll(&entry, 1, static_cast<int>(limit.count())) != 1) {
    return std::nullopt;
  }
  return first.AcceptOne();
}

// A later start, offering its text from another thread as another process
// would.
std::future<HandOffResult> StartLater(std::string text, milliseconds answer_limit = milliseconds(3000)) {
  return std::async(std::launch::async, [text = std::move(text), options = Options(answer_limit)] {
    UnixSocketInstance later(options);
    return later.Offer(text);
  });
}

// A socket of the test's own at the abstract `name`, connected to it or
// only bound to it.
UniqueFd RawSocket(const std::string& name, bool connect) {
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  name.copy(address.sun_path + 1, name.size());
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  const auto* generic = reinterpret_cast<const sockaddr*>(&address);
  if ((connect ? ::connect(fd.get(), generic, length) : ::bind(fd.get(), generic, length)) != 0) {
    return UniqueFd();
  }
  return fd;
}

// A child process this test forked or spawned; killed and reaped by its id
// unless it has been reaped already.
class ChildProcess {
 public:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  ChildProcess(ChildProcess&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ~ChildProcess() { Kill(); }

  void Kill() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }
  // The exit code once the child has ended by itself within `limit`.
  std::optional<int> ExitCode(milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (pid_ > 0) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
      }
      if (Clock::now() >= deadline) {
        break;
      }
      ::usleep(5000);
    }
    return std::nullopt;
  }

 private:
  pid_t pid_;
};

struct Pipe {
  Pipe() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) == 0) {
      read_end.Reset(ends[0]);
      write_end.Reset(ends[1]);
    }
  }
  UniqueFd read_end;
  UniqueFd write_end;
};

TEST(UnixSocketInstance, TheFirstStartListensAndALaterOneHandsOver) {
  UnixSocketInstance first(Options());
  EXPECT_FALSE(first.HandToRunningInstance("/m/a.mkv"));
  EXPECT_GE(first.ListeningFd(), 0);
  EXPECT_FALSE(first.HandToRunningInstance("again"));  // it stays the first

  // Nobody waiting: taking a text does not block.
  const auto before = Clock::now();
  EXPECT_EQ(first.AcceptOne(), std::nullopt);
  EXPECT_LT(Clock::now() - before, milliseconds(50));

  UnixSocketInstance later(Options());
  auto result = std::async(std::launch::async, [&later] { return later.HandToRunningInstance("/m/b.mkv"); });
  EXPECT_EQ(AcceptWithin(first, milliseconds(2000)), "/m/b.mkv");
  EXPECT_TRUE(result.get());
  EXPECT_EQ(later.ListeningFd(), -1);
}

TEST(UnixSocketInstance, TheNameIsPerUserAndOneThatDoesNotFitRunsUnguarded) {
  EXPECT_EQ(DefaultInstanceSocketName(), "taviro-instance-" + std::to_string(::getuid()));
  InstanceSocketOptions options;
  options.name = std::string(200, 'n');
  UnixSocketInstance unguarded(options);
  EXPECT_EQ(unguarded.Offer("/m/a.mkv"), HandOffResult::kFirstInstance);
  EXPECT_EQ(unguarded.ListeningFd(), -1);
}

TEST(UnixSocketInstance, TextsArriveByteForByteAndQuickly) {
  UnixSocketInstance first(Options());
  ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
  const std::vector<std::string> texts = {
      "\"/视频/我的 电影.mkv\"",         "",
      "first line\nsecond line\r\n",     "tail'\"\\ $HOME `x` *",
      std::string("nul\0inside", 10),    "mivuvod://12-0-3-%u4E2D/",
      std::string("\xFF\xFE not UTF-8"),
  };
  for (const std::string& text : texts) {
    const auto start = Clock::now();
    auto later = StartLater(text);
    EXPECT_EQ(AcceptWithin(first, milliseconds(2000)), text);
    EXPECT_EQ(later.get(), HandOffResult::kDelivered);
    EXPECT_LT(Clock::now() - start, milliseconds(500));
  }
}

TEST(UnixSocketInstance, SixSimultaneousStartsMakeExactlyOneFirst) {
  constexpr int kStarts = 6;
  Pipe gate;
  std::vector<ChildProcess> children;
  const InstanceSocketOptions options = Options();
  for (int i = 0; i < kStarts; ++i) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // Waits for the gate to open, then starts as the program would. The
      // exit code tells the outcome, or how many texts the first one took.
      gate.write_end.Reset();
      char ignored = 0;
      if (::read(gate.read_end.get(), &ignored, 1) < 0) ::_exit(90);
      UnixSocketInstance instance(options);
      const HandOffResult result = instance.Offer("start " + std::to_string(i));
      if (result != HandOffResult::kFirstInstance) ::_exit(result == HandOffResult::kDelivered ? 1 : 2);
      int taken = 0;
      const auto deadline = Clock::now() + milliseconds(5000);
      while (taken < kStarts - 1 && Clock::now() < deadline) {
        taken += AcceptWithin(instance, milliseconds(100)) ? 1 : 0;
      }
      ::_exit(100 + taken);
    }
    children.emplace_back(pid);
  }
  gate.write_end.Reset();  // every child starts now

  std::vector<int> codes;
  for (ChildProcess& child : children) {
    codes.push_back(child.ExitCode(milliseconds(8000)).value_or(-1));
  }
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(codes, (std::vector<int>{1, 1, 1, 1, 1, 100 + kStarts - 1}));
}

TEST(UnixSocketInstance, AfterTheFirstInstanceDiesTheNextStartIsFirst) {
  Pipe ready;
  const InstanceSocketOptions options = Options();
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    UnixSocketInstance instance(options);
    const char state = instance.Offer("") == HandOffResult::kFirstInstance ? 'F' : 'L';
    if (::write(ready.write_end.get(), &state, 1) < 0) ::_exit(91);
    ::pause();  // listens but never answers, like a hung instance
    ::_exit(0);
  }
  ChildProcess first(pid);
  ready.write_end.Reset();
  char state = 0;
  ASSERT_EQ(::read(ready.read_end.get(), &state, 1), 1);
  ASSERT_EQ(state, 'F');

  // An instance that runs but does not answer still keeps a second window
  // from opening; the text is lost.
  UnixSocketInstance unanswered(Options(milliseconds(200)));
  const auto start = Clock::now();
  EXPECT_EQ(unanswered.Offer("/m/a.mkv"), HandOffResult::kLost);
  EXPECT_LT(Clock::now() - start, milliseconds(1000));
  EXPECT_TRUE(UnixSocketInstance(Options(milliseconds(200))).HandToRunningInstance("/m/a.mkv"));

  first.Kill();  // as after a crash: nothing is left behind
  UnixSocketInstance next(Options());
  EXPECT_EQ(next.Offer("/m/b.mkv"), HandOffResult::kFirstInstance);
  EXPECT_GE(next.ListeningFd(), 0);
}

TEST(UnixSocketInstance, ANameHeldByAnotherUserIsNoInstanceAndGetsNoText) {
  UnixSocketInstance holder(Options());
  ASSERT_EQ(holder.Offer(""), HandOffResult::kFirstInstance);
  // Seen from a start that belongs to another user, the holder is a
  // stranger.
  InstanceSocketOptions options = Options();
  options.accepted_uid = ::getuid() + 1;
  UnixSocketInstance later(options);
  EXPECT_EQ(later.Offer("/home/me/private.mkv"), HandOffResult::kFirstInstance);
  EXPECT_EQ(later.ListeningFd(), -1);
  EXPECT_EQ(AcceptWithin(holder, milliseconds(300)), std::nullopt);
}

TEST(UnixSocketInstance, ANameHeldWithoutListeningEndsTheStartSoon) {
  // Bound but not listening: an instance between bind and listen, or one
  // that is closing. The start looks a few times, then gives up rather than
  // open a second, unguarded window.
  const UniqueFd holder = RawSocket(TestSocketName(), false);
  ASSERT_TRUE(holder.valid());
  UnixSocketInstance later(Options());
  const auto start = Clock::now();
  EXPECT_EQ(later.Offer("/m/a.mkv"), HandOffResult::kLost);
  EXPECT_LT(Clock::now() - start, milliseconds(500));
  EXPECT_EQ(later.ListeningFd(), -1);
}

TEST(UnixSocketInstance, ProgramsStartedByTheFirstInstanceDoNotKeepItsName) {
  std::optional<UnixSocketInstance> first(Options());
  ASSERT_EQ(first->Offer(""), HandOffResult::kFirstInstance);
  std::string program = "/bin/sleep";
  std::string seconds = "30";
  char* argv[] = {program.data(), seconds.data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
  ChildProcess helper(pid);

  first.reset();
  UnixSocketInstance next(Options(milliseconds(200)));
  EXPECT_EQ(next.Offer(""), HandOffResult::kFirstInstance);
}

TEST(UnixSocketInstance, TextsOverTheLimitAreRefusedAndTheInstanceGoesOn) {
  UnixSocketInstance first(Options());
  ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);

  auto too_long = StartLater(std::string(UnixSocketInstance::kMaxMessageBytes + 1, 'x'));
  EXPECT_EQ(AcceptWithin(first, milliseconds(2000)), std::nullopt);
  EXPECT_EQ(too_long.get(), HandOffResult::kLost);

  const std::string longest(UnixSocketInstance::kMaxMessageBytes, 'y');
  auto at_limit = StartLater(longest);
  EXPECT_EQ(AcceptWithin(first, milliseconds(2000)), longest);
  EXPECT_EQ(at_limit.get(), HandOffResult::kDelivered);
}

TEST(UnixSocketInstance, BrokenOrSlowSendersDoNotHoldTheInstance) {
  InstanceSocketOptions options = Options();
  options.read_limit = milliseconds(150);
  UnixSocketInstance first(options);
  ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);

  {  // promises 10 bytes, sends 3 and leaves
    UniqueFd sender = RawSocket(options.name, true);
    ASSERT_TRUE(sender.valid());
    const char bytes[] = {10, 0, 0, 0, 'a', 'b', 'c'};
    ASSERT_EQ(::send(sender.get(), bytes, sizeof bytes, MSG_NOSIGNAL), static_cast<ssize_t>(sizeof bytes));
  }
  EXPECT_EQ(AcceptWithin(first, milliseconds(1000)), std::nullopt);

  UniqueFd silent = RawSocket(options.name, true);
  ASSERT_TRUE(silent.valid());
  const auto start = Clock::now();
  EXPECT_EQ(AcceptWithin(first, milliseconds(1000)), std::nullopt);
  EXPECT_LT(Clock::now() - start, milliseconds(700));

  auto good = StartLater("/m/ok.mkv");
  EXPECT_EQ(AcceptWithin(first, milliseconds(2000)), "/m/ok.mkv");
  EXPECT_EQ(good.get(), HandOffResult::kDelivered);
}

TEST(UnixSocketInstance, ATextTakenAfterItsSenderGaveUpStillArrives) {
  UnixSocketInstance first(Options());
  ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
  auto impatient = StartLater("/m/late.mkv", milliseconds(100));
  EXPECT_EQ(impatient.get(), HandOffResult::kLost);
  EXPECT_EQ(AcceptWithin(first, milliseconds(1000)), "/m/late.mkv");
}

TEST(UnixSocketInstance, StartsOfOtherUsersAreRefused) {
  InstanceSocketOptions options = Options();
  options.accepted_uid = ::getuid() + 1;
  UnixSocketInstance first(options);
  ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
  auto stranger = StartLater("/m/a.mkv", milliseconds(500));
  EXPECT_EQ(AcceptWithin(first, milliseconds(2000)), std::nullopt);
  EXPECT_EQ(stranger.get(), HandOffResult::kLost);
}

}  // namespace
}  // namespace taviro
