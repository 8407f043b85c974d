#include "linux/system/proc_process_table.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "util/process_helpers.h"

extern char** environ;

namespace taviro {
namespace {

using std::chrono::milliseconds;

// A `sleep` this test started; killed and reaped by its id at the end.
class Child {
 public:
  explicit Child(const std::filesystem::path& program) {
    // argv[0] differs from the file name, so only the exe link gives the name.
    std::string arg0 = "renamed";
    std::string seconds = "120";
    char* argv[] = {arg0.data(), seconds.data(), nullptr};
    if (::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
      pid_ = 0;
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  pid_t pid() const { return pid_; }

  // The wait status once the child has ended, waiting at most `limit`.
  std::optional<int> WaitForEnd(milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!status_) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
      } else if (std::chrono::steady_clock::now() >= deadline) {
        break;
      } else {
        std::this_thread::sleep_for(milliseconds(10));
      }
    }
    return status_;
  }

 private:
  pid_t pid_ = 0;
  std::optional<int> status_;
};

// A copy of sleep under a unique name longer than the 15 bytes of comm.
std::string CopySleep(const testing::TempFolder& folder, std::string name = {}) {
  if (name.empty()) name = "QvodTerminal.exe-" + std::to_string(std::random_device{}());
  std::filesystem::copy_file("/bin/sleep", folder / name);
  std::filesystem::permissions(folder / name, std::filesystem::perms::owner_all);
  return name;
}

TEST(ProcProcessTable, ListsOwnChildrenByExecutableFileNameInPidOrder) {
  testing::TempFolder folder;
  const std::string name = CopySleep(folder);
  Child child(folder / name);
  ASSERT_GT(child.pid(), 0);

  ProcProcessTable table;
  const std::vector<ProcessEntry> entries = table.List();
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(),
                             [](const auto& a, const auto& b) { return a.id < b.id; }));
  const auto mine = std::find_if(entries.begin(), entries.end(),
                                 [&](const auto& entry) { return entry.id == child.pid(); });
  ASSERT_NE(mine, entries.end());
  EXPECT_EQ(mine->executable_name, name);
}

TEST(ProcProcessTable, KillProgramEndsEveryProcessOfThatFileAndNoOther) {
  testing::TempFolder folder;
  const std::string name = CopySleep(folder);
  Child a(folder / name);
  Child b(folder / name);
  Child other(folder / CopySleep(folder, name + "x"));
  ASSERT_GT(a.pid(), 0);
  ASSERT_GT(b.pid(), 0);
  ASSERT_GT(other.pid(), 0);

  ProcProcessTable table;
  KillProgram(table, (folder / name).string());

  for (Child* child : {&a, &b}) {
    const std::optional<int> ended = child->WaitForEnd(milliseconds(5000));
    ASSERT_TRUE(ended.has_value());
    EXPECT_TRUE(WIFSIGNALED(*ended) && WTERMSIG(*ended) == SIGTERM);
  }
  // Its name only begins with the other's: it must survive.
  EXPECT_FALSE(other.WaitForEnd(milliseconds(200)).has_value());
}

TEST(ProcProcessTable, TerminateRefusesItselfAndMissingProcesses) {
  ProcProcessTable table;
  EXPECT_FALSE(table.Terminate(static_cast<std::int32_t>(::getpid())));
  EXPECT_FALSE(table.Terminate(std::numeric_limits<std::int32_t>::max()));
}

// A hand-made /proc: an exe link of a replaced binary, a process whose link
// may not be read (only cmdline), a kernel thread, one that just vanished.
TEST(ProcProcessTable, ReadsNamesFromExeLinkElseArgv0) {
  testing::TempFolder proc;
  for (const char* pid : {"9", "10", "12", "13", "14", "20", "100", "0", "-3", "4x"}) {
    std::filesystem::create_directory(proc / pid);
  }
  std::filesystem::create_symlink("/opt/taviro/Qvod/QvodTerminal.exe (deleted)", proc / "9" / "exe");
  std::filesystem::create_symlink("/usr/bin/bash", proc / "10" / "exe");
  std::filesystem::create_symlink("/usr/bin/bash", proc / "4x" / "exe");
  std::filesystem::create_symlink("/usr/bin/dbus-daemon", proc / "20" / "exe");
  std::filesystem::create_symlink("/srv/a (deleted) b", proc / "100" / "exe");
  std::filesystem::create_directory_symlink("10", proc / "self");
  proc.Write("12/cmdline", std::string_view("./Qvod/QvodPlayer.exe\0--flag\0", 30));
  proc.Write("14/cmdline", "");

  const std::vector<ProcessEntry> entries = ProcProcessTable(proc.path()).List();
  std::string listed;
  for (const ProcessEntry& entry : entries) {
    listed += std::to_string(entry.id) + "=" + entry.executable_name + ";";
  }
  EXPECT_EQ(listed, "9=QvodTerminal.exe;10=bash;12=QvodPlayer.exe;20=dbus-daemon;100=a (deleted) b;");
}

// Another user's process of the same name must not pass for the helper.
TEST(ProcProcessTable, ListsOnlyTheOwnersProcesses) {
  testing::TempFolder folder;
  const std::string name = CopySleep(folder);
  Child child(folder / name);
  ASSERT_GT(child.pid(), 0);
  const auto ids_named = [&name](ProcessTable& table) {
    std::vector<std::int32_t> ids;
    for (const ProcessEntry& entry : table.List()) {
      if (entry.executable_name == name) ids.push_back(entry.id);
    }
    return ids;
  };
  ProcProcessTable mine;
  EXPECT_EQ(ids_named(mine), std::vector<std::int32_t>{child.pid()});
  ProcProcessTable someone_else("/proc", ::getuid() + 1);
  EXPECT_TRUE(ids_named(someone_else).empty());
  for (const ProcessEntry& entry : someone_else.List()) {
    EXPECT_NE(entry.id, static_cast<std::int32_t>(::getpid()));
  }
}

}  // namespace
}  // namespace taviro
