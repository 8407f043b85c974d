#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "lists/media_lists.h"
#include "playback/list_commands.h"
#include "playback/playback_context.h"
#include "ports/process_table.h"
#include "ports/program_launcher.h"
#include "ports/uri_launcher.h"
#include "support/fake_text_fetcher.h"
#include "support/main_window_harness.h"
#include "support/manual_scheduler.h"
#include "ui/web_list_views.h"
#include "util/ansi_text.h"
#include "util/file_uri.h"
#include "util/timer.h"
#include "window/tab_selection.h"

namespace taviro::testing {

class FakeProcesses final : public ProcessTable {
 public:
  std::vector<ProcessEntry> List() override { return running; }
  bool Terminate(std::int32_t /*id*/) override { return false; }
  std::vector<ProcessEntry> running;
};

// Records programs started and addresses handed to the desktop.
class RecordingLaunchers final : public ProgramLauncher, public UriLauncher {
 public:
  explicit RecordingLaunchers(CallLog* log) : log_(log) {}
  bool Start(const std::string& program, const std::vector<std::string>& arguments) override {
    started.push_back(program);
    AddTo(log_, "Start(" + program + (arguments.empty() ? ")" : " ...)"));
    return true;
  }
  void Open(const std::string& uri) override {
    opened.push_back(uri);
    AddTo(log_, "Open(" + uri + ")");
  }
  std::vector<std::string> started;
  std::vector<std::string> opened;

 private:
  CallLog* log_;
};

// The list commands over a main window of fakes, real list files in the
// harness's folder (the application folder), and Web3 and Web4 wired as the
// program wires them. The network-task list is shown at the start.
class ListCommandsTest : public ::testing::Test {
 protected:
  ListCommandsTest() {
    for (int view : {3, 4}) h.web[view].dispatch_navigations = true;
    h.web[3].handlers.before_navigate = [this](const std::string& uri) {
      return commands.Web3BeforeNavigate(uri);
    };
    h.web[4].handlers.before_navigate = [this](const std::string& uri) {
      return commands.Web4BeforeNavigate(uri);
    };
    WriteUtf8("date.dat", "\r\n");
    WriteUtf8("date_f.dat", "\r\n");
  }

  // List files hold GB18030; tests speak UTF-8.
  void WriteUtf8(std::string_view name, std::string_view text) const {
    h.folder.Write(name, EncodeAnsi(text));
  }
  std::string ReadUtf8(std::string_view name) const { return DecodeAnsi(h.folder.Read(name)); }
  std::string PageUri(std::string_view page) const { return FileUri(h.folder / page); }
  void ShowLocalList() { SelectSideTab(h.window, SideTab::kLocalFiles, false); }
  // The engine's view of a link clicked in a list page: true when cancelled.
  bool ClickLink(int view, const std::string& uri) { return h.web[view].handlers.before_navigate(uri); }

  MainWindowHarness h;
  NowPlaying now;
  WebListViews list_views{h.web};
  MediaLists lists{h.folder.path(), list_views};
  testing::FakeTextFetcher http;  // never answers: nothing here asks the service
  FakeProcesses processes;
  RecordingLaunchers launchers{&h.log};
  ManualScheduler scheduler;
  Timer timer1{scheduler, 1000, false, [] {}};
  Timer timer2{scheduler, 2000, false, [] {}};
  Timer timer4{scheduler, 50000, false, [] {}};
  PlaybackContext context{h.window,
                          now,
                          lists,
                          http,
                          processes,
                          launchers,
                          {timer1, timer2, timer4},
                          h.folder / "",
                          (h.folder / "Qvod").string() + "/",
                          "http://127.0.0.1:18089/end/"};
  ListCommands commands{context, launchers};
};

}  // namespace taviro::testing
