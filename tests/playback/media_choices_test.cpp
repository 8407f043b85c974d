#include "playback/media_choices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playback/track_memory.h"
#include "support/control_bar_harness.h"
#include "support/fake_player_control.h"
#include "support/fake_tray_icon.h"
#include "support/fixed_clock.h"
#include "support/temp_folder.h"
#include "util/ansi_text.h"
#include "util/file_io.h"

namespace taviro {
namespace {

using testing::FakeFileDialog;
using testing::FakePlayerControl;
using testing::FakeTrayIcon;
using testing::FixedClock;
using testing::TempFolder;

// Tracks as a test lists them; what the choices ask of the player, in words.
class FakeExtras final : public PlayerExtras {
 public:
  std::vector<MediaTrack> Tracks() override { return tracks; }
  void SelectTrack(TrackKind kind, int id) override {
    calls.push_back(std::string(kind == TrackKind::kAudio ? "aid " : "sid ") + std::to_string(id));
  }
  void AddSubtitleFile(const std::string& path, const std::string& title, bool select) override {
    added.push_back(path);
    calls.push_back("add " + title + (select ? " select" : " auto"));
  }
  double SubtitleDelay() override { return delay; }
  void SetSubtitleDelay(double seconds) override { delay = seconds; }
  double Speed() override { return speed; }
  void SetSpeed(double rate) override { speed = rate; }
  std::string SubtitleText() override { return {}; }
  void SaveFrame(int fd, std::function<void(bool)> done) override {
    frames.push_back(std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd)).string());
    done(true);
  }
  void SetChangeHandler(std::function<void(PlayerChange)> handler) override { changed = std::move(handler); }

  std::vector<MediaTrack> tracks;
  std::vector<std::string> calls;
  std::vector<std::string> added;
  std::vector<std::string> frames;
  double delay = 0;
  double speed = 1;
  std::function<void(PlayerChange)> changed;
};

struct ChoicesFixture : ::testing::Test {
  ChoicesFixture() {
    videos.Write("film.mkv", "");
    videos.Write("film.srt", EncodeAnsi("1\r\n00:00:00,000 --> 00:00:09,000\r\n中文字幕测试\r\n"));
    videos.Write("film.eng.srt", "1\r\n00:00:00,000 --> 00:00:09,000\r\nEnglish\r\n");
    videos.Write("other.srt", "");
    player.url = (videos / "film.mkv").string();
    extras.tracks = {{TrackKind::kAudio, 1, "eng", "English", "", true},
                     {TrackKind::kAudio, 2, "jpn", "日本語", "", false},
                     {TrackKind::kSubtitle, 1, "chi", "嵌入", "", false}};
  }
  void Open() { extras.changed(PlayerChange::kOpened); }
  // The subtitle file added `n`th (from 0) as the player lists it.
  void ListAdded(int id, std::size_t n) {
    extras.tracks.push_back({TrackKind::kSubtitle, id, "", "", extras.added.at(n), false});
  }

  TempFolder videos;
  TempFolder app;
  TempFolder pictures;
  FakePlayerControl player;
  FakeExtras extras;
  FakeFileDialog files;
  FakeTrayIcon tray;
  FixedClock clock;
  MediaChoices choices{MediaChoicesPorts{player, extras, files, tray, clock},
                       MediaChoicesConfig{app / "track_choice.dat", pictures.path(), false}};
};

TEST_F(ChoicesFixture, SubtitleFilesBesideTheVideoComeInAndTheFirstShowsAsUtf8) {
  Open();
  EXPECT_EQ(extras.calls, (std::vector<std::string>{"add film.srt select", "add film.eng.srt auto"}));
  // The GBK file goes to the player as a UTF-8 copy; the UTF-8 one as it is.
  ASSERT_EQ(extras.added.size(), 2U);
  EXPECT_NE(extras.added[0], (videos / "film.srt").string());
  EXPECT_EQ(ReadFileBytes(extras.added[0]).value_or(""),
            "1\r\n00:00:00,000 --> 00:00:09,000\r\n中文字幕测试\r\n");
  EXPECT_EQ(extras.added[1], (videos / "film.eng.srt").string());
  ListAdded(2, 0);
  EXPECT_EQ(choices.SourceFile(extras.tracks.back()), (videos / "film.srt").string());
}

TEST_F(ChoicesFixture, TheUsersChoiceIsKeptPerItemAndComesBackWhenItOpensAgain) {
  Open();
  ListAdded(2, 0);
  choices.ChooseSubtitle(2);
  choices.ChooseAudio(2);
  const std::string film = (videos / "film.mkv").string();
  EXPECT_EQ(app.Read("track_choice.dat"), EncodeAnsi(film + "|" + (videos / "film.srt").string() + "|2\r\n"));

  // Opened again: the chosen file is selected (whatever its copy is called
  // this time), the audio track too.
  extras.calls.clear();
  extras.added.clear();
  Open();
  EXPECT_EQ(extras.calls,
            (std::vector<std::string>{"add film.srt select", "add film.eng.srt auto", "aid 2"}));

  // Subtitles turned off stay off; a track of the video is chosen by its id.
  choices.ChooseSubtitle(0);
  extras.calls.clear();
  Open();
  EXPECT_EQ(extras.calls,
            (std::vector<std::string>{"add film.srt auto", "add film.eng.srt auto", "sid 0", "aid 2"}));
  choices.ChooseSubtitle(1);
  EXPECT_EQ(TrackMemory(app / "track_choice.dat").Recall(film), (TrackChoice{SubtitleTrack{1}, 2}));

  // A file from the chooser is shown at once and kept like the others.
  files.answer = (videos / "other.srt").string();
  extras.calls.clear();
  choices.LoadSubtitleFile();
  ASSERT_EQ(files.requests.size(), 1U);
  EXPECT_EQ(files.requests[0].title, "加载字幕文件");
  EXPECT_EQ(extras.calls, (std::vector<std::string>{"add other.srt select"}));
  EXPECT_EQ(TrackMemory(app / "track_choice.dat").Recall(film),
            (TrackChoice{SubtitleFile{(videos / "other.srt").string()}, 2}));
}

TEST(TrackMemory, AddressesOfAnyBytesRoundTripAndTheLastChosenComesFirst) {
  TempFolder folder;
  const TrackMemory memory(folder / "track_choice.dat");
  const std::string odd = "/m/a|b\xFF.mkv";
  memory.Remember("/m/one.mkv", {SubtitlesOff{}, std::nullopt});
  memory.Remember(odd, {SubtitleFile{"/m/a|b.srt"}, 3});
  memory.Remember("http://127.0.0.1/x.mp4", {std::nullopt, 1});
  EXPECT_EQ(folder.Read("track_choice.dat"),
            "http://127.0.0.1/x.mp4||1\r\n"
            "file:///m/a%7Cb%FF.mkv|file:///m/a%7Cb.srt|3\r\n"
            "/m/one.mkv|off|\r\n");
  EXPECT_EQ(memory.Recall(odd), (TrackChoice{SubtitleFile{"/m/a|b.srt"}, 3}));
  EXPECT_EQ(memory.Recall("/m/one.mkv"), (TrackChoice{SubtitlesOff{}, std::nullopt}));
  EXPECT_EQ(memory.Recall("/m/none.mkv"), TrackChoice{});
  // A full file loses its oldest line.
  std::string full;
  for (int i = 0; i < TrackMemory::kMaxItems; ++i) full += "/m/" + std::to_string(i) + "||1\r\n";
  folder.Write("track_choice.dat", full);
  memory.Remember("/m/new", {std::nullopt, 2});
  EXPECT_EQ(memory.Recall("/m/498"), (TrackChoice{std::nullopt, 1}));
  EXPECT_EQ(memory.Recall("/m/499"), TrackChoice{});
}

TEST_F(ChoicesFixture, SpeedsSnapToTheListAndScreenshotsGetAFreeName) {
  choices.ChooseSpeed(0.7);
  EXPECT_EQ(extras.speed, 0.75);
  choices.StepSpeed(-1);
  choices.StepSpeed(-1);
  EXPECT_EQ(extras.speed, 0.5);
  for (int i = 0; i < 9; ++i) choices.StepSpeed(1);
  EXPECT_EQ(extras.speed, 2.0);
  choices.ShiftSubtitleDelay(1);
  choices.ShiftSubtitleDelay(1);
  choices.ShiftSubtitleDelay(-3);
  EXPECT_DOUBLE_EQ(extras.delay, -0.1);

  choices.SaveFrame();
  pictures.Write("Taviro/Taviro-20240506-210509.png", "");
  choices.SaveFrame();
  EXPECT_EQ(extras.frames,
            (std::vector<std::string>{(pictures / "Taviro/Taviro-20240506-210509.png").string(),
                                      (pictures / "Taviro/Taviro-20240506-210509-2.png").string()}));
  ASSERT_EQ(tray.balloons.size(), 2U);
  EXPECT_EQ(tray.balloons[1].text, "截图已保存：Taviro-20240506-210509-2.png");
}

}  // namespace
}  // namespace taviro
