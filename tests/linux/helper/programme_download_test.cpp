#include "linux/helper/programme_download.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <httplib.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace taviro::helper {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kDeadline = 120s;

bool WaitFor(const std::function<bool()>& done) { return testing::WaitUntil(done, kDeadline); }

struct MediaFacts {
  int streams = 0;
  double seconds = 0;
  long packets = 0;
};

MediaFacts Inspect(const std::string& path) {
  MediaFacts facts;
  AVFormatContext* context = nullptr;
  if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) return facts;
  if (avformat_find_stream_info(context, nullptr) >= 0) {
    facts.streams = static_cast<int>(context->nb_streams);
    facts.seconds = static_cast<double>(context->duration) / AV_TIME_BASE;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(context, packet) >= 0) {
      ++facts.packets;
      av_packet_unref(packet);
    }
    av_packet_free(&packet);
  }
  avformat_close_input(&context);
  return facts;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Four seconds of picture and tone, cut into one-second segments: plain,
// AES-128 (IV from the sequence number, as ffmpeg leaves it), fMP4, and
// byte ranges of one file.
class Programmes {
 public:
  Programmes() {
    const std::string dir = folder_.path().string();
    const std::string ffmpeg = std::string(TAVIRO_FFMPEG) + " -loglevel error -y ";
    folder_.Write("key.bin", "0123456789abcdef");
    folder_.Write("key.info", "key.bin\n" + dir + "/key.bin\n");
    ok_ = Run(ffmpeg +
              "-f lavfi -i testsrc=size=96x64:rate=25:duration=4 -f lavfi -i sine=duration=4 "
              "-c:v libx264 -preset ultrafast -g 25 -c:a aac -shortest " +
              dir + "/source.ts") &&
          Run(ffmpeg + "-i " + dir + "/source.ts -c copy -f hls -hls_time 1 -hls_playlist_type vod " +
              "-hls_segment_filename " + dir + "/plain%d.ts " + dir + "/plain.m3u8") &&
          Run(ffmpeg + "-i " + dir + "/source.ts -c copy -f hls -hls_time 1 -hls_playlist_type vod " +
              "-hls_key_info_file " + dir + "/key.info -hls_segment_filename " + dir + "/aes%d.ts " + dir +
              "/aes.m3u8") &&
          Run(ffmpeg + "-i " + dir + "/source.ts -c copy -f hls -hls_time 1 -hls_playlist_type vod " +
              "-bsf:a aac_adtstoasc -hls_segment_type fmp4 -hls_fmp4_init_filename fmp4init.mp4 "
              "-hls_segment_filename " +
              dir + "/fmp4%d.m4s " + dir + "/fmp4.m3u8") &&
          Run(ffmpeg + "-i " + dir + "/source.ts -c copy -f hls -hls_time 1 -hls_playlist_type vod " +
              "-hls_flags single_file -hls_segment_filename " + dir + "/ranges.ts " + dir + "/ranges.m3u8") &&
          // The sound in a rendition of its own, as a master playlist names it.
          Run(ffmpeg + "-i " + dir + "/source.ts -map 0:v -map 0:a -c copy -f hls -hls_time 1 " +
              "-hls_playlist_type vod -master_pl_name rendition.m3u8 " +
              "-var_stream_map \"v:0,agroup:aud a:0,agroup:aud,default:yes\" -hls_segment_filename " + dir +
              "/rend%v_%d.ts " + dir + "/rend%v.m3u8");
    ok_ = ok_ && EncryptFragments();
    source_ = Inspect(dir + "/source.ts");
  }
  bool ok() const { return ok_ && source_.packets > 0; }
  const MediaFacts& source() const { return source_; }
  std::filesystem::path Path(const std::string& name) const { return folder_ / name; }

 private:
  static bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }
  // The fMP4 programme again with every piece, its initialisation section
  // too, encrypted under the key named before the section (ffmpeg makes no
  // such programme itself).
  bool EncryptFragments() {
    std::istringstream lines(ReadFile(folder_ / "fmp4.m3u8"));
    std::string playlist;
    for (std::string line; std::getline(lines, line);) {
      std::string name = line;
      if (line.starts_with("#EXT-X-MAP:")) {
        playlist += "#EXT-X-KEY:METHOD=AES-128,URI=\"key.bin\",IV=0x" + std::string(kIv) + "\n";
        name = line.substr(line.find('"') + 1, line.rfind('"') - line.find('"') - 1);
        line = "#EXT-X-MAP:URI=\"enc-" + name + "\"";
      } else if (!line.starts_with("#")) {
        line = "enc-" + line;
      }
      if (!name.starts_with("#") &&
          !Run("openssl enc -aes-128-cbc -K 30313233343536373839616263646566 -iv " + std::string(kIv) +
               " -in " + (folder_ / name).string() + " -out " + (folder_ / ("enc-" + name)).string())) {
        return false;
      }
      playlist += line + "\n";
    }
    folder_.Write("enc-fmp4.m3u8", playlist);
    return true;
  }
  static constexpr const char* kIv = "000102030405060708090a0b0c0d0e0f";
  testing::TempFolder folder_;
  bool ok_ = false;
  MediaFacts source_;
};

// A plain static server on a free loopback port, whose files may be made
// to fail a few times or to hold until the test lets them go.
class Server {
 public:
  explicit Server(const Programmes& files) {
    server_.Get(R"(/(.*))", [this, &files](const httplib::Request& request, httplib::Response& response) {
      const std::string name = request.matches[1];
      // Segments named relative to the playlist are found only from where
      // the redirect led.
      if (name.starts_with("moved/") && name.ends_with(".m3u8")) {
        response.set_redirect("/" + name.substr(6), 302);
        return;
      }
      if (name == "endless.ts") return Endless(response);
      std::unique_lock lock(mutex_);
      ++requests_[name];
      if (failures_[name] > 0) {
        --failures_[name];
        response.status = 500;
        return;
      }
      if (name == held_) changed_.wait(lock, [this] { return held_.empty(); });
      if (const auto text = texts_.find(name); text != texts_.end()) {
        response.set_content(text->second, "application/vnd.apple.mpegurl");
        return;
      }
      lock.unlock();
      const std::filesystem::path path = files.Path(name);
      if (name.find("..") != std::string::npos || !std::filesystem::is_regular_file(path)) {
        response.status = 404;
        return;
      }
      response.set_content(ReadFile(path), "application/octet-stream");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~Server() {
    Release();
    while (!server_.is_running()) std::this_thread::yield();
    server_.stop();
    thread_.join();
  }
  std::string Url(const std::string& name) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + name;
  }
  void Serve(const std::string& name, std::string text) {
    std::lock_guard lock(mutex_);
    texts_[name] = std::move(text);
  }
  void FailTimes(const std::string& name, int times) {
    std::lock_guard lock(mutex_);
    failures_[name] = times;
  }
  void Hold(const std::string& name) {
    std::lock_guard lock(mutex_);
    held_ = name;
  }
  void Release() {
    {
      std::lock_guard lock(mutex_);
      held_.clear();
    }
    changed_.notify_all();
  }
  int Requests(const std::string& name) {
    std::lock_guard lock(mutex_);
    return requests_[name];
  }

 private:
  // Bytes without end, whatever range was asked for.
  static void Endless(httplib::Response& response) {
    response.set_chunked_content_provider("video/mp2t", [](size_t, httplib::DataSink& sink) {
      const std::string block(1 << 20, '\x47');
      return sink.write(block.data(), block.size());
    });
  }

  httplib::Server server_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<std::string, int> requests_;
  std::map<std::string, int> failures_;
  std::map<std::string, std::string> texts_;
  std::string held_;
  int port_ = -1;
  std::thread thread_;
};

class ProgrammeDownloadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    programmes_ = new Programmes();
  }
  static void TearDownTestSuite() {
    delete programmes_;
    curl_global_cleanup();
  }
  void SetUp() override { ASSERT_TRUE(programmes_->ok()) << "ffmpeg could not make the programmes"; }

  std::unique_ptr<ProgrammeDownload> Item(const std::string& playlist) {
    const ItemFiles files{SaveFolder::Open(save_.path().string() + "/"), "show.m3u8", "show.m3u8.part",
                          "show.m3u8.ranges"};
    return std::make_unique<ProgrammeDownload>(server_.Url(playlist), server_.Url(playlist), files, false);
  }
  // The saved file plays as the source does: all of its packets, its length
  // within a segment, and nothing else left in the folder.
  void ExpectSavedWhole() {
    EXPECT_EQ(save_.ListNames(), "show.mp4");
    const MediaFacts saved = Inspect((save_ / "show.mp4").string());
    EXPECT_EQ(saved.streams, 2);
    EXPECT_EQ(saved.packets, programmes_->source().packets);
    EXPECT_NEAR(saved.seconds, programmes_->source().seconds, 1.0);
  }

  static Programmes* programmes_;
  Server server_{*programmes_};
  testing::TempFolder save_;
};

Programmes* ProgrammeDownloadTest::programmes_ = nullptr;

TEST_F(ProgrammeDownloadTest, ProgrammesOfEveryFormAreSavedAsOnePlayableFile) {
  for (const std::string kind : {"plain", "aes", "fmp4", "enc-fmp4", "ranges", "rendition", "moved/plain"}) {
    SCOPED_TRACE(kind);
    const auto item = Item(kind + ".m3u8");
    std::string error;
    ASSERT_TRUE(item->Start(error)) << error;
    ASSERT_TRUE(WaitFor([&] { return save_.Exists("show.mp4") || item->Failed(); }));
    ASSERT_FALSE(item->Failed());
    EXPECT_EQ(item->Status().thousandths, 1000);
    item->Stop();
    ExpectSavedWhole();
    std::filesystem::remove(save_ / "show.mp4");
  }
}

TEST_F(ProgrammeDownloadTest, AStoppedProgrammeResumesWithoutHoleOrRepeat) {
  server_.Hold("aes2.ts");
  {
    const auto item = Item("aes.m3u8");
    std::string error;
    ASSERT_TRUE(item->Start(error)) << error;
    ASSERT_TRUE(WaitFor([&] { return server_.Requests("aes2.ts") > 0; }));
    const auto stop_began = Clock::now();
    item->Stop();
    EXPECT_LT(Clock::now() - stop_began, 2s) << "Stop waited on the held segment";
    EXPECT_FALSE(item->Failed());
  }
  EXPECT_TRUE(save_.Exists("show.m3u8.part"));
  EXPECT_NE(save_.Read("show.m3u8.ranges").find("done 2 "), std::string::npos)
      << save_.Read("show.m3u8.ranges");
  server_.Release();
  // As a kill leaves it: media written after the last save, here more than
  // the rest of the programme, which must not end up in the saved file.
  std::ofstream(save_ / "show.m3u8.part", std::ios::binary | std::ios::app)
      << ReadFile(programmes_->Path("source.ts"));

  const auto item = Item("aes.m3u8");
  std::string error;
  ASSERT_TRUE(item->Start(error)) << error;
  ASSERT_TRUE(WaitFor([&] { return save_.Exists("show.mp4") || item->Failed(); }));
  item->Stop();
  ExpectSavedWhole();
  EXPECT_EQ(server_.Requests("aes0.ts"), 1);
  EXPECT_EQ(server_.Requests("aes1.ts"), 1);
  EXPECT_EQ(server_.Requests("key.bin"), 2);  // once for each run
}

TEST_F(ProgrammeDownloadTest, ASegmentThatFailsTwiceIsFetchedAgain) {
  server_.FailTimes("plain1.ts", 2);
  const auto item = Item("plain.m3u8");
  std::string error;
  ASSERT_TRUE(item->Start(error)) << error;
  ASSERT_TRUE(WaitFor([&] { return save_.Exists("show.mp4") || item->Failed(); }));
  item->Stop();
  EXPECT_EQ(server_.Requests("plain1.ts"), 3);
  ExpectSavedWhole();
}

TEST_F(ProgrammeDownloadTest, PlaylistsOutOfBoundsOrPointingAwayAreRefused) {
  std::string large = "#EXTM3U\n";
  while (large.size() <= kLargestPlaylist) large += "#EXT-X-COMMENT:" + std::string(1000, 'x') + "\n";
  std::string many = "#EXTM3U\n";
  for (std::size_t i = 0; i <= kMostPlaylistEntries; ++i) many += "#EXTINF:1,\ns.ts\n";
  server_.Serve("large.m3u8", large + "#EXT-X-ENDLIST\n");
  server_.Serve("many.m3u8", many + "#EXT-X-ENDLIST\n");
  server_.Serve("file.m3u8", "#EXTM3U\n#EXTINF:1,\nfile:///etc/passwd\n#EXT-X-ENDLIST\n");
  server_.Serve("itself.m3u8", "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nitself.m3u8\n");
  server_.Serve("ping.m3u8", "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\npong.m3u8\n");
  server_.Serve("pong.m3u8", "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nping.m3u8\n");
  server_.Serve("live.m3u8", "#EXTM3U\n#EXTINF:1,\nplain0.ts\n");
  for (const char* name : {"large.m3u8", "many.m3u8", "file.m3u8", "itself.m3u8", "ping.m3u8", "live.m3u8"}) {
    SCOPED_TRACE(name);
    const auto item = Item(name);
    std::string error;
    ASSERT_TRUE(item->Start(error)) << error;
    EXPECT_TRUE(WaitFor([&] { return item->Failed(); }));
    item->Stop();
    EXPECT_EQ(save_.ListNames(), "") << "a refused playlist leaves nothing on disk";
  }
  const ItemFiles files{SaveFolder::Open(save_.path().string() + "/"), "a.m3u8", "a.part", "a.ranges"};
  ProgrammeDownload local("file:///tmp/a.m3u8", "file:///tmp/a.m3u8", files, false);
  std::string error;
  EXPECT_FALSE(local.Start(error));
  EXPECT_NE(error, "");
}

TEST_F(ProgrammeDownloadTest, APlaylistLeadsInsideThisMachineOnlyBackToItsOwnServer) {
  // Another server on this machine, as a hostile playlist would name it.
  Server inside(*programmes_);
  std::string playlist = "#EXTM3U\n";
  for (int i = 0; i < 4; ++i)
    playlist += "#EXTINF:1,\n" + inside.Url("plain" + std::to_string(i) + ".ts") + "\n";
  server_.Serve("inside.m3u8", playlist + "#EXT-X-ENDLIST\n");
  {
    const auto item = Item("inside.m3u8");
    std::string error;
    ASSERT_TRUE(item->Start(error)) << error;
    EXPECT_TRUE(WaitFor([&] { return item->Failed(); }));
    item->Stop();
  }
  EXPECT_EQ(inside.Requests("plain0.ts"), 0);
  EXPECT_EQ(save_.ListNames(), "");
  // The service's own address is no stranger.
  const auto item = Item("inside.m3u8");
  item->AllowInside(EndpointsOfAddress(inside.Url("")));
  std::string error;
  ASSERT_TRUE(item->Start(error)) << error;
  ASSERT_TRUE(WaitFor([&] { return save_.Exists("show.mp4") || item->Failed(); }));
  item->Stop();
  ExpectSavedWhole();
}

// The most memory this process ever held, in bytes.
std::int64_t PeakMemory() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stoll(line.substr(6)) * 1024;
  }
  return 0;
}

TEST_F(ProgrammeDownloadTest, AServerIgnoringARangeFarAwayNeitherFillsMemoryNorSendsForever) {
  server_.Serve("far.m3u8",
                "#EXTM3U\n#EXT-X-BYTERANGE:16@4000000000000\n#EXTINF:1,\nendless.ts\n"
                "#EXT-X-ENDLIST\n");
  const std::int64_t peak_before = PeakMemory();
  const auto item = Item("far.m3u8");
  std::string error;
  ASSERT_TRUE(item->Start(error)) << error;
  EXPECT_TRUE(WaitFor([&] { return item->Failed(); }));
  item->Stop();
  // AddressSanitizer keeps freed blocks (up to 256 MiB) before reusing
  // them; the fault this guards against held gigabytes.
#ifdef __SANITIZE_ADDRESS__
  constexpr std::int64_t kMostMemory = std::int64_t{512} << 20;
#else
  constexpr std::int64_t kMostMemory = std::int64_t{64} << 20;
#endif
  EXPECT_LT(PeakMemory() - peak_before, kMostMemory);
  EXPECT_EQ(save_.ListNames(), "");
}

}  // namespace
}  // namespace taviro::helper
