#include <gtest/gtest.h>

#include <filesystem>

#include "helper/vendor_save_path.h"
#include "list_commands_fixture.h"
#include "lists/downloaded_files.h"
#include "settings/settings_store.h"
#include "window/title_bar_commands.h"

namespace taviro {
namespace {

const std::string kWebTask = "7|web|ep|http%3A//127.0.0.1/v.mp4|1|4|30\r\n";

// The helper's files in the application folder's Qvod/, saving to dl/ as
// the INI file says; the helper itself may be installed elsewhere.
class DownloadCommandsTest : public testing::ListCommandsTest {
 protected:
  DownloadCommandsTest() {
    std::filesystem::create_directories(h.folder / "Qvod");
    std::filesystem::create_directories(h.folder / "dl");
    h.SetSetting("S_q", "qvodw", "/usr/lib/taviro/Qvod/");  // a system installation
    SetSaveFolder(save);
  }
  void SetSaveFolder(const std::string& folder) const {
    WriteSetting(terminal + "QvodCfg.ini", "NBQVODTERMINAL", "defaultsavepath", folder);
  }
  // A helper task whose file is `name`, on line 2, right-clicked.
  void ChooseTaskWithFile(const std::string& name) {
    WriteUtf8("date.dat", kWebTask + "12|t|e|qvod%3A//123%7Cabc%7C" + name + "%7C|0|3|754\r\n");
    commands.Web3ContextMenu({"open://2/", 0, 0});
  }
  void SaveFiles(std::initializer_list<const char*> names) const {
    for (const char* name : names) h.folder.Write(std::string("dl/") + name, "x");
  }
  // The question lists exactly `names`, in the folder's own order.
  void ExpectAskedAbout(std::initializer_list<const char*> names) const {
    ASSERT_EQ(h.prompt.questions.size(), 1U);
    const std::string& question = h.prompt.questions[0].text;
    EXPECT_EQ(h.prompt.questions[0].caption, "提示：");
    EXPECT_TRUE(question.starts_with("确定要删除 [" + save + "] 下面的这些文件吗？\r\n\r\n")) << question;
    std::size_t length = ("确定要删除 [" + save + "] 下面的这些文件吗？\r\n\r\n").size();
    for (const char* name : names) {
      EXPECT_NE(question.find("\n" + std::string(name) + "\r\n"), std::string::npos) << name;
      length += std::string_view(name).size() + 2;
    }
    EXPECT_EQ(question.size(), length);
  }

  const std::string terminal = (h.folder / "Qvod").string() + "/";
  const std::string save = (h.folder / "dl").string() + "/";
};

TEST_F(DownloadCommandsTest, YesDeletesExactlyTheHelpersFilesOfTheTask) {
  ChooseTaskWithFile("ab.rmvb");
  SaveFiles({"ab.rmvb", "ab.rmvb.part", "ab.rmvb.part.ranges", "ab", "abc.txt", "Ab.rmvb", "xab.rmvb",
             "ab.rmvb.bak"});
  commands.DeleteSelectedTaskFiles();
  ExpectAskedAbout({"ab.rmvb", "ab.rmvb.part", "ab.rmvb.part.ranges"});
  EXPECT_EQ(h.folder.ListNames(),
            "Qvod c.htm config.dll date.dat date_f.dat dl");  // nothing beside the folder
  for (const char* kept : {"ab", "abc.txt", "Ab.rmvb", "xab.rmvb", "ab.rmvb.bak"}) {
    EXPECT_TRUE(h.folder.Exists(std::string("dl/") + kept)) << kept;
  }
  EXPECT_FALSE(h.folder.Exists("dl/ab.rmvb") || h.folder.Exists("dl/ab.rmvb.part"));
  EXPECT_TRUE(h.tray.balloons.empty());
  EXPECT_EQ(ReadUtf8("date.dat"), kWebTask);
  // dl/ came from the files kept with the settings, not from the helper's
  // own folder (which a system installation may not write).
}

TEST_F(DownloadCommandsTest, NoKeepsTheFilesAndOpensTheFolder) {
  ChooseTaskWithFile("abcdefgh.rmvb");
  SaveFiles({"abcd.part", "abcdefgh.rmvb.part", "abc.rmvb"});
  h.prompt.answers = {false};
  commands.DeleteSelectedTaskFiles();
  ExpectAskedAbout({"abcdefgh.rmvb.part"});
  EXPECT_TRUE(h.folder.Exists("dl/abcdefgh.rmvb.part"));
  EXPECT_EQ(launchers.opened, std::vector<std::string>{FileUri(save)});
  EXPECT_EQ(ReadUtf8("date.dat"), kWebTask);  // the task goes whatever the answer
}

TEST_F(DownloadCommandsTest, ANameThatWouldLeaveTheSaveFolderTouchesNothing) {
  h.folder.Write("victim.rmvb", "x");
  SaveFiles({"victim.rmvb"});
  // "../victim.rmvb" and "dl/victim.rmvb" escaped as the service sends them.
  for (const char* name : {"..%252Fvictim.rmvb", "%252E%252E", "sub%252Fvictim.rmvb", "..%2Fvictim.rmvb"}) {
    ChooseTaskWithFile(name);
    commands.DeleteSelectedTaskFiles();
  }
  EXPECT_TRUE(h.prompt.questions.empty());
  EXPECT_TRUE(h.folder.Exists("victim.rmvb") && h.folder.Exists("dl/victim.rmvb"));
  // A save folder written without its final "/" still means that folder.
  SetSaveFolder(save.substr(0, save.size() - 1));
  ChooseTaskWithFile("victim.rmvb");
  commands.DeleteSelectedTaskFiles();
  ASSERT_EQ(h.prompt.questions.size(), 1U);
  EXPECT_FALSE(h.folder.Exists("dl/victim.rmvb"));
  EXPECT_TRUE(h.folder.Exists("victim.rmvb"));
}

TEST_F(DownloadCommandsTest, WithoutMatchingFilesOnlyTheTaskGoes) {
  commands.DeleteSelectedTaskFiles();  // no row right-clicked yet
  EXPECT_TRUE(h.log.entries.empty());
  SaveFiles({"other.rmvb"});
  ChooseTaskWithFile("ab.rmvb");
  commands.DeleteSelectedTaskFiles();
  commands.Web3ContextMenu({"open://1", 0, 0});  // a web task has no file
  commands.DeleteSelectedTaskFiles();
  EXPECT_TRUE(h.prompt.questions.empty());
  EXPECT_TRUE(launchers.opened.empty());
  EXPECT_EQ(ReadUtf8("date.dat"), "\r\n");
  EXPECT_EQ(h.web[3].navigations.at(0), "delk://2");
}

TEST_F(DownloadCommandsTest, FilesTheSystemWillNotDeleteAreReportedInABalloon) {
  SetSaveFolder("/proc/self/");  // its files resist even root
  ChooseTaskWithFile("cmdline");
  commands.DeleteSelectedTaskFiles();
  EXPECT_EQ(h.prompt.questions.at(0).text, "确定要删除 [/proc/self/] 下面的这些文件吗？\r\n\r\ncmdline\r\n");
  ASSERT_EQ(h.tray.balloons.size(), 1U);
  EXPECT_EQ(h.tray.balloons[0].text, "部分文件可能正在使用中，未删除成功！请手动删除！");
  EXPECT_EQ(ReadUtf8("date.dat"), kWebTask);
}

TEST_F(DownloadCommandsTest, TheDownloadFolderOpensOnlyWithFilesAndAfterTopmostEnds) {
  h.folder.Write("dl/.hidden", "x");
  std::filesystem::create_directory(h.folder / "dl" / "sub");
  commands.ShowDownloadFolder();
  ASSERT_EQ(h.prompt.notices.size(), 1U);
  EXPECT_EQ(h.prompt.notices[0].text, "路径" + save + "还没有任何影片。");

  SaveFiles({"a film.rmvb"});
  ClickTitleBarButton(h.window, 4);
  h.log.entries.clear();
  commands.ShowDownloadFolder();
  EXPECT_EQ(h.window.model[Npc(4)].tooltip, "置顶");
  EXPECT_EQ(h.log.entries,
            (std::vector<std::string>{"host.SetTopmost(false)", "Open(" + FileUri(save) + ")"}));
  EXPECT_EQ(FileUri(save).find(' '), std::string::npos);
}

TEST(DownloadedFiles, TheNameComesFromTheHelpersAddressEscapedTwice) {
  EXPECT_EQ(DownloadFileName("1|t|e|qvod%3A//9%7Ch%7C%25u7B2C1%25u96C6.rmvb%7C|0|0|0"), "第1集.rmvb");
  EXPECT_EQ(DownloadFileName("1|t|e|http%3A//127.0.0.1/a.mp4|0|0|0"), "");  // a web task
  EXPECT_EQ(DownloadFileName("1|t|e|http%3A//127.0.0.1/qvod/a.mp4|0|0|0"), "a.mp4");
  EXPECT_EQ(DownloadFileName("1|t|e|qvod%3A//9%7Ch|0|0|0"), "");
  EXPECT_EQ(DownloadFileName("1|t|e"), "");
}

}  // namespace
}  // namespace taviro
