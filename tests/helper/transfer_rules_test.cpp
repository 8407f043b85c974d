#include "helper/transfer_rules.h"

#include <gtest/gtest.h>

#include "helper/byte_ranges.h"

namespace taviro::helper {
namespace {

TEST(ByteRanges, RangesMergeAndTheFirstGapIsFound) {
  ByteRanges ranges;
  ranges.Add(10, 20);
  ranges.Add(30, 40);
  ranges.Add(20, 25);  // touches the first run: merged
  ranges.Add(5, 5);    // empty: ignored
  EXPECT_EQ(ranges.Serialize(), "10-25\n30-40\n");
  EXPECT_EQ(ranges.Covered(), 25);
  EXPECT_EQ(ranges.RunEnd(12), 25);
  EXPECT_EQ(ranges.RunEnd(27), 27);
  EXPECT_FALSE(ranges.Contains(25));
  EXPECT_EQ(ranges.FirstMissing(0, 50), 0);
  EXPECT_EQ(ranges.FirstMissing(10, 50), 25);
  EXPECT_EQ(ranges.FirstMissing(30, 40), std::nullopt);
  ranges.Add(0, 45);  // swallows both
  EXPECT_EQ(ranges.Serialize(), "0-45\n");
  EXPECT_EQ(ranges.FirstMissing(0, 45), std::nullopt);
  EXPECT_EQ(ranges.FirstMissing(0, 46), 45);
}

TEST(ByteRanges, AStoredListIsReadBackClippedAndDamageCostsOnlyItsLines) {
  const ByteRanges ranges = ByteRanges::Parse("size 100\n0-10\ngarbage\n-5-7\n20-30\r\n90-200\n", 100);
  EXPECT_EQ(ranges.Serialize(), "0-10\n20-30\n90-100\n");
}

TEST(TransferRules, TheTransferFollowsTheReaderAndThenFillsTheGaps) {
  ByteRanges present;
  present.Add(0, 100);
  present.Add(500, 600);
  EXPECT_EQ(NextFetchStart(present, 1000, 50), 100);
  EXPECT_EQ(NextFetchStart(present, 1000, 550), 600);
  present.Add(600, 1000);
  EXPECT_EQ(NextFetchStart(present, 1000, 700), 100);  // nothing left ahead: back to the gap
  present.Add(100, 500);
  EXPECT_EQ(NextFetchStart(present, 1000, 0), std::nullopt);

  EXPECT_FALSE(ShouldMoveTransfer(1000, 1000 + 4096));  // arrives soon anyway
  EXPECT_TRUE(ShouldMoveTransfer(1000, 1000 + 8 * 1024 * 1024));
  EXPECT_TRUE(ShouldMoveTransfer(1000, 10));  // behind the transfer: never reached
}

TEST(TransferRules, RetriesBackOffAndGiveUpAfterTheBoundUnlessBytesArrive) {
  RetryPolicy retry;
  std::vector<long> delays;
  while (auto delay = retry.NextDelay()) delays.push_back(static_cast<long>(delay->count()));
  std::vector<long> wanted{500, 1000};
  wanted.resize(RetryPolicy::kMaxAttempts, 2000);
  EXPECT_EQ(delays, wanted);
  retry.Progressed();
  EXPECT_EQ(retry.NextDelay()->count(), 500);
}

TEST(TransferRules, RateAndShareAreWhatTheLastSecondsAndTheFileSay) {
  using std::chrono::milliseconds;
  const auto start = std::chrono::steady_clock::time_point{};
  RateMeter meter(milliseconds(2000));
  meter.Count(100'000, start);
  meter.Count(100'000, start + milliseconds(1000));
  EXPECT_EQ(meter.BytesPerSecond(start + milliseconds(1500)), 100'000);
  EXPECT_EQ(meter.BytesPerSecond(start + milliseconds(2500)), 50'000);
  EXPECT_EQ(meter.BytesPerSecond(start + milliseconds(9000)), 0);

  EXPECT_EQ(Thousandths(0, 0), 0);  // size not known yet
  EXPECT_EQ(Thousandths(601, 1000), 601);
  EXPECT_EQ(Thousandths(999'999, 1'000'000), 999);  // 1000 only when whole
  EXPECT_EQ(Thousandths(5, 5), 1000);
  // A declared size of petabytes: covered * 1000 no longer fits 64 bits.
  constexpr std::int64_t kHuge = 9'300'000'000'000'000;
  EXPECT_EQ(Thousandths(kHuge / 2, kHuge), 500);
  EXPECT_EQ(Thousandths(kHuge - 1, kHuge), 999);
  EXPECT_EQ(Thousandths(INT64_MAX, INT64_MAX), 1000);
}

TEST(TransferRules, QvodLinksComeFromTheSeedFolderAndOtherSchemesAreRefused) {
  const std::string base = "http://127.0.0.1:8/";
  EXPECT_EQ(SourceAddress("qvod://12|ABC123|a.mp4|", base), "http://127.0.0.1:8/seed/ABC123");
  EXPECT_EQ(SourceAddress("qvod://12|ABC123|a.mp4|", "http://127.0.0.1:8"), "http://127.0.0.1:8/seed/ABC123");
  EXPECT_EQ(SourceAddress("qvod://12|../x|a.mp4|", base), std::nullopt);
  EXPECT_EQ(SourceAddress("qvod://12|ABC|a.mp4|", ""), std::nullopt);
  EXPECT_EQ(SourceAddress("https://h/v.mp4?x=1", base), "https://h/v.mp4?x=1");
  EXPECT_EQ(SourceAddress("file:///etc/passwd", base), std::nullopt);
  EXPECT_EQ(SourceAddress("ftp://h/v.mp4", base), std::nullopt);
}

}  // namespace
}  // namespace taviro::helper
