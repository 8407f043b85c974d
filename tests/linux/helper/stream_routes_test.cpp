// What the helper does with each kind of source: files are fetched and
// saved under their real name, everything else is sent to its origin and
// leaves nothing in the save folder.
#include <arpa/inet.h>
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "linux/helper/media_server.h"
#include "linux/helper/terminal.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace taviro::helper {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kDeadline = 60s;
constexpr std::string_view kProgramme = "#EXTM3U\n#EXTINF:2,\na.ts\n#EXT-X-ENDLIST\n";
constexpr std::string_view kLive = "#EXTM3U\n#EXT-X-MEDIA-SEQUENCE:3\n#EXTINF:2,\na.ts\n";

class Origin {
 public:
  Origin() {
    server_.Get("/clip.mp4", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("the clip's bytes", "video/mp4");
    });
    server_.Get("/go-mp4", [](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("/hop", 301);
    });
    server_.Get("/hop", [](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("/clip.mp4", 308);
    });
    server_.Get("/download", [](const httplib::Request&, httplib::Response& response) {
      response.set_header("Content-Disposition", "attachment; filename=\"named.mp4\"");
      response.set_content("named bytes", "application/octet-stream");
    });
    server_.Get("/show/index.m3u8", [](const httplib::Request&, httplib::Response& response) {
      response.set_content(std::string(kProgramme), "text/plain");
    });
    server_.Get("/tv/index.m3u8", [](const httplib::Request&, httplib::Response& response) {
      response.set_content(std::string(kLive), "application/vnd.apple.mpegurl");
    });
    server_.Get("/bad/index.m3u8", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("#EXTM3U\n#EXTINF:2,\nfile:///etc/passwd\n#EXT-X-ENDLIST\n", "audio/mpegurl");
    });
    server_.Get("/dash/manifest.mpd", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("<?xml version=\"1.0\"?>\n<MPD type=\"static\"></MPD>\n", "application/dash+xml");
    });
    server_.Get("/radio", [](const httplib::Request&, httplib::Response& response) {
      response.set_header("icy-name", "Test FM");
      response.set_chunked_content_provider("audio/mpeg", [](size_t, httplib::DataSink& sink) {
        const std::string frames(4096, '\xff');
        return sink.write(frames.data(), frames.size());
      });
    });
    server_.Get("/channel.ts", [](const httplib::Request&, httplib::Response& response) {
      // No length: the channel keeps coming until the client leaves.
      response.set_chunked_content_provider("video/mp2t", [](size_t, httplib::DataSink& sink) {
        const std::string packet(188 * 8, '\x47');
        return sink.write(packet.data(), packet.size());
      });
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~Origin() {
    while (!server_.is_running()) std::this_thread::yield();
    server_.stop();
    thread_.join();
  }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  httplib::Server server_;
  int port_ = -1;
  std::thread thread_;
};

struct Answer {
  long status = 0;
  std::string location;
  std::string body;
};

std::size_t Append(char* data, std::size_t size, std::size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

// What the loopback server answers the player, redirects not followed.
Answer Ask(const std::string& address) {
  Answer answer;
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer.body);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 60L);
  curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
  char* location = nullptr;
  curl_easy_getinfo(curl, CURLINFO_REDIRECT_URL, &location);
  if (location != nullptr) answer.location = location;
  curl_easy_cleanup(curl);
  return answer;
}

// A station as SHOUTcast answers: "ICY 200 OK", then audio until the
// listener leaves.
class IcyStation {
 public:
  IcyStation() : listener_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 8);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
      for (int client; (client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        char request[4096];
        (void)::recv(client, request, sizeof request, 0);
        std::string answer = "ICY 200 OK\r\nicy-name: Test FM\r\ncontent-type: audio/mpeg\r\n\r\n";
        answer += std::string(64 * 1024, '\xff');
        (void)::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
        ::close(client);
      }
    });
  }
  ~IcyStation() {
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/stream"; }

 private:
  int listener_;
  int port_ = -1;
  std::thread thread_;
};

class StreamRoutesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    ASSERT_GT(server.Start(), 0);
  }
  void TearDown() override {
    terminal.StopAll();
    server.Stop();
    curl_global_cleanup();
  }
  // The loopback address the helper answers `play` with.
  std::string Play(const std::string& path) {
    std::string error;
    const auto served =
        terminal.Open(HelperRequest{HelperVerb::kPlay, origin.Base() + path, origin.Base()}, error);
    EXPECT_TRUE(served) << error;
    return served ? server.AddressOf(served->token, served->name) : std::string();
  }
  std::optional<HelperStatus> Status(const std::string& path) {
    return terminal.Status(HelperRequest{HelperVerb::kStatus, origin.Base() + path, origin.Base()});
  }
  bool WaitForFile(const std::string& name) {
    return testing::WaitUntil([&] { return folder.Exists(name) && !folder.Exists(name + ".part"); },
                              kDeadline);
  }
  std::vector<std::string> SavedFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  Origin origin;
  testing::TempFolder folder;
  Terminal terminal{folder.path().string() + "/", false};
  MediaServer server{terminal};
};

TEST_F(StreamRoutesTest, AFileBehindRedirectsOrNamedByItsServerIsSavedUnderItsRealName) {
  const Answer clip = Ask(Play("go-mp4"));
  EXPECT_EQ(clip.status, 200);
  EXPECT_EQ(clip.body, "the clip's bytes");
  ASSERT_TRUE(WaitForFile("clip.mp4"));
  EXPECT_EQ(folder.Read("clip.mp4"), "the clip's bytes");
  EXPECT_EQ(Status("go-mp4")->thousandths, 1000);

  EXPECT_EQ(Ask(Play("download")).body, "named bytes");
  ASSERT_TRUE(WaitForFile("named.mp4"));
  EXPECT_EQ(folder.Read("named.mp4"), "named bytes");
}

TEST_F(StreamRoutesTest, PlaylistsAndChannelsAreSentToTheirOriginAndNothingIsSaved) {
  const Answer programme = Ask(Play("show/index.m3u8"));
  EXPECT_EQ(programme.status, 307);
  EXPECT_EQ(programme.location, origin.Base() + "show/index.m3u8");
  const Answer live = Ask(Play("tv/index.m3u8"));
  EXPECT_EQ(live.status, 307);
  EXPECT_EQ(live.location, origin.Base() + "tv/index.m3u8");
  EXPECT_TRUE(Status("tv/index.m3u8")->live);
  const Answer channel = Ask(Play("channel.ts"));
  EXPECT_EQ(channel.status, 307);
  EXPECT_EQ(channel.location, origin.Base() + "channel.ts");
  EXPECT_TRUE(Status("channel.ts")->live);
  EXPECT_FALSE(Status("show/index.m3u8")->live);
  // Neither the playlist nor the channel's bytes are kept as a file, and
  // the programme's saver, whose segment is missing, leaves nothing once it
  // gives up.
  EXPECT_TRUE(testing::WaitUntil([&] { return SavedFiles().empty(); }, kDeadline))
      << ::testing::PrintToString(SavedFiles());
}

TEST_F(StreamRoutesTest, DashSegmentsAndStationsReachTheirOriginAndStationsAreLive) {
  const std::string manifest = Play("dash/manifest.mpd");
  EXPECT_EQ(Ask(manifest).location, origin.Base() + "dash/manifest.mpd");
  // The reader builds its segments' addresses from the one it was given.
  const std::string beside = manifest.substr(0, manifest.rfind('/') + 1);
  EXPECT_EQ(Ask(beside + "chunk-stream0-00002.m4s?t=1").location,
            origin.Base() + "dash/chunk-stream0-00002.m4s?t=1");
  EXPECT_EQ(Ask(beside + "video/init.mp4").location, origin.Base() + "dash/video/init.mp4");
  EXPECT_TRUE(Ask(beside + "/elsewhere.example/x").location.empty());
  EXPECT_FALSE(Status("dash/manifest.mpd")->live);

  const Answer radio = Ask(Play("radio"));
  EXPECT_EQ(radio.location, origin.Base() + "radio");
  EXPECT_TRUE(Status("radio")->live);

  IcyStation station;
  std::string error;
  const auto served = terminal.Open(HelperRequest{HelperVerb::kPlay, station.Url(), origin.Base()}, error);
  ASSERT_TRUE(served) << error;
  const Answer icy = Ask(server.AddressOf(served->token, served->name));
  EXPECT_EQ(icy.status, 307);
  EXPECT_EQ(icy.location, station.Url());
  const auto status = terminal.Status(HelperRequest{HelperVerb::kStatus, station.Url(), origin.Base()});
  EXPECT_TRUE(status->live);
  EXPECT_EQ(status->problem, HelperProblem::kNone);
  EXPECT_EQ(SavedFiles(), std::vector<std::string>());
}

TEST_F(StreamRoutesTest, APlaylistNamingALocalFileIsRefused) {
  const Answer refused = Ask(Play("bad/index.m3u8"));
  EXPECT_GE(refused.status, 400);
  EXPECT_TRUE(refused.location.empty());
  EXPECT_EQ(Status("bad/index.m3u8")->problem, HelperProblem::kRefused);
  EXPECT_EQ(SavedFiles(), std::vector<std::string>());
}

}  // namespace
}  // namespace taviro::helper
