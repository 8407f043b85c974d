#pragma once

#include "lists/media_lists.h"
#include "playback/now_playing.h"
#include "playback/playback_context.h"
#include "support/fake_process_table.h"
#include "support/fake_program_launcher.h"
#include "support/fake_text_fetcher.h"
#include "support/main_window_harness.h"
#include "support/manual_scheduler.h"
#include "support/recording_list_views.h"
#include "util/timer.h"

namespace taviro::testing {

// A main window harness plus everything playback handlers work on: the item
// playing, the lists in the harness's folder (which is also the application
// folder), the service, the process table and the window's timers at their
// start-up state, all fakes.
struct PlaybackHarness {
  static constexpr const char* kSentinel = "http://127.0.0.1:18089/taviro-end/";

  MainWindowHarness main;
  NowPlaying now;
  RecordingListViews list_views;
  MediaLists lists{main.folder.path(), list_views};
  // The service answers each episode question at once unless a test holds it.
  FakeTextFetcher http = [] {
    FakeTextFetcher fetcher;
    fetcher.answer_at_once = true;
    return fetcher;
  }();
  FakeProcessTable processes;
  FakeProgramLauncher launcher{&main.log};
  ManualScheduler scheduler;
  Timer timer1{scheduler, 1000, true, {}};
  Timer timer2{scheduler, 2000, false, {}};
  Timer timer4{scheduler, 50000, false, {}};
  PlaybackContext context{main.window,
                          now,
                          lists,
                          http,
                          processes,
                          launcher,
                          {timer1, timer2, timer4},
                          main.folder.path() / "",
                          (main.folder.path() / "Qvod").string() + "/",
                          kSentinel};

  MainWindow& window() { return main.window; }
  FakeWebView& web(int number) { return main.web[number]; }
  std::string Base() const { return MainWindowHarness::kBaseUrl; }
};

}  // namespace taviro::testing
