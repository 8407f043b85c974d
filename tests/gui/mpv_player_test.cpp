#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "linux/mpv/decoder_threads.h"
#include "linux/mpv/mpv_probe.h"
#include "mpv_harness.h"
#include "support/temp_folder.h"

namespace taviro::testing {
namespace {

using namespace std::chrono_literals;

// Clips made once for the whole suite: ffmpeg is the slow part.
class MpvPlayerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    gtk_init(nullptr, nullptr);
    media_ = std::make_unique<TempFolder>();
    MakeClip(*media_ / "clip.mp4", 4);
    MakeClip(*media_ / "next.mp4", 2);
    MakeClip(*media_ / "silent.mp4", 4, false);
  }
  static void TearDownTestSuite() { media_.reset(); }

  static std::string Clip(const char* name) { return (*media_ / name).string(); }

  // Any error the player logs fails the test that caused it.
  static void ExpectNoErrors(const PlayerUnderTest& under_test) {
    for (const auto& line : under_test.errors()) {
      ADD_FAILURE() << "player logged: " << line;
    }
  }

  static std::unique_ptr<TempFolder> media_;
};

std::unique_ptr<TempFolder> MpvPlayerTest::media_;

TEST_F(MpvPlayerTest, PlaysALocalFileAndReportsWhatItPlays) {
  PlayerUnderTest under_test;
  auto& player = under_test.player();
  EXPECT_EQ(player.State(), PlayerState::kIdle);
  EXPECT_EQ(player.Url(), "");

  player.SetUrl(Clip("clip.mp4"));
  player.Play();
  EXPECT_EQ(player.State(), PlayerState::kPreparing) << "a local file is being opened";
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying)) << "state " << static_cast<int>(player.State());
  EXPECT_EQ(player.Url(), Clip("clip.mp4"));
  EXPECT_EQ(player.Duration(), 4);
  EXPECT_EQ(player.DownloadProgress(), 1000);
  EXPECT_EQ(player.TransferRate(), 0);

  ASSERT_TRUE(PumpUntil([&] { return player.Position() >= 1; }, 5s)) << "the position did not advance";
  EXPECT_GT(under_test.Frames(), 10u) << "frames were not drawn";
  EXPECT_TRUE(PumpUntil([&] { return player.SecondRate() > 0; }, 3s)) << "no stream rate";
  ExpectNoErrors(under_test);
}

TEST_F(MpvPlayerTest, PausesSeeksAndKeepsVolumeAndMute) {
  PlayerUnderTest under_test;
  auto& player = under_test.player();
  player.SetUrl(Clip("clip.mp4"));
  player.Play();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying));

  player.Pause();
  EXPECT_EQ(player.State(), PlayerState::kPaused);
  // The player's own word that its clock has stopped, then whatever it
  // reported before that.
  ASSERT_TRUE(PumpUntil([&] { return player.PropertyText("core-idle") == "yes"; }, 5s));
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_EQ(player.State(), PlayerState::kPaused) << "the pause did not hold";
  const std::uint64_t frames = under_test.Frames();

  player.SetPosition(2);
  EXPECT_EQ(player.Position(), 2);
  // The picture at the new place is drawn once the seek is done.
  ASSERT_TRUE(
      PumpUntil([&] { return under_test.Frames() > frames && player.PropertyText("seeking") == "no"; }, 5s))
      << "the new picture was not drawn";
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_EQ(player.Position(), 2);
  EXPECT_NEAR(std::stod(player.PropertyText("time-pos")), 2.0, 0.1) << "the seek is not exact";
  EXPECT_EQ(player.State(), PlayerState::kPaused) << "seeking while paused keeps the pause";

  player.SetVolume(30);
  EXPECT_EQ(player.Volume(), 30);
  player.SetVolume(250);
  EXPECT_EQ(player.Volume(), 100);
  player.SetVolume(30);
  player.SetMuted(true);
  EXPECT_TRUE(player.Muted());
  // What the player reports back of the requests must not undo them.
  EXPECT_TRUE(PumpUntil([&] { return player.PropertyText("mute") == "yes"; }, 5s));
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_EQ(player.Volume(), 30);
  EXPECT_TRUE(player.Muted());
  EXPECT_EQ(player.PropertyText("volume"), "30.000000");
  EXPECT_EQ(player.PropertyText("mute"), "yes");
  player.SetMuted(false);
  EXPECT_TRUE(PumpUntil([&] { return player.PropertyText("mute") == "no"; }, 5s));
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_FALSE(player.Muted());

  player.Play();
  EXPECT_TRUE(under_test.WaitForState(PlayerState::kPlaying));
  ASSERT_TRUE(PumpUntil([&] { return player.Position() >= 3; }, 5s)) << "play did not resume";
  ExpectNoErrors(under_test);
}

TEST_F(MpvPlayerTest, EndsOnTheLastFrameAndPlayStartsAgain) {
  PlayerUnderTest under_test;
  auto& player = under_test.player();
  player.SetUrl(Clip("next.mp4"));
  player.Play();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying));
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kEnded, 10s))
      << "state " << static_cast<int>(player.State());
  EXPECT_EQ(player.Duration(), 2);
  EXPECT_GE(player.Position(), 1) << "the position stays on the last frame";
  EXPECT_EQ(player.DownloadProgress(), 1000);

  player.Play();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying));
  EXPECT_LE(player.Position(), 1) << "play at the end starts from the beginning";
  ExpectNoErrors(under_test);
}

// The window polls once a second; these reports let it show a start or an
// end at once. Each is a change the player made on its own, read back as
// the code it reports.
TEST_F(MpvPlayerTest, ReportsItsOwnStateChangesFromTheMainLoop) {
  PlayerUnderTest under_test;
  auto& player = under_test.player();
  std::vector<PlayerState> reported;
  bool inside_a_call = false;
  player.SetStateChangedHandler([&] {
    EXPECT_FALSE(inside_a_call) << "reported from inside a call on the player";
    reported.push_back(player.State());
  });
  player.SetUrl(Clip("next.mp4"));
  inside_a_call = true;
  player.Play();
  inside_a_call = false;
  ASSERT_TRUE(PumpUntil([&] { return !reported.empty() && reported.back() == PlayerState::kPlaying; }, 15s));
  ASSERT_TRUE(PumpUntil([&] { return reported.back() == PlayerState::kEnded; }, 10s))
      << "the end was not reported";
  for (std::size_t i = 1; i < reported.size(); ++i) {
    EXPECT_NE(reported[i], reported[i - 1]) << "a report without a change";
  }

  inside_a_call = true;
  player.Stop();
  inside_a_call = false;
  EXPECT_TRUE(PumpUntil([&] { return reported.back() == PlayerState::kIdle; }, 5s))
      << "the stop was not reported";
  ExpectNoErrors(under_test);
}

TEST_F(MpvPlayerTest, StopKeepsTheAddressAndPlayOpensItAgain) {
  PlayerUnderTest under_test;
  auto& player = under_test.player();
  player.SetUrl(Clip("clip.mp4"));
  player.Play();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying));
  ASSERT_TRUE(PumpUntil([&] { return player.Position() >= 1; }, 5s));

  player.Stop();
  EXPECT_EQ(player.State(), PlayerState::kStopping) << "stopping";
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kIdle, 5s))
      << "state " << static_cast<int>(player.State());
  EXPECT_EQ(player.Url(), Clip("clip.mp4"));
  EXPECT_EQ(player.Position(), 0);
  EXPECT_EQ(player.Duration(), 0);
  EXPECT_EQ(player.DownloadProgress(), 0);

  player.Play();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying));
  EXPECT_LE(player.Position(), 1) << "the item starts from its beginning";
  EXPECT_EQ(player.Duration(), 4);

  player.SetUrl("");
  player.Stop();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kIdle, 5s));
  EXPECT_EQ(player.Url(), "");
  player.Play();
  ASSERT_TRUE(CarriedOut(player));
  EXPECT_EQ(player.State(), PlayerState::kIdle) << "nothing to play";
  ExpectNoErrors(under_test);
}

TEST_F(MpvPlayerTest, AFileThatCannotBeOpenedReadsAsStopped) {
  PlayerUnderTest under_test;
  auto& player = under_test.player();
  player.SetUrl((*media_ / "missing.mp4").string());
  player.Play();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kStopped, 5s))
      << "state " << static_cast<int>(player.State());
  EXPECT_EQ(player.Duration(), 0);
  EXPECT_EQ(player.DownloadProgress(), 0);
  EXPECT_FALSE(under_test.errors().empty()) << "the player says why";

  player.SetUrl(Clip("next.mp4"));
  player.Play();
  EXPECT_TRUE(under_test.WaitForState(PlayerState::kPlaying)) << "a good file plays after a bad one";
}

TEST_F(MpvPlayerTest, SwitchingItemsWhilePlayingFollowsTheNewOne) {
  PlayerUnderTest under_test;
  auto& player = under_test.player();
  player.SetUrl(Clip("clip.mp4"));
  player.Play();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying));
  player.SetPosition(3);

  player.SetUrl(Clip("next.mp4"));
  player.Play();
  EXPECT_EQ(player.State(), PlayerState::kPreparing);
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying));
  EXPECT_EQ(player.Duration(), 2);
  EXPECT_LE(player.Position(), 1);
  ExpectNoErrors(under_test);
}

// The window takes "duration - 2 < position" for the end of an item, so
// nothing of an ended item may show while the next one opens.
TEST_F(MpvPlayerTest, TheNextItemNeverReadsAsTheEndOfTheLast) {
  PlayerUnderTest under_test;
  auto& player = under_test.player();
  player.SetUrl(Clip("next.mp4"));
  player.Play();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kEnded, 10s));

  player.SetUrl(Clip("clip.mp4"));
  player.Play();
  bool looked_ended = false;
  ASSERT_TRUE(PumpUntil(
      [&] {
        const int position = player.Position();
        looked_ended = looked_ended || player.State() == PlayerState::kEnded ||
                       (player.Duration() - 2 < position && position > 0);
        return player.State() == PlayerState::kPlaying && player.Position() >= 1;
      },
      10s));
  EXPECT_FALSE(looked_ended);
  ExpectNoErrors(under_test);
}

TEST_F(MpvPlayerTest, PictureFitAndSoundChannelReachThePlayer) {
  PlayerUnderTest under_test;
  auto& player = under_test.player();
  player.SetUrl(Clip("clip.mp4"));
  player.Play();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying));

  const auto reads = [&](const char* name, const std::string& value) {
    return PumpUntil([&] { return player.PropertyText(name) == value; }, 5s);
  };
  const auto filter_has = [&](const char* part) {
    return PumpUntil([&] { return player.PropertyText("af").find(part) != std::string::npos; }, 5s);
  };
  player.SetPictureFit(PictureFit::kStretch);
  EXPECT_TRUE(reads("keepaspect", "no"));
  player.SetPictureFit(PictureFit::kSixteenNine);
  EXPECT_TRUE(reads("keepaspect", "yes"));
  EXPECT_TRUE(reads("video-aspect-override", "1.777778"));
  player.SetPictureFit(PictureFit::kFiveFour);
  EXPECT_TRUE(reads("video-aspect-override", "1.250000"));
  player.SetPictureFit(PictureFit::kScale);
  EXPECT_TRUE(reads("video-aspect-override", "-1.000000"));

  player.SetSoundChannel(SoundChannel::kLeft);
  EXPECT_TRUE(filter_has("c0=c0")) << player.PropertyText("af");
  player.SetSoundChannel(SoundChannel::kRightOnBoth);
  EXPECT_TRUE(filter_has("c0=c1|c1=c1")) << player.PropertyText("af");
  player.SetSoundChannel(SoundChannel::kMixed);
  EXPECT_TRUE(reads("af", ""));
  EXPECT_EQ(player.State(), PlayerState::kPlaying) << "filters change during play";
  ExpectNoErrors(under_test);
}

TEST_F(MpvPlayerTest, StreamsOverHttpAndPrebuffersTheNextItem) {
  LoopbackFileServer server(media_->path());
  PlayerUnderTest under_test;
  auto& player = under_test.player();
  player.SetUrl(server.Url("clip.mp4"));
  player.Play();
  EXPECT_EQ(player.State(), PlayerState::kConnecting) << "connecting";
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying)) << "state " << static_cast<int>(player.State());
  EXPECT_EQ(player.Duration(), 4);
  EXPECT_TRUE(PumpUntil([&] { return player.DownloadProgress() == 1000; }, 5s))
      << "progress " << player.DownloadProgress();

  player.Prebuffer(server.Url("next.mp4"));
  ASSERT_NE(player.prebuffer_url(), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return server.WasAskedFor("/next.mp4"); }, 5s));
  player.Prebuffer(server.Url("silent.mp4"));
  EXPECT_EQ(*player.prebuffer_url(), server.Url("silent.mp4")) << "a new address replaces the old";
  EXPECT_TRUE(PumpUntil([&] { return server.WasAskedFor("/silent.mp4"); }, 5s));

  player.SetUrl(server.Url("silent.mp4"));
  player.Play();
  EXPECT_EQ(player.prebuffer_url(), nullptr) << "playing the address ends its read-ahead";
  EXPECT_TRUE(under_test.WaitForState(PlayerState::kPlaying));
  ExpectNoErrors(under_test);
}

// Pages and the service choose addresses; none of them may close or read
// one of the program's descriptors, neither named directly nor through a
// playlist, local or served.
TEST_F(MpvPlayerTest, NoAddressOrPlaylistReachesTheProgramsDescriptors) {
  int ends[2] = {-1, -1};
  ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
  const std::string fd = std::to_string(ends[0]);
  TempFolder lists;
  lists.Write("served.m3u", "#EXTM3U\nfdclose://" + fd + "\nfd://" + fd + "\n");
  lists.Write("local.m3u", "#EXTM3U\nfdclose://" + fd + "\n");
  LoopbackFileServer server(lists.path());

  PlayerUnderTest under_test;
  auto& player = under_test.player();
  for (const std::string& address : {"fdclose://" + fd, "fd://" + fd, std::string("av://lavfi:anullsrc")}) {
    player.SetUrl(address);
    player.Play();
    EXPECT_EQ(player.State(), PlayerState::kStopped) << address << " reads as an item that cannot be opened";
  }
  const auto refusals = [&under_test] {
    return std::count_if(under_test.errors().begin(), under_test.errors().end(), [](const std::string& line) {
      return line.find("unsafe URL") != std::string::npos;
    });
  };
  player.SetUrl(server.Url("served.m3u"));
  player.Play();
  EXPECT_TRUE(PumpUntil(
      [&] { return server.WasAskedFor("/served.m3u") && player.State() == PlayerState::kStopped; }, 20s))
      << "a plain playlist from the network is not taken apart: the load ends";
  player.SetUrl((lists / "local.m3u").string());
  player.Play();
  EXPECT_TRUE(PumpUntil([&] { return refusals() >= 1; }, 20s)) << "a local playlist has each entry refused";
  EXPECT_NE(::fcntl(ends[0], F_GETFD), -1) << "a descriptor was closed";
  player.Prebuffer("fdclose://" + fd);
  EXPECT_EQ(player.prebuffer_url(), nullptr);
  EXPECT_TRUE(server.WasAskedFor("/served.m3u"));

  player.SetUrl(Clip("next.mp4"));
  player.Play();
  EXPECT_TRUE(under_test.WaitForState(PlayerState::kPlaying)) << "a good file plays after refused ones";
  EXPECT_NE(::fcntl(ends[0], F_GETFD), -1);
  ::close(ends[0]);
  ::close(ends[1]);
}

TEST_F(MpvPlayerTest, AnAdvertAddressLoadsNothing) {
  PlayerUnderTest under_test;
  under_test.player().SetAdvertUrl("http://127.0.0.1:9/js/ads/qvodad.html");
  EXPECT_EQ(under_test.player().Url(), "");
  EXPECT_EQ(under_test.player().State(), PlayerState::kIdle);
}

// On this machine the library is installed and works.
TEST(DecoderThreadsTest, OneThreadUpTo1080pAt30AndFrameThreadsAboveOrWhenUnknown) {
  using mpv::DecoderThreadsFor;
  EXPECT_EQ(DecoderThreadsFor({1920, 1080, 30}), 1);
  EXPECT_EQ(DecoderThreadsFor({1920, 1080, 29.97}), 1);
  EXPECT_EQ(DecoderThreadsFor({1280, 720, 60}), 1);
  EXPECT_EQ(DecoderThreadsFor({1920, 1080, 0}), 1) << "no rate given reads as 30";
  EXPECT_EQ(DecoderThreadsFor({1920, 1080, 60}), 0);
  EXPECT_EQ(DecoderThreadsFor({3840, 2160, 24}), 0);
  EXPECT_EQ(DecoderThreadsFor({0, 0, 30}), 0) << "a size not known yet";
}

TEST(MpvProbeTest, FindsTheLibraryItWasLoadedFromAndMakesAPlayer) {
  mpv::MpvProbe probe;
  EXPECT_TRUE(probe.LibraryPresent());
  EXPECT_TRUE(probe.CanCreatePlayer());
}

}  // namespace
}  // namespace taviro::testing
