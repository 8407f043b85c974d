#include "linux/system/unix_socket_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "util/unique_fd.h"

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

// The abstract form: no private folder.
InstanceSocketOptions Options(milliseconds answer_limit = milliseconds(3000)) {
  InstanceSocketOptions options;
  options.folder.clear();
  options.name = TestSocketName();
  options.answer_limit = answer_limit;
  return options;
}

// A runtime folder of the test's own, mode 0700, removed with what is in it.
class RuntimeFolder {
 public:
  RuntimeFolder() {
    (void)Name();
    std::string pattern = (std::filesystem::temp_directory_path() / "taviro-runtime-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  RuntimeFolder(const RuntimeFolder&) = delete;
  RuntimeFolder& operator=(const RuntimeFolder&) = delete;
  ~RuntimeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

  // The file form, in this folder's "taviro", with a name short enough for
  // a socket's path.
  InstanceSocketOptions Options(milliseconds answer_limit = milliseconds(3000)) const {
    InstanceSocketOptions options = taviro::Options(answer_limit);
    options.folder = path_ / "taviro";
    options.name = Name();
    return options;
  }
  // Fixed before any fork, so that children use the same name.
  static std::string Name() {
    static const std::string name = "i-" + std::to_string(::getpid());
    return name;
  }
  std::filesystem::path SocketFile() const { return path_ / "taviro" / Name(); }

 private:
  std::filesystem::path path_;
};

// The next text the listening instance takes, waiting at most `limit` for
// a start to connect.
std::optional<std::string> AcceptWithin(UnixSocketInstance& first, milliseconds limit) {
  pollfd entry{first.ListeningFd(), POLLIN, 0};
  if (::poll(&entry, 1, static_cast<int>(limit.count())) != 1) {
    return std::nullopt;
  }
  return first.Accept().text;
}

// A later start, offering its text from another thread as another process
// would.
std::future<HandOffResult> StartLater(std::string text, milliseconds answer_limit = milliseconds(3000)) {
  return std::async(std::launch::async, [text = std::move(text), options = Options(answer_limit)] {
    UnixSocketInstance later(options);
    return later.Offer(text);
  });
}

// A socket of the test's own at the abstract `name` (or at the file `name`
// when `file`), connected to it or only bound to it.
UniqueFd RawSocket(const std::string& name, bool connect, bool file = false) {
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::size_t offset = file ? 0 : 1;
  name.copy(address.sun_path + offset, name.size());
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + name.size());
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
  EXPECT_EQ(first.Accept().text, std::nullopt);
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

// Six processes start at once with `options`: exactly one is first and
// takes the other five texts.
void ExpectOneFirstOfSixStarts(const InstanceSocketOptions& options) {
  constexpr int kStarts = 6;
  Pipe gate;
  std::vector<ChildProcess> children;
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

TEST(UnixSocketInstance, SixSimultaneousStartsMakeExactlyOneFirst) { ExpectOneFirstOfSixStarts(Options()); }

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

TEST(UnixSocketInstance, ANameHeldWithoutListeningDoesNotStopTheStart) {
  // Bound but not listening: anyone on the machine can do this to an
  // abstract name. The start looks a few times (an instance of ours is
  // between bind and listen only for an instant), then runs unguarded.
  const UniqueFd holder = RawSocket(TestSocketName(), false);
  ASSERT_TRUE(holder.valid());
  UnixSocketInstance later(Options());
  const auto start = Clock::now();
  EXPECT_EQ(later.Offer("/m/a.mkv"), HandOffResult::kFirstInstance);
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

TEST(UnixSocketInstanceFile, TheFirstStartListensInAPrivateFolderAndLeavesNothingBehind) {
  RuntimeFolder runtime;
  {
    UnixSocketInstance first(runtime.Options());
    ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
    ASSERT_GE(first.ListeningFd(), 0);
    struct stat folder {};
    ASSERT_EQ(::stat((runtime.path() / "taviro").c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777U, 0700U);
    EXPECT_TRUE(std::filesystem::is_socket(runtime.SocketFile()));
    // Nothing in the abstract namespace for another user to meet.
    EXPECT_FALSE(RawSocket(RuntimeFolder::Name(), true).valid());

    auto later = std::async(std::launch::async, [&runtime] {
      return UnixSocketInstance(runtime.Options()).Offer("/视频/一.mkv");
    });
    EXPECT_EQ(AcceptWithin(first, milliseconds(2000)), "/视频/一.mkv");
    EXPECT_EQ(later.get(), HandOffResult::kDelivered);
  }
  EXPECT_FALSE(std::filesystem::exists(runtime.SocketFile()));
  ExpectOneFirstOfSixStarts(runtime.Options());
}

TEST(UnixSocketInstanceFile, ASocketNobodyListensOnDoesNotStopTheStart) {
  RuntimeFolder runtime;
  ASSERT_EQ(::mkdir((runtime.path() / "taviro").c_str(), 0700), 0);
  // Left by an instance that was killed, or bound and held without
  // listening.
  const UniqueFd holder = RawSocket(runtime.SocketFile().string(), false, true);
  ASSERT_TRUE(holder.valid());
  UnixSocketInstance first(runtime.Options());
  ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
  ASSERT_GE(first.ListeningFd(), 0);
  auto later = std::async(std::launch::async,
                          [&runtime] { return UnixSocketInstance(runtime.Options()).Offer("/m/a.mkv"); });
  EXPECT_EQ(AcceptWithin(first, milliseconds(2000)), "/m/a.mkv");
  EXPECT_EQ(later.get(), HandOffResult::kDelivered);

  // A killed instance leaves its socket file, and holds nothing: the next
  // start is first.
  RuntimeFolder second;
  Pipe ready;
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    UnixSocketInstance instance(second.Options());
    const char state = instance.Offer("") == HandOffResult::kFirstInstance ? 'F' : 'L';
    if (::write(ready.write_end.get(), &state, 1) < 0) ::_exit(91);
    ::pause();
    ::_exit(0);
  }
  ChildProcess killed(pid);
  ready.write_end.Reset();
  char state = 0;
  ASSERT_EQ(::read(ready.read_end.get(), &state, 1), 1);
  ASSERT_EQ(state, 'F');
  killed.Kill();
  EXPECT_TRUE(std::filesystem::is_socket(second.SocketFile()));
  UnixSocketInstance next(second.Options());
  EXPECT_EQ(next.Offer(""), HandOffResult::kFirstInstance);
  EXPECT_GE(next.ListeningFd(), 0);
}

TEST(UnixSocketInstanceFile, AFolderOthersCanReachIsNotUsed) {
  RuntimeFolder runtime;
  // The runtime folder itself open to others: the abstract form.
  ASSERT_EQ(::chmod(runtime.path().c_str(), 0777), 0);
  {
    UnixSocketInstance first(runtime.Options());
    ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
    EXPECT_FALSE(std::filesystem::exists(runtime.path() / "taviro"));
    EXPECT_TRUE(RawSocket(RuntimeFolder::Name(), true).valid());
  }
  ASSERT_EQ(::chmod(runtime.path().c_str(), 0700), 0);

  // Our own folder left open is closed before use.
  ASSERT_EQ(::mkdir((runtime.path() / "taviro").c_str(), 0777), 0);
  ASSERT_EQ(::chmod((runtime.path() / "taviro").c_str(), 0777), 0);
  {
    UnixSocketInstance first(runtime.Options());
    ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
    struct stat folder {};
    ASSERT_EQ(::stat((runtime.path() / "taviro").c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777U, 0700U);
    EXPECT_TRUE(std::filesystem::is_socket(runtime.SocketFile()));
  }

  // A folder of another user's, and a link in place of the folder.
  if (::getuid() == 0) {
    ASSERT_EQ(::chown((runtime.path() / "taviro").c_str(), 4242, 4242), 0);
    UnixSocketInstance first(runtime.Options());
    ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
    EXPECT_FALSE(std::filesystem::exists(runtime.SocketFile()));
    EXPECT_TRUE(RawSocket(RuntimeFolder::Name(), true).valid());
  }
  std::filesystem::remove_all(runtime.path() / "taviro");
  std::filesystem::create_directory_symlink(runtime.path(), runtime.path() / "taviro");
  UnixSocketInstance first(runtime.Options());
  ASSERT_EQ(first.Offer(""), HandOffResult::kFirstInstance);
  EXPECT_TRUE(RawSocket(RuntimeFolder::Name(), true).valid());
}

TEST(UnixSocketInstance, AnAbstractNameSquattedByAnotherUserDoesNotStopTheStart) {
  if (::getuid() != 0) {
    GTEST_SKIP() << "becoming another user needs root";
  }
  // Another user binds the name and never listens.
  Pipe ready;
  const std::string name = TestSocketName();
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (::setgid(4242) != 0 || ::setuid(4242) != 0) ::_exit(92);
    const UniqueFd squatter = RawSocket(name, false);
    const char state = squatter.valid() ? 'B' : 'N';
    if (::write(ready.write_end.get(), &state, 1) < 0) ::_exit(91);
    ::pause();
    ::_exit(0);
  }
  ChildProcess squatter(pid);
  ready.write_end.Reset();
  char state = 0;
  ASSERT_EQ(::read(ready.read_end.get(), &state, 1), 1);
  ASSERT_EQ(state, 'B');

  UnixSocketInstance start(Options());
  EXPECT_EQ(start.Offer("/home/me/private.mkv"), HandOffResult::kFirstInstance);
  // With a runtime folder the name is not even in the shared namespace.
  RuntimeFolder runtime;
  InstanceSocketOptions options = runtime.Options();
  options.name = name;
  UnixSocketInstance guarded(options);
  EXPECT_EQ(guarded.Offer(""), HandOffResult::kFirstInstance);
  EXPECT_GE(guarded.ListeningFd(), 0);
}

}  // namespace
}  // namespace taviro
