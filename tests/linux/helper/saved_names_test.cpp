// Items whose servers give them the same name: each is saved under a name
// of its own, and none ever touches another's files.
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "helper/transfer_rules.h"
#include "linux/helper/terminal.h"
#include "lists/downloaded_files.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace taviro::helper {
namespace {

using namespace std::chrono_literals;

constexpr auto kDeadline = 120s;

// A film that sends its first half and then holds until the test lets it
// go; a hostile item that names its file like the film; and programmes
// whose playlists are all called "index.m3u8".
class Origin {
 public:
  Origin() {
    const std::string dir = media_.path().string();
    made_ = std::system((std::string(TAVIRO_FFMPEG) +
                         " -loglevel error -y -f lavfi -i testsrc=size=96x64:rate=25:duration=3 -c:v libx264 "
                         "-preset ultrafast -g 25 -f hls -hls_time 1 -hls_playlist_type vod "
                         "-hls_segment_filename " +
                         dir + "/seg%d.ts " + dir + "/all.m3u8")
                            .c_str()) == 0;
    server_.Get("/film.mp4", [this](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(
          kFilm.size(), "video/mp4", [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            if (offset >= kFilm.size() / 2) {
              std::unique_lock lock(mutex_);
              // Bounded: a test that fails never frees it.
              released_.wait_for(lock, kDeadline, [this] { return open_; });
            }
            const std::size_t end = offset < kFilm.size() / 2 ? kFilm.size() / 2 : kFilm.size();
            return sink.write(kFilm.data() + offset, end - offset);
          });
    });
    server_.Get("/other", [](const httplib::Request&, httplib::Response& response) {
      response.set_header("Content-Disposition", "attachment; filename=\"film.mp4\"");
      response.set_content(std::string(kHostile), "video/mp4");
    });
    server_.Get("/gbk", [](const httplib::Request&, httplib::Response& response) {
      response.set_header("Content-Disposition", "attachment; filename=\"\xB5\xE7\xD3\xB0.mp4\"");
      response.set_content("raw GBK name", "video/mp4");
    });
    // Programme n lists the first n segments.
    server_.Get(R"(/p(\d)/show/index.m3u8)",
                [](const httplib::Request& request, httplib::Response& response) {
                  std::string playlist = "#EXTM3U\n#EXT-X-TARGETDURATION:1\n";
                  for (int n = 0; n < std::stoi(request.matches[1]); ++n) {
                    playlist += "#EXTINF:1,\nseg" + std::to_string(n) + ".ts\n";
                  }
                  response.set_content(playlist + "#EXT-X-ENDLIST\n", "application/vnd.apple.mpegurl");
                });
    server_.Get(R"(/p\d/show/(seg\d\.ts))",
                [this](const httplib::Request& request, httplib::Response& response) {
                  response.set_content(media_.Read(request.matches[1].str()), "video/mp2t");
                });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~Origin() {
    Release();
    while (!server_.is_running()) std::this_thread::yield();
    server_.stop();
    thread_.join();
  }
  void Release() {
    std::lock_guard lock(mutex_);
    open_ = true;
    released_.notify_all();
  }
  bool made() const { return made_; }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

  static inline const std::string kFilm = std::string(256 * 1024, 'F');
  static constexpr std::string_view kHostile = "the other item's bytes";

 private:
  testing::TempFolder media_;
  bool made_ = false;
  httplib::Server server_;
  int port_ = -1;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable released_;
  bool open_ = false;
};

class SavedNamesTest : public ::testing::Test {
 protected:
  void SetUp() override { curl_global_init(CURL_GLOBAL_DEFAULT); }
  void TearDown() override {
    origin.Release();
    terminal.StopAll();
    curl_global_cleanup();
  }
  void Play(const std::string& path, const std::string& title = "") {
    std::string error;
    EXPECT_TRUE(
        terminal.Open(HelperRequest{HelperVerb::kPlay, origin.Base() + path, origin.Base(), title}, error))
        << error;
  }
  bool Saved(const std::string& name) {
    return testing::WaitUntil([&] { return folder.Exists(name) && !folder.Exists(name + ".part"); },
                              kDeadline);
  }
  std::uintmax_t Size(const std::string& name) const { return std::filesystem::file_size(folder / name); }

  Origin origin;
  testing::TempFolder folder;
  Terminal terminal{folder.path().string() + "/", false};
};

TEST_F(SavedNamesTest, AnItemNamedLikeAFileOnItsWayGetsANameOfItsOwn) {
  Play("film.mp4");
  ASSERT_TRUE(testing::WaitUntil([&] { return folder.Exists("film.mp4.part"); }, kDeadline));
  Play("other");
  ASSERT_TRUE(Saved("film (2).mp4")) << folder.ListNames();
  origin.Release();
  ASSERT_TRUE(Saved("film.mp4")) << folder.ListNames();
  EXPECT_EQ(folder.Read("film.mp4"), Origin::kFilm);
  EXPECT_EQ(folder.Read("film (2).mp4"), Origin::kHostile);
  // The task's "delete downloads" finds each item's own file by its note,
  // whatever name the item asked for.
  const std::string other = origin.Base() + "other";
  EXPECT_EQ(DownloadedFilesIn(folder.path().string() + "/", "other", SourceKey(other, other)),
            std::vector<std::string>{"film (2).mp4"});
  EXPECT_EQ(DownloadedFilesIn(folder.path().string() + "/", "film.mp4", SourceKey(other, other)),
            std::vector<std::string>{"film (2).mp4"});
  // A server's raw GBK name is saved as UTF-8.
  Play("gbk");
  ASSERT_TRUE(Saved("电影.mp4")) << folder.ListNames();
}

TEST_F(SavedNamesTest, ProgrammesWhosePlaylistsShareANameAreEachSaved) {
  ASSERT_TRUE(origin.made());
  // Two at once, then a third once they are saved.
  Play("p1/show/index.m3u8");
  Play("p2/show/index.m3u8");
  ASSERT_TRUE(Saved("show.mp4") && Saved("show (2).mp4")) << folder.ListNames();
  Play("p3/show/index.m3u8");
  ASSERT_TRUE(Saved("show (3).mp4")) << folder.ListNames();
  // Which one got which number is the order of their looks; each is whole.
  std::vector<std::uintmax_t> sizes{Size("show.mp4"), Size("show (2).mp4")};
  std::sort(sizes.begin(), sizes.end());
  EXPECT_LT(sizes[0], sizes[1]);
  EXPECT_LT(sizes[1], Size("show (3).mp4"));
  // Titled as the catalogue calls them, in a name the folder can hold; the
  // same title twice still gets a number, and each is found for deleting.
  const std::string title = "..凡人/修仙传\x01 第3集";
  Play("p2/show/index.m3u8?again", title);
  Play("p3/show/index.m3u8?again", title);
  ASSERT_TRUE(Saved("凡人-修仙传 第3集.mp4") && Saved("凡人-修仙传 第3集 (2).mp4")) << folder.ListNames();
  const std::string longer = origin.Base() + "p3/show/index.m3u8?again";
  const std::vector<std::string> found =
      DownloadedFilesIn(folder.path().string() + "/", "index.m3u8", SourceKey(longer, longer));
  ASSERT_EQ(found.size(), 1U) << folder.ListNames();
  EXPECT_EQ(Size(found[0]), std::max(Size("凡人-修仙传 第3集.mp4"), Size("凡人-修仙传 第3集 (2).mp4")));
}

}  // namespace
}  // namespace taviro::helper
