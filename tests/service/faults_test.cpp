#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "service/running_service.h"
#include "util/ansi_text.h"

namespace taviro::demo::testing {
namespace {

class FaultsTest : public ::testing::Test {
 protected:
  void Arm(const std::string& query) {
    const httplib::Result result = service_.Get("/__fault?" + query);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->status, 200) << query << ": " << result->body;
  }

  std::string Record() { return "%u7B2C01%u96C6$" + service_.BaseUrl() + "qvod/sample-a.mp4$qvod"; }

  RunningService service_;
  static constexpr const char* kEpisode = "/h.asp?id=102&v=0&v1=0";
};

TEST_F(FaultsTest, ReplyFaultsReplaceTheBody) {
  const std::vector<std::pair<std::string, std::string>> cases = {{"empty", ""}, {"one", "1"}, {"zero", "0"}};
  for (const auto& [mode, body] : cases) {
    Arm("path=/h.asp&mode=" + mode);
    const httplib::Result result = service_.Get(kEpisode);
    ASSERT_TRUE(result) << mode;
    EXPECT_EQ(result->status, 200) << mode;
    EXPECT_EQ(result->body, body) << mode;
  }
}

TEST_F(FaultsTest, GarbageIsAScriptErrorPageWithoutRecordSeparator) {
  Arm("path=/h.asp&mode=garbage");
  const httplib::Result result = service_.Get(kEpisode);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->body.find('$'), std::string::npos);
  EXPECT_NE(DecodeAnsi(result->body).find("类型不匹配"), std::string::npos);
}

TEST_F(FaultsTest, ServerErrorAndDroppedConnection) {
  Arm("path=/h.asp&mode=http500");
  const httplib::Result failed = service_.Get(kEpisode);
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->status, 500);
  EXPECT_EQ(failed->body.find('$'), std::string::npos);

  Arm("path=/h.asp&mode=close");
  const httplib::Result dropped = service_.Get(kEpisode);
  EXPECT_FALSE(dropped) << "got status " << dropped->status;
  // The service itself carries on.
  EXPECT_TRUE(service_.Get("/"));
}

TEST_F(FaultsTest, DelayAnswersNormallyAfterThePause) {
  Arm("path=/h.asp&mode=delay&ms=400");
  const auto start = std::chrono::steady_clock::now();
  const httplib::Result result = service_.Get(kEpisode);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(result);
  EXPECT_EQ(result->body, Record());
  EXPECT_GE(elapsed, std::chrono::milliseconds(400));
}

TEST_F(FaultsTest, DripSendsTheNormalReplyAFewBytesAtATime) {
  Arm("path=/h.asp&mode=drip&ms=50");
  const std::size_t pauses = (Record().size() - 1) / kDripBytes;
  const auto start = std::chrono::steady_clock::now();
  const httplib::Result result = service_.Get(kEpisode);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(result);
  EXPECT_EQ(result->body, Record());
  EXPECT_GE(elapsed, std::chrono::milliseconds(50) * pauses);
}

TEST_F(FaultsTest, HugeSendsFarMoreThanAnyReplyAndStopsWhenTheClientGoes) {
  Arm("path=/h.asp&mode=huge&count=2");
  httplib::Client client("127.0.0.1", service_.port());
  std::size_t received = 0;
  const httplib::Result whole = client.Get(kEpisode, [&](const char*, std::size_t length) {
    received += length;
    return true;
  });
  ASSERT_TRUE(whole);
  EXPECT_EQ(received, kHugeBodyBytes);

  // A client that stops reading early: the service carries on.
  received = 0;
  EXPECT_FALSE(client.Get(kEpisode, [&](const char*, std::size_t length) {
    received += length;
    return received < 1024 * 1024;
  }));
  EXPECT_EQ(service_.Get(kEpisode)->body, Record());
}

TEST_F(FaultsTest, CountLimitsTheFaultAndOffOrResetEndIt) {
  Arm("path=/h.asp&mode=one&count=2");
  EXPECT_EQ(service_.Get(kEpisode)->body, "1");
  EXPECT_EQ(service_.Get(kEpisode)->body, "1");
  EXPECT_EQ(service_.Get(kEpisode)->body, Record());

  Arm("path=/h.asp&mode=empty");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(service_.Get(kEpisode)->body, "");
  Arm("path=/h.asp&mode=off");
  EXPECT_EQ(service_.Get(kEpisode)->body, Record());

  Arm("path=/h.asp&mode=http500");
  Arm("path=/&mode=one");
  EXPECT_EQ(service_.Get("/")->body, "1");
  ASSERT_TRUE(service_.Get("/__fault/reset"));
  EXPECT_EQ(service_.Get(kEpisode)->body, Record());
  EXPECT_EQ(service_.Get("/")->status, 200);
  EXPECT_NE(service_.Get("/")->body, "1");
}

TEST_F(FaultsTest, FaultsApplyToTheirPathOnly) {
  Arm("path=/tv/list.htm&mode=http500");
  EXPECT_EQ(service_.Get(kEpisode)->body, Record());
  EXPECT_EQ(service_.Get("/tv/list.htm")->status, 500);
  // Media files are covered too.
  Arm("path=/media/sample-a.mp4&mode=empty");
  EXPECT_EQ(service_.Get("/media/sample-a.mp4")->body, "");
}

TEST_F(FaultsTest, BadSwitchRequestsAreRefused) {
  for (const char* query : {"path=/h.asp&mode=explode", "mode=one", "path=h.asp&mode=one",
                            "path=/h.asp&mode=delay&ms=x", "path=/h.asp&mode=one&count=0"}) {
    const httplib::Result result = service_.Get(std::string("/__fault?") + query);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 400) << query;
  }
  EXPECT_EQ(service_.Get(kEpisode)->body, Record());
}

struct Socket {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  ~Socket() {
    if (fd >= 0) close(fd);
  }
};

bool Connects(const char* address, int port) {
  const Socket socket;
  if (socket.fd < 0) return false;
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<std::uint16_t>(port));
  inet_pton(AF_INET, address, &target.sin_addr);
  return connect(socket.fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0;
}

TEST_F(FaultsTest, ListensOnLoopbackAddressOneOnly) {
  EXPECT_TRUE(Connects("127.0.0.1", service_.port()));
  // Another loopback address reaches this machine but not the service.
  EXPECT_FALSE(Connects("127.0.0.2", service_.port()));
}

}  // namespace
}  // namespace taviro::demo::testing
