#include "util/process_helpers.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "util/system_shutdown.h"

namespace taviro {
namespace {

class FakeProcessTable final : public ProcessTable {
 public:
  explicit FakeProcessTable(std::vector<ProcessEntry> entries) : entries_(std::move(entries)) {}

  std::vector<ProcessEntry> List() override { return entries_; }
  bool Terminate(std::int32_t id) override {
    terminated.push_back(id);
    return terminate_succeeds;
  }

  bool terminate_succeeds = true;
  std::vector<std::int32_t> terminated;

 private:
  std::vector<ProcessEntry> entries_;
};

// Listed out of id order on purpose: the table's order decides, not the id.
FakeProcessTable TwoTerminals() {
  return FakeProcessTable(
      {{4, "bash"}, {900, "QvodTerminal.exe"}, {31, "QvodTerminal.exe"}, {77, "QvodPlayer.exe"}});
}

TEST(FindProcessId, ReturnsTheFirstListedMatch) {
  FakeProcessTable table = TwoTerminals();
  EXPECT_EQ(FindProcessId(table, "QvodTerminal.exe"), 900);
  EXPECT_EQ(FindProcessId(table, "QvodPlayer.exe"), 77);
  EXPECT_TRUE(table.terminated.empty());
}

TEST(FindProcessId, MatchesASubstringOfTheExecutableNameCaseSensitively) {
  FakeProcessTable table({{10, "qvodterminal.exe"}, {11, "OldQvodTerminal.exe.bak"}, {12, "Terminal.exe"}});
  EXPECT_EQ(FindProcessId(table, "QvodTerminal.exe"), 11);
  EXPECT_EQ(FindProcessId(table, "Terminal"), 11);
  EXPECT_EQ(FindProcessId(table, "QVODTERMINAL.EXE"), 0);
  // The name must lie inside the executable name, not the other way round.
  EXPECT_EQ(FindProcessId(table, "MyTerminal.exe"), 0);
}

TEST(FindProcessId, NoMatchOrEmptyNameGivesZero) {
  FakeProcessTable table = TwoTerminals();
  EXPECT_EQ(FindProcessId(table, "QvodPlayer.exe2"), 0);
  EXPECT_EQ(FindProcessId(table, ""), 0);
  FakeProcessTable empty({});
  EXPECT_EQ(FindProcessId(empty, "QvodTerminal.exe"), 0);
}

TEST(KillProcessByName, EndsEveryProcessOfExactlyThatNameAndNoOther) {
  FakeProcessTable table = TwoTerminals();
  KillProcessByName(table, "QvodTerminal.exe");
  EXPECT_EQ(table.terminated, (std::vector<std::int32_t>{900, 31}));

  FakeProcessTable near({{10, "qvodterminal.exe"}, {11, "OldQvodTerminal.exe.bak"}, {12, "QvodTerminal"}});
  KillProcessByName(near, "QvodTerminal.exe");
  KillProcessByName(near, "Terminal");
  EXPECT_TRUE(near.terminated.empty());
}

// Another copy of the program runs a helper of the same name from its own
// folder; only the one started from the folder asked for is ours.
TEST(KillProgram, EndsOnlyTheProcessesRunFromThatFile) {
  FakeProcessTable table({{3, "QvodTerminal.exe", "/opt/a/Qvod/QvodTerminal.exe"},
                          {4, "QvodTerminal.exe", "/opt/b/Qvod/QvodTerminal.exe"},
                          {5, "QvodTerminal.exe", ""},  // path unreadable: never ours
                          {6, "QvodTerminal.exe.bak", "/opt/a/Qvod/QvodTerminal.exe.bak"},
                          {7, "QvodTerminal.exe", "/opt/a/Qvod/QvodTerminal.exe"}});
  EXPECT_TRUE(IsProgramRunning(table, "/opt/a/Qvod/./QvodTerminal.exe"));
  EXPECT_FALSE(IsProgramRunning(table, "/opt/c/Qvod/QvodTerminal.exe"));
  EXPECT_FALSE(IsProgramRunning(table, "QvodTerminal.exe"));  // a bare name is no program file
  EXPECT_FALSE(IsProgramRunning(table, ""));
  KillProgram(table, "/opt/a/Qvod/QvodTerminal.exe");
  EXPECT_EQ(table.terminated, (std::vector<std::int32_t>{3, 7}));
}

TEST(KillProcessByName, WithoutAMatchEndsNothing) {
  FakeProcessTable table = TwoTerminals();
  KillProcessByName(table, "QvodPlayer.exe.not");
  KillProcessByName(table, "");
  EXPECT_TRUE(table.terminated.empty());
}

TEST(KillProcessByName, IgnoresAProcessThatRefusesToEnd) {
  FakeProcessTable table = TwoTerminals();
  table.terminate_succeeds = false;
  KillProcessByName(table, "QvodPlayer.exe");
  EXPECT_EQ(table.terminated, (std::vector<std::int32_t>{77}));
  EXPECT_FALSE(TerminateProcessById(table, 77));
  table.terminate_succeeds = true;
  EXPECT_TRUE(TerminateProcessById(table, 4));
}

class RecordingShutdown final : public ShutdownBackend {
 public:
  bool PowerOff(bool force) override {
    requests.push_back(force);
    return true;
  }
  std::vector<bool> requests;
};

TEST(ShutDownSystem, AnyNonZeroFlagForcesThePowerOff) {
  RecordingShutdown backend;
  ShutDownSystem(backend, 1);
  ShutDownSystem(backend, 0);
  ShutDownSystem(backend, -1);  // a script-style true
  EXPECT_EQ(backend.requests, (std::vector<bool>{true, false, true}));
}

}  // namespace
}  // namespace taviro
