#include "playback/download_helper_client.h"

#include <gtest/gtest.h>

#include "support/fake_helper_channel.h"
#include "support/fake_program_launcher.h"

namespace taviro {
namespace {

using Kind = StreamChoice::Kind;
using std::chrono::milliseconds;

const std::string kProgram = "/app/Qvod/QvodTerminal.exe";
const std::string kBase = "http://127.0.0.1:9/";
const std::string kEpisode = "http://127.0.0.1:9/qvod/a.mp4";
const std::string kLink = "qvod://10|AB|a.mp4|";
const std::string kServed = "http://127.0.0.1:4000/item/a.mp4";

class DownloadHelperClientTest : public ::testing::Test {
 protected:
  DownloadHelperClient::TimePoint At(int ms) const { return start + milliseconds(ms); }

  testing::FakeHelperChannel channel;
  testing::FakeProgramLauncher launcher;
  DownloadHelperClient client{channel, launcher, kProgram, kBase};
  const DownloadHelperClient::TimePoint start{};
};

TEST_F(DownloadHelperClientTest, LocalFilesPlayDirectlyAndNetworkItemsThroughTheRunningHelper) {
  channel.answer = [](const std::string&) { return "ok\t" + kServed + "\n"; };
  EXPECT_EQ(client.Open("/home/u/a.mp4", std::nullopt, At(0)).kind, Kind::kDirect);
  EXPECT_EQ(client.Open("file:///home/u/a.mp4", std::nullopt, At(0)).kind, Kind::kDirect);
  EXPECT_TRUE(channel.asked.empty());

  const StreamChoice choice = client.Open(kLink, std::nullopt, At(0));
  EXPECT_EQ(choice.kind, Kind::kHelper);
  EXPECT_EQ(choice.address, kServed);
  EXPECT_EQ(channel.asked, std::vector<std::string>{"play\t" + kLink + "\t" + kBase + "\n"});
  EXPECT_TRUE(launcher.started.empty());

  // The catalogue's name for an item goes with its own requests, on one line.
  client.NameItem(kEpisode, "剧\t第1集");
  client.Prebuffer(kEpisode);
  client.Open(kEpisode, std::nullopt, At(0));
  const std::string titled = kEpisode + "\t" + kBase + "\t剧 第1集\n";
  EXPECT_EQ(channel.asked,
            (std::vector<std::string>{channel.asked[0], "prebuffer\t" + titled, "play\t" + titled}));
}

TEST_F(DownloadHelperClientTest, TheOwnServicesLibraryFilesPlayWhereTheyLieAndNothingElseDoes) {
  const std::string own = kBase + "qvod/library/17.mkv";
  EXPECT_EQ(client.Open(own, std::nullopt, At(0)).address, own);
  EXPECT_EQ(client.Open(own, std::nullopt, At(0)).kind, Kind::kDirect);
  client.Prebuffer(own);
  EXPECT_TRUE(channel.asked.empty());
  EXPECT_TRUE(launcher.started.empty());

  // The same folder of another service, a way out of the folder, or the
  // service's other clips still go through the helper.
  for (const std::string& other :
       {std::string("http://127.0.0.1:10/qvod/library/17.mkv"), kBase + "qvod/library/../a.mp4",
        kBase + "qvod/library/", kEpisode, "http://127.0.0.1:9/x/" + own.substr(kBase.size())}) {
    EXPECT_TRUE(client.Wanted(other)) << other;
  }
  DownloadHelperClient remote{channel, launcher, kProgram, "http://video.example/"};
  EXPECT_TRUE(remote.Wanted("http://video.example/qvod/library/17.mkv"));
}

TEST_F(DownloadHelperClientTest, AMissingHelperIsStartedOnceAndWaitedForUntilTheBound) {
  EXPECT_EQ(client.Open(kEpisode, std::nullopt, At(0)).kind, Kind::kWait);
  EXPECT_EQ(client.Open(kEpisode, At(0), At(100)).kind, Kind::kWait);
  ASSERT_EQ(launcher.started.size(), 1U);
  EXPECT_EQ(launcher.started[0].program, kProgram);
  // Given up on: the episode still plays, straight from the service.
  const StreamChoice late = client.Open(kEpisode, At(0), At(10000));
  EXPECT_EQ(late.kind, Kind::kDirect);
  EXPECT_EQ(late.address, kEpisode);
  EXPECT_EQ(client.Open(kLink, At(0), At(10000)).kind, Kind::kNone);  // a link has no other source

  channel.answer = [](const std::string&) { return "ok\t" + kServed + "\n"; };
  EXPECT_EQ(client.Open(kEpisode, At(0), At(300)).address, kServed);
}

TEST_F(DownloadHelperClientTest, AHelperThatCannotStartOrRefusesLeavesOnlyHttpPlayable) {
  launcher.succeeds = false;
  EXPECT_EQ(client.Open(kEpisode, std::nullopt, At(0)).kind, Kind::kDirect);
  EXPECT_EQ(client.Open(kLink, std::nullopt, At(0)).kind, Kind::kNone);

  channel.answer = [](const std::string&) { return std::string("error\trefused\n"); };
  EXPECT_EQ(client.Open(kEpisode, std::nullopt, At(0)).kind, Kind::kDirect);
  // Only the helper's loopback server is trusted as a source for the player.
  channel.answer = [](const std::string&) { return std::string("ok\tfile:///etc/shadow\n"); };
  EXPECT_EQ(client.Open(kLink, std::nullopt, At(0)).kind, Kind::kNone);
  EXPECT_FALSE(IsLoopbackHttpAddress("http://127.0.0.1.evil:80/x"));
  EXPECT_FALSE(IsLoopbackHttpAddress("http://127.0.0.1:/x"));
  EXPECT_TRUE(IsLoopbackHttpAddress(kServed));
}

TEST_F(DownloadHelperClientTest, ReportsAreReusedWithinAPollAndAGoneHelperReportsNothing) {
  int answers = 0;
  channel.answer = [&answers](const std::string&) {
    ++answers;
    return std::string("ok\t602\t130\n");
  };
  const auto report = client.Report(kEpisode, At(0));
  ASSERT_TRUE(report);
  EXPECT_EQ(report->thousandths, 602);
  EXPECT_EQ(report->rate_kb, 130);
  client.Report(kEpisode, At(400));
  EXPECT_EQ(answers, 1);
  client.Report(kEpisode, At(600));
  EXPECT_EQ(answers, 2);

  channel.answer = nullptr;
  EXPECT_FALSE(client.Report(kEpisode, At(1200)));
  channel.answer = [](const std::string&) { return std::string("error\tnot opened\n"); };
  EXPECT_FALSE(client.Report(kEpisode, At(1800)));  // a restarted helper that lost the item
}

TEST_F(DownloadHelperClientTest, APrebufferThatFindsNoHelperStartsItAndIsSentAtTheNextReport) {
  client.Prebuffer("/home/u/local.mp4");
  EXPECT_TRUE(channel.asked.empty());
  client.Prebuffer(kLink);
  EXPECT_EQ(launcher.started.size(), 1U);
  channel.answer = [](const std::string& line) {
    return std::string(line.starts_with("status") ? "ok\t10\t5\n" : "ok\n");
  };
  client.Report(kEpisode, At(0));
  ASSERT_EQ(channel.asked.size(), 3U);
  EXPECT_EQ(channel.asked[1], "prebuffer\t" + kLink + "\t" + kBase + "\n");
  client.Report(kEpisode, At(1000));
  EXPECT_EQ(channel.asked.size(), 4U);  // sent once only
}

}  // namespace
}  // namespace taviro
