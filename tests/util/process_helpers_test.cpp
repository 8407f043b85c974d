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
  table.terminate_succeeds = false;  // the first refuses: the second is ended all the same
  KillProgram(table, "/opt/a/Qvod/QvodTerminal.exe");
  EXPECT_EQ(table.terminated, (std::vector<std::int32_t>{3, 7}));
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
