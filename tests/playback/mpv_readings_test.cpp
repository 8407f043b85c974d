#include <gtest/gtest.h>

#include <limits>

#include "playback/playback_readings.h"

namespace taviro::mpv {
namespace {

PlaybackReadings Playing() {
  PlaybackReadings readings;
  readings.idle_active = false;
  readings.core_idle = false;
  readings.time_pos = 12.9;
  readings.duration = 1800.6;
  return readings;
}

TEST(MpvStateCode, PhasesTheFlagsCannotTellApart) {
  const PlaybackReadings idle;
  EXPECT_EQ(StateCode(idle, LoadPhase::kNothing, false), PlayerState::kIdle);
  EXPECT_EQ(StateCode(idle, LoadPhase::kOpening, false), PlayerState::kPreparing);
  EXPECT_EQ(StateCode(idle, LoadPhase::kOpening, true), PlayerState::kConnecting);
  EXPECT_EQ(StateCode(idle, LoadPhase::kFailed, true), PlayerState::kStopped);
  EXPECT_EQ(StateCode(Playing(), LoadPhase::kStopping, true), PlayerState::kStopping)
      << "stale readings while stopping";
  EXPECT_EQ(StateCode(Playing(), LoadPhase::kEnded, false), PlayerState::kEnded);
}

TEST(MpvStateCode, TheEndOutranksPauseAndPauseOutranksBuffering) {
  PlaybackReadings readings = Playing();
  EXPECT_EQ(StateCode(readings, LoadPhase::kLoaded, true), PlayerState::kPlaying);
  readings.paused_for_cache = true;
  EXPECT_EQ(StateCode(readings, LoadPhase::kLoaded, true), PlayerState::kBuffering);
  readings.pause = true;
  EXPECT_EQ(StateCode(readings, LoadPhase::kLoaded, true), PlayerState::kPaused)
      << "a paused item waiting for data is paused";
  readings.eof_reached = true;
  EXPECT_EQ(StateCode(readings, LoadPhase::kLoaded, true), PlayerState::kEnded)
      << "the player pauses itself at the end";

  readings = Playing();
  readings.seeking = true;
  EXPECT_EQ(StateCode(readings, LoadPhase::kLoaded, false), PlayerState::kBuffering);
  readings = Playing();
  readings.core_idle = true;
  EXPECT_EQ(StateCode(readings, LoadPhase::kLoaded, false), PlayerState::kBuffering);
  readings.idle_active = true;
  EXPECT_EQ(StateCode(readings, LoadPhase::kLoaded, false), PlayerState::kIdle);
}

TEST(MpvReadings, WholeSecondsAndSixteenBitRates) {
  PlaybackReadings readings = Playing();
  EXPECT_EQ(PositionSeconds(readings), 12) << "the position counts whole seconds played";
  EXPECT_EQ(DurationSeconds(readings), 1801) << "the duration is rounded";
  readings.time_pos = -0.04;
  readings.duration.reset();
  EXPECT_EQ(PositionSeconds(readings), 0);
  EXPECT_EQ(DurationSeconds(readings), 0) << "unknown until the player knows it";
  // Time stamps of 2^31 s and beyond, even infinite ones, stay in range.
  for (const double huge : {2147483648.0, 1e19, std::numeric_limits<double>::infinity()}) {
    readings.time_pos = huge;
    readings.duration = huge;
    EXPECT_EQ(PositionSeconds(readings), 1'000'000'000) << huge;
    EXPECT_EQ(DurationSeconds(readings), 1'000'000'000) << huge;
  }
  readings.time_pos = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(PositionSeconds(readings), 0);

  readings.cache_speed = 61440;
  EXPECT_EQ(TransferRateKb(readings), 60);
  readings.cache_speed = std::int64_t{1} << 40;
  EXPECT_EQ(TransferRateKb(readings), 32767);
  readings.video_bitrate = 1'200'000;
  readings.audio_bitrate = 128'000;
  EXPECT_EQ(StreamRateKbit(readings), 1328);
}

TEST(MpvReadings, TheFileAverageStandsInUntilTheVideoRateIsMeasured) {
  PlaybackReadings readings = Playing();
  readings.duration = 20;
  readings.file_size = 2'500'000;
  readings.audio_bitrate = 64'000;
  EXPECT_EQ(StreamRateKbit(readings), 1000) << "audio alone is not the stream's rate";
  readings.video_bitrate = 800'000;
  EXPECT_EQ(StreamRateKbit(readings), 864) << "a measured rate wins";

  readings.video_bitrate = 0;
  readings.duration = 0;
  EXPECT_EQ(StreamRateKbit(readings), 64) << "no average without a duration";
  readings.duration = 20;
  readings.file_size.reset();
  EXPECT_EQ(StreamRateKbit(readings), 64);
}

TEST(MpvReadings, DownloadProgressOfLocalAndNetworkItems) {
  PlaybackReadings readings = Playing();
  readings.duration = 200;
  EXPECT_EQ(DownloadThousandths(readings, LoadPhase::kLoaded, false), 1000) << "a local file is all there";
  EXPECT_EQ(DownloadThousandths(readings, LoadPhase::kOpening, false), 0);
  EXPECT_EQ(DownloadThousandths(readings, LoadPhase::kLoaded, true), 0) << "nothing cached yet";
  readings.cache_end = 120.5;
  EXPECT_EQ(DownloadThousandths(readings, LoadPhase::kLoaded, true), 603);
  readings.cache_end = 260;
  EXPECT_EQ(DownloadThousandths(readings, LoadPhase::kLoaded, true), 1000);
  readings.cache_end = 20;
  readings.cache_eof = true;
  EXPECT_EQ(DownloadThousandths(readings, LoadPhase::kEnded, true), 1000) << "read to its end";
  EXPECT_EQ(DownloadThousandths(readings, LoadPhase::kNothing, true), 0);
}

TEST(MpvReadings, NetworkAddresses) {
  EXPECT_TRUE(IsNetworkAddress("http://127.0.0.1:8080/a.ts"));
  EXPECT_TRUE(IsNetworkAddress("qvod://123|abc|name.rmvb|"));
  EXPECT_TRUE(IsNetworkAddress("rtmp+tls://host/live"));
  EXPECT_FALSE(IsNetworkAddress("/home/me/Media/a.mp4"));
  EXPECT_FALSE(IsNetworkAddress("FILE:///home/me/a.mp4"));
  EXPECT_FALSE(IsNetworkAddress("/home/me/odd name://x.mp4")) << "not a scheme";
  EXPECT_FALSE(IsNetworkAddress("://x"));
  EXPECT_FALSE(IsNetworkAddress(""));
}

}  // namespace
}  // namespace taviro::mpv
