#include "app/command_line_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/hand_off_paths.h"
#include "support/playback_harness.h"
#include "support/temp_folder.h"

namespace taviro {
namespace {

using Paths = std::vector<std::string>;

class CommandLineFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("a b.mp4", "x");
    std::filesystem::create_directory(folder / "films");
  }
  std::string Path(std::string_view name) const { return (folder / name).string(); }

  testing::TempFolder folder;
};

TEST_F(CommandLineFilesTest, MissingFilesAndFoldersAreLeftOutAndAddressesPass) {
  const ScreenedCommandLine several = ScreenCommandLine(
      JoinHandOffPaths({"a b.mp4", "gone.mp4", "films", Path("a b.mp4"), "http://127.0.0.1/v.mp4"}),
      folder.path());
  EXPECT_EQ(SplitHandOffPaths(several.command_line),
            (Paths{"a b.mp4", Path("a b.mp4"), "http://127.0.0.1/v.mp4"}));
  ASSERT_EQ(several.refused.size(), 2u);
  EXPECT_EQ(several.refused[0].path, "gone.mp4");
  EXPECT_EQ(several.refused[0].problem, FileProblem::kMissing);
  EXPECT_EQ(several.refused[1].path, "films");
  EXPECT_EQ(several.refused[1].problem, FileProblem::kFolder);

  // One path keeps its old reading: quotes and a trailing "/" go first.
  EXPECT_EQ(ScreenCommandLine("\"a b.mp4\"", folder.path()).command_line, "\"a b.mp4\"");
  const ScreenedCommandLine one = ScreenCommandLine(Path("films") + "/", {});
  EXPECT_EQ(one.command_line, "");
  ASSERT_EQ(one.refused.size(), 1u);
  EXPECT_EQ(one.refused[0].problem, FileProblem::kFolder);
  EXPECT_TRUE(ScreenCommandLine("", folder.path()).refused.empty());
}

TEST_F(CommandLineFilesTest, TheTerminalLineNamesThePathAndItsProblem) {
  // No catalogue is bound here: the texts are as written.
  EXPECT_EQ(RefusedFileLine({"x/gone.mp4", FileProblem::kMissing}), "taviro: x/gone.mp4：文件不存在\n");
  EXPECT_EQ(RefusedFileLine({"films", FileProblem::kFolder}), "taviro: films：是文件夹，不能播放\n");
}

TEST(RefusedFilesInTheWindow, TheStatusStripAndOneBalloonTell) {
  testing::PlaybackHarness h;
  ShowRefusedFiles(h.main.window,
                   {{"/m/gone.mp4", FileProblem::kMissing}, {"/m/films", FileProblem::kFolder}});
  EXPECT_EQ(h.main.window.model[RegionId::zhun].caption, "文件不存在：gone.mp4");
  ASSERT_EQ(h.main.tray.balloons.size(), 1u);
  EXPECT_EQ(h.main.tray.balloons[0].text, "文件不存在：gone.mp4 文件夹不能直接播放，请选择其中的影音文件。");
}

}  // namespace
}  // namespace taviro
