#include "playback/media_controls.h"

#include <gtest/gtest.h>

#include <vector>

#include "ports/player_details.h"
#include "support/control_bar_harness.h"
#include "window/chrome_state.h"
#include "window/window_state.h"

namespace taviro {
namespace {

using R = RegionId;
using P = MediaProperty;

class MediaControlsTest : public ::testing::Test {
 protected:
  // A local file playing in the player, two minutes long.
  void Playing() {
    m.ContentMode = ContentMode::kPlayer;
    m.main_tab = MainTab::kPlayer;
    t.player.url = "/films/a.mp4";
    t.player.state = PlayerState::kPlaying;
    t.player.duration = 120;
    t.player.position = 30;
    SetPlayingShown(m, true);
    m[R::bo_name].caption = "a.mp4";
  }

  testing::ControlBarHarness t;
  WindowModel& m = t.model;
  MediaControls controls{t.context};
};

TEST_F(MediaControlsTest, PlayPauseActsAsButtonZeroAndOnlyWhileThePlayerShows) {
  Playing();
  m.ignore_next_click = true;  // a right press left over must not swallow the command
  controls.PlayPause();
  EXPECT_EQ(t.player.state, PlayerState::kPaused);
  EXPECT_EQ(m[BoBut(0)].tooltip, "播放");
  EXPECT_EQ(m[R::zhun].caption, "已暂停");
  EXPECT_EQ(controls.Current().status, PlaybackStatus::kPaused);

  controls.Pause();  // already paused: nothing
  EXPECT_EQ(t.player.state, PlayerState::kPaused);
  controls.Play();
  EXPECT_EQ(t.player.state, PlayerState::kPlaying);
  EXPECT_EQ(controls.Current().status, PlaybackStatus::kPlaying);
  controls.Play();  // already playing: not a pause
  EXPECT_EQ(t.player.state, PlayerState::kPlaying);

  controls.Stop();
  EXPECT_EQ(t.player.state, PlayerState::kIdle);
  EXPECT_EQ(controls.Current().status, PlaybackStatus::kStopped);

  for (ContentMode mode : {ContentMode::kNothingShown, ContentMode::kWebPlayPage, ContentMode::kTvPage}) {
    Playing();
    m.ContentMode = mode;
    t.h.log.entries.clear();
    controls.PlayPause();
    controls.Pause();
    controls.Stop();
    EXPECT_EQ(t.h.log.entries, std::vector<std::string>{}) << static_cast<int>(mode);
    EXPECT_EQ(controls.Current().status, PlaybackStatus::kStopped) << static_cast<int>(mode);
    EXPECT_FALSE(controls.Current().can_play) << static_cast<int>(mode);
  }
}

TEST_F(MediaControlsTest, NextAndPreviousStepEpisodesOfASeriesOnly) {
  Playing();
  controls.Next();
  controls.Previous();
  EXPECT_TRUE(t.steps.empty());
  EXPECT_FALSE(controls.Current().can_go_next);

  t.now.CurrentItemKey = "12-0-0-%u4E2D";  // first episode: no previous
  EXPECT_TRUE(controls.Current().can_go_next);
  EXPECT_FALSE(controls.Current().can_go_previous);
  controls.Previous();
  controls.Next();
  t.now.CurrentItemKey = "12-0-3-%u4E2D";
  controls.Previous();
  EXPECT_EQ(t.steps, (std::vector<int>{2, 1}));
}

TEST_F(MediaControlsTest, MetadataFollowsTheItemAndTheTitleShown) {
  EXPECT_EQ(controls.Current().track_id, kNoTrack);
  Playing();
  const MediaControlsState first = controls.Current();
  EXPECT_EQ(first.title, "a.mp4");
  EXPECT_EQ(first.length_us, 120'000'000);
  EXPECT_NE(first.track_id, kNoTrack);
  EXPECT_EQ(controls.Current().track_id, first.track_id);  // stable while the item stays
  t.player.url = "/films/b.mp4";
  EXPECT_NE(controls.Current().track_id, first.track_id);
  EXPECT_EQ(controls.PositionUs(), 30'000'000);
}

TEST_F(MediaControlsTest, SeekStaysInsideTheItemAndSetPositionNeedsItsTrack) {
  Playing();
  controls.Seek(15'000'000);
  EXPECT_EQ(t.player.position, 45);
  EXPECT_GT(m[R::gunt1].rect.left, 0);
  controls.Seek(-100'000'000);
  EXPECT_EQ(t.player.position, 0);

  t.now.CurrentItemKey = "12-0-3-%u4E2D";
  t.player.position = 110;
  controls.Seek(20'000'000);  // beyond the end: the next episode
  EXPECT_EQ(t.player.position, 110);
  EXPECT_EQ(t.steps, std::vector<int>{2});

  const std::string track = controls.Current().track_id;
  controls.SetPosition("/org/taviro/track/other", 5'000'000);
  controls.SetPosition(track, 121'000'000);
  controls.SetPosition(track, -1);
  EXPECT_EQ(t.player.position, 110);
  controls.SetPosition(track, 60'500'000);
  EXPECT_EQ(t.player.position, 60);

  t.player.duration = 0;  // a stream of unknown length cannot be sought
  controls.Seek(1'000'000);
  EXPECT_EQ(t.player.position, 60);
}

TEST_F(MediaControlsTest, VolumeIsClampedAndUnmutesFirst) {
  Playing();
  SetMutedShown(m, true);
  t.player.muted = true;
  controls.SetVolume(0.37);
  EXPECT_EQ(t.player.volume, 37);
  EXPECT_FALSE(t.player.muted);
  EXPECT_EQ(m[R::zhun].caption, "音量：37%");
  controls.SetVolume(-2);
  EXPECT_EQ(t.player.volume, 0);
  controls.SetVolume(7);
  EXPECT_EQ(controls.Current().volume, 1.0);
}

TEST_F(MediaControlsTest, RaiseShowsAHiddenOrMinimisedWindow) {
  SetWindowShown(t.window, false);
  controls.Raise();
  EXPECT_TRUE(m.shown);
  SetWindowState(t.window, WindowState::kMinimised);
  controls.Raise();
  EXPECT_EQ(m.state, WindowState::kNormal);
}

TEST_F(MediaControlsTest, PollReportsChangesAndJumpsOnly) {
  EXPECT_TRUE(controls.Poll(0).changed.empty());  // the first state is nobody's news
  Playing();
  MediaControlsUpdate update = controls.Poll(1000);
  EXPECT_EQ(update.changed,
            (std::vector<P>{P::kPlaybackStatus, P::kMetadata, P::kCanPlay, P::kCanPause, P::kCanSeek}));
  EXPECT_FALSE(update.seeked_us);

  // The clock moving on by itself, even a poll late, is no jump.
  t.player.position = 33;
  update = controls.Poll(4000);
  EXPECT_TRUE(update.changed.empty());
  EXPECT_FALSE(update.seeked_us);

  t.player.position = 90;  // the seek bar or a key moved it
  update = controls.Poll(5000);
  ASSERT_TRUE(update.seeked_us);
  EXPECT_EQ(*update.seeked_us, 90'000'000);

  controls.Seek(1'000'000);  // own seeks always tell
  EXPECT_EQ(controls.Poll(5100).seeked_us, 91'000'000);

  controls.PlayPause();
  update = controls.Poll(9000);  // paused: the position must stay put
  EXPECT_EQ(update.changed, std::vector<P>{P::kPlaybackStatus});
  EXPECT_FALSE(update.seeked_us);

  t.player.volume = 80;
  m[R::bo_name].caption = "b.mp4";
  EXPECT_EQ(controls.Poll(9500).changed, (std::vector<P>{P::kMetadata, P::kVolume}));
}

// The player's own clock and the file's tags, as the adapter reads them.
class FakeDetails : public PlayerDetails {
 public:
  std::int64_t PositionUs() override { return position_us; }
  std::int64_t DurationUs() override { return duration_us; }
  TrackTags Tags() override { return tags; }
  std::int64_t position_us = 0;
  std::int64_t duration_us = 0;
  TrackTags tags;
};

TEST_F(MediaControlsTest, AnItemAtItsEndOrStoppedIsNoTrackAndTheDesktopIsTold) {
  Playing();
  controls.Poll(0);
  t.player.state = PlayerState::kEnded;  // the bar still shows "暂停" there
  MediaControlsState state = controls.Current();
  EXPECT_EQ(state.status, PlaybackStatus::kStopped);
  EXPECT_EQ(state.track_id, kNoTrack);
  EXPECT_EQ(state.title, "");
  EXPECT_FALSE(state.can_seek);
  EXPECT_TRUE(state.can_play);
  EXPECT_EQ(controls.PositionUs(), 0);
  EXPECT_EQ(controls.Poll(1000).changed,
            (std::vector<P>{P::kPlaybackStatus, P::kMetadata, P::kCanPause, P::kCanSeek}));

  Playing();
  controls.Poll(2000);
  controls.Stop();
  EXPECT_EQ(controls.Current().track_id, kNoTrack);
  EXPECT_EQ(controls.Poll(3000).changed,
            (std::vector<P>{P::kPlaybackStatus, P::kMetadata, P::kCanPause, P::kCanSeek}));
  for (PlayerState gone : {PlayerState::kStopped, PlayerState::kStopping, PlayerState::kIdle}) {
    Playing();
    t.player.state = gone;
    EXPECT_EQ(controls.Current().status, PlaybackStatus::kStopped) << static_cast<int>(gone);
  }
}

TEST_F(MediaControlsTest, RateZeroPausesAndOtherRatesChangeNothing) {
  Playing();
  controls.SetRate(2.0);
  EXPECT_EQ(t.player.state, PlayerState::kPlaying);
  controls.SetRate(0.0);
  EXPECT_EQ(t.player.state, PlayerState::kPaused);
  EXPECT_EQ(controls.Current().status, PlaybackStatus::kPaused);
}

TEST(MediaControlsDetails, TheFilesTagsAndThePlayersClockWinOverTheBar) {
  testing::ControlBarHarness t;
  FakeDetails details;
  MediaControls controls{t.context, &details};
  t.model.ContentMode = ContentMode::kPlayer;
  t.player.url = "/films/a.mp4";
  t.player.state = PlayerState::kPlaying;
  t.player.duration = 120;
  t.player.position = 30;
  t.model[R::bo_name].caption = "a.mp4";
  details.position_us = 30'250'000;
  details.duration_us = 120'480'000;
  EXPECT_EQ(controls.Current().title, "a.mp4");  // no tag: the name the bar shows
  EXPECT_EQ(controls.Current().artist, "");
  details.tags = {"Song of the Sea", "Ensemble"};
  const MediaControlsState state = controls.Current();
  EXPECT_EQ(state.title, "Song of the Sea");
  EXPECT_EQ(state.artist, "Ensemble");
  EXPECT_EQ(state.length_us, 120'480'000);
  EXPECT_EQ(controls.PositionUs(), 30'250'000);
  t.player.state = PlayerState::kEnded;
  EXPECT_EQ(controls.PositionUs(), 0);
}

}  // namespace
}  // namespace taviro
