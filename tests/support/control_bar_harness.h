#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lists/media_lists.h"
#include "playback/control_bar.h"
#include "playback/playback_context.h"
#include "ports/file_dialog.h"
#include "ports/process_table.h"
#include "ports/program_launcher.h"
#include "ports/text_fetcher.h"
#include "support/main_window_harness.h"
#include "support/manual_scheduler.h"
#include "support/recording_list_views.h"
#include "window/bo_but_buttons.h"

namespace taviro::testing {

// Answers with `answer` and remembers what it was asked.
class FakeFileDialog : public FileDialog {
 public:
  struct Request {
    std::string title;
    std::string filter;
  };
  std::optional<std::string> ChooseMediaFile(const std::string& title, const std::string& filter) override {
    requests.push_back({title, filter});
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<Request> requests;
};

// Services the control bar never uses; each call is a test failure waiting
// to be noticed in `unexpected`.
struct UnusedServices : TextFetcher, ProcessTable, ProgramLauncher {
  void Fetch(const std::string& /*url*/, std::function<void(const std::string&)> /*done*/) override {
    ++unexpected;
  }
  std::vector<ProcessEntry> List() override {
    ++unexpected;
    return {};
  }
  bool Terminate(std::int32_t /*id*/) override {
    ++unexpected;
    return false;
  }
  bool Start(const std::string& /*program*/, const std::vector<std::string>& /*arguments*/) override {
    ++unexpected;
    return false;
  }
  int unexpected = 0;
};

// The main window harness with the playback state around it: the item
// playing, both list files in the window's temporary folder, the window's
// timers on a hand-driven clock, and the real control bar answering the
// window's button presses. Buttons start with their normal faces.
struct ControlBarHarness {
  ControlBarHarness();
  // A seek track with 600 pixels of travel and a volume track with 70, an
  // item of 50 minutes loaded in the player.
  void LoadItemWithBars();

  MainWindowHarness h;
  MainWindow& window = h.window;
  WindowModel& model = h.window.model;
  FakePlayerControl& player = h.player;
  RecordingListViews views;
  MediaLists lists{h.folder.path(), views};
  NowPlaying now;
  ManualScheduler scheduler;
  int timer1_ticks = 0;
  Timer timer1{scheduler, 1000, true, [this] { ++timer1_ticks; }};
  Timer timer2{scheduler, 2000, false, {}};
  Timer timer4{scheduler, 50000, false, {}};
  UnusedServices services;
  PlaybackContext context{h.window,
                          now,
                          lists,
                          services,
                          services,
                          services,
                          PlaybackTimers{timer1, timer2, timer4},
                          h.folder.path() / "",
                          (h.folder.path() / "Qvod").string() + "/",
                          "http://127.0.0.1:9/end/"};
  FakeFileDialog files;
  std::vector<int> steps;           // directions the episode hook was given
  std::vector<bool> enabled_while;  // the pressed button's state meanwhile
  ControlBar bar{context, files, [this](int direction) {
                   steps.push_back(direction);
                   enabled_while.push_back(model[BoBut(direction == 1 ? 5 : 7)].enabled);
                 }};
};

// What differs between two window models: region names and state fields,
// empty when nothing does.
std::string ModelChanges(const WindowModel& before, const WindowModel& after);

}  // namespace taviro::testing
