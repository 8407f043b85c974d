#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists/media_lists.h"
#include "playback/episode_resolver.h"
#include "playback/playback_context.h"
#include "playback/status_poller.h"
#include "support/fake_text_fetcher.h"
#include "support/fixed_clock.h"
#include "support/inert_process_ports.h"
#include "support/main_window_harness.h"
#include "support/manual_scheduler.h"
#include "support/recording_list_views.h"
#include "support/recording_shutdown_backend.h"
#include "util/timer.h"

namespace taviro::testing {

// The window with its playback timers on a manual clock, the lists in the
// window's temporary folder, a canned service and a recording power switch.
// Balloons and next-episode preparation start switched on.
class PollerFixture : public ::testing::Test {
 protected:
  static constexpr const char* kSentinel = "http://127.0.0.1:18089/taviro-end/";

  PollerFixture() {
    timer1.SetHandler([this] { poller.Tick(); });
    timer2.SetHandler([this] { poller.HandleEndOfPlay(); });
    timer4.SetHandler([this] { resolver.RetryNextEpisode(); });
    Balloons(true);
    harness.SetSetting("S_q", "s_h", "2");
    Model()[RegionId::gunt].rect.width = 500;
    Model()[RegionId::gunt1].rect.width = 10;
    player().url = "http://127.0.0.1:18080/media/a.ts";
  }

  void Tick(int count = 1) { scheduler.Advance(1000LL * count); }
  void Balloons(bool on) const { harness.SetSetting("S_q", "s_pao", on ? "2" : "1"); }
  // The player's next reading.
  void Reading(PlayerState state, int position, int duration, int progress = 0) {
    player().state = state;
    player().position = position;
    player().duration = duration;
    player().download_progress = progress;
  }
  std::vector<std::string> BalloonTexts() const {
    std::vector<std::string> texts;
    for (const auto& balloon : harness.tray.balloons) texts.push_back(balloon.text);
    return texts;
  }
  WindowModel& Model() { return harness.window.model; }
  Rect& Box(RegionId id) { return Model()[id].rect; }
  // Which of the video area's covers and panels are visible.
  std::vector<std::string> Shown() {
    std::vector<std::string> names;
    for (RegionId id :
         {RegionId::Qvodx, RegionId::bo_ad, RegionId::ad_huan, RegionId::bo_pad, RegionId::next_s}) {
      if (Model()[id].visible) names.emplace_back(RegionName(id));
    }
    return names;
  }
  const std::string& Caption(RegionId id) { return Model()[id].caption; }
  FakePlayerControl& player() { return harness.player; }
  FakeWebView& web(int number) { return harness.web[number]; }

  MainWindowHarness harness;
  ManualScheduler scheduler;
  Timer timer1{scheduler, 1000, true, {}};
  Timer timer2{scheduler, 2000, false, {}};
  Timer timer4{scheduler, 50000, false, {}};
  NowPlaying now;
  RecordingListViews views;
  MediaLists lists{harness.folder.path(), views};
  // The service answers each question at once unless a test holds it.
  FakeTextFetcher http = [] {
    FakeTextFetcher fetcher;
    fetcher.answer_at_once = true;
    return fetcher;
  }();
  NoProcesses processes;
  NoLauncher launcher;
  PlaybackContext context{harness.window,
                          now,
                          lists,
                          http,
                          processes,
                          launcher,
                          PlaybackTimers{timer1, timer2, timer4},
                          harness.folder.path(),
                          (harness.folder.path() / "Qvod").string() + "/",
                          kSentinel};
  EpisodeResolver resolver{context};
  RecordingShutdownBackend shutdown;
  FixedClock clock;
  StatusPoller poller{context, resolver, shutdown, clock};
};

}  // namespace taviro::testing
