#include "ui/settings/settings_dialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "helper/vendor_save_path.h"
#include "settings/settings_store.h"
#include "support/call_log.h"
#include "support/fake_dialog_window.h"
#include "support/fake_folder_chooser.h"
#include "support/fake_process_table.h"
#include "support/fake_program_launcher.h"
#include "support/fake_prompt.h"
#include "support/fake_uri_launcher.h"
#include "support/temp_folder.h"

namespace taviro {
namespace {

using Log = std::vector<std::string>;

constexpr const char* kSite = "http://127.0.0.1:9/site/";
const std::vector<std::string> kOptionKeys{"quit", "qvodk", "s_size", "s_h",
                                           "s_bo", "s_jd",  "qvodqi", "s_pao"};

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.on_pending_events = [this] { busy_when_shown.push_back(m.busy); };
    // Default folders live under HOME; they must land in the test's folder.
    if (const char* home = std::getenv("HOME")) saved_home_ = home;
    ::setenv("HOME", folder.path().c_str(), 1);
  }
  void TearDown() override { ::setenv("HOME", saved_home_.c_str(), 1); }

  std::string Setting(std::string_view key) const { return ReadSetting(config, "S_q", key, "<missing>"); }
  void SetSetting(std::string_view key, std::string_view value) const {
    WriteSetting(config, "S_q", key, value);
  }
  // A helper installed in its own folder, as a system installation has it,
  // whose INI file beside the settings names `save_path`.
  void InstallVendor(std::string_view save_path) const {
    std::filesystem::create_directories(vendor);
    std::filesystem::create_directories(files);
    SetSetting("qvodw", vendor);
    WriteSetting(files + "QvodCfg.ini", "NBQVODTERMINAL", "defaultsavepath", save_path);
  }
  std::string VendorSavePath() const {
    return ReadSetting(files + "QvodCfg.ini", "NBQVODTERMINAL", "defaultsavepath", "<missing>");
  }
  // Helpers of this installation, running.
  void HelpersRunning(std::initializer_list<std::int32_t> ids) {
    for (std::int32_t id : ids)
      processes.entries.push_back({id, "QvodTerminal.exe", vendor + "QvodTerminal.exe"});
  }

  testing::TempFolder folder;
  const std::filesystem::path config = folder / "config.dll";
  const std::string vendor = (folder / "lib/Qvod").string() + "/";
  const std::string files = (folder / "Qvod").string() + "/";
  const std::string films = (folder / "films").string() + "/";
  testing::CallLog log;
  testing::FakeDialogWindow window{&log};
  testing::FakePrompt prompt{&log};
  testing::FakeFolderChooser chooser;
  testing::FakeProcessTable processes;
  testing::FakeProgramLauncher launcher{&log};
  testing::FakeUriLauncher desktop{&log};
  SettingsDialog dialog{SettingsDialogPorts{window, prompt, chooser, processes, launcher, desktop}, config,
                        kSite};
  const SettingsDialogModel& m = dialog.model();
  // What "please wait" showed each time the window repainted.
  std::vector<bool> busy_when_shown;

 private:
  std::string saved_home_;
};

TEST_F(SettingsDialogTest, OnlyAStoredOneClearsABoxAndApplyWritesAllEightInOrder) {
  dialog.Show();
  EXPECT_EQ(m.page, SettingsPage::kOptions);
  EXPECT_EQ(m.checks, (std::array<bool, kOptionCount>{true, true, true, true, true, true, true, true}));
  ASSERT_TRUE(dialog.Apply());
  std::string expected = "[S_q]\r\n";
  for (const std::string& key : kOptionKeys) expected += key + "=2\r\n";
  EXPECT_EQ(folder.Read("config.dll"), expected);

  dialog.Cancel();
  SetSetting("s_size", "1");
  SetSetting("s_h", "0");
  SetSetting("s_bo", "x");
  SetSetting("s_pao", "");
  dialog.Show();
  const auto checked = [this](DialogOption option) { return m.checks[static_cast<std::size_t>(option)]; };
  EXPECT_FALSE(checked(DialogOption::kRememberSize));
  EXPECT_TRUE(checked(DialogOption::kBufferNextEpisode) && checked(DialogOption::kPlayNextEpisode) &&
              checked(DialogOption::kTrayBalloons));
}

TEST_F(SettingsDialogTest, OkWritesAClearedBoxAsOneClosesAndTheNextOpeningShowsItCleared) {
  dialog.Show();
  dialog.SelectPage(SettingsPage::kCache);
  dialog.SetCheck(DialogOption::kPlayNextEpisode, false);
  dialog.Show();  // already open: keeps its page and its edits
  EXPECT_EQ(m.page, SettingsPage::kCache);
  dialog.Ok();
  EXPECT_EQ(Setting("s_bo"), "1");
  EXPECT_EQ(Setting("s_h"), "2");
  EXPECT_FALSE(window.shown);
  EXPECT_FALSE(m.open);

  dialog.Show();
  EXPECT_FALSE(m.checks[static_cast<std::size_t>(DialogOption::kPlayNextEpisode)]);
  EXPECT_EQ(m.page, SettingsPage::kOptions);
  dialog.SetCheck(DialogOption::kPlayNextEpisode, true);
  dialog.Cancel();
  EXPECT_EQ(Setting("s_bo"), "1");
  EXPECT_TRUE(prompt.notices.empty());
}

TEST_F(SettingsDialogTest, AnUnchangedFolderWritesTheKeysOnly) {
  InstallVendor(films);
  HelpersRunning({7});
  dialog.Show();
  EXPECT_EQ(m.folder_text, films);
  dialog.SetFolderText(films.substr(0, films.size() - 1));  // the same folder without its "/"
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(Setting("s_jd"), "2");
  EXPECT_EQ(m.folder_text, films);
  EXPECT_TRUE(processes.terminated.empty());
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_TRUE(prompt.notices.empty());
}

TEST_F(SettingsDialogTest, ANewFolderEndsTheHelperStoresTheFolderRestartsItAndSaysSo) {
  InstallVendor(films);
  // Only this installation's vendor processes are ended, not another copy's.
  processes.entries = {{3, "QvodPlayer.exe", vendor + "QvodPlayer.exe"},
                       {4, "bash", "/usr/bin/bash"},
                       {5, "QvodTerminal.exe", vendor + "QvodTerminal.exe"},
                       {6, "QvodTerminal.exe", vendor + "QvodTerminal.exe"},
                       {7, "QvodTerminal.exe", "/opt/other/Qvod/QvodTerminal.exe"},
                       {8, "QvodTerminal.exe.bak", vendor + "QvodTerminal.exe.bak"}};
  dialog.Show();
  const std::string moved = (folder / "新的 文件夹").string();
  dialog.SetFolderText(moved);
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(processes.terminated, (std::vector<std::int32_t>{3, 5, 6}));
  EXPECT_EQ(VendorSavePath(), moved + "/");
  EXPECT_TRUE(std::filesystem::is_directory(moved));  // a missing folder is made
  EXPECT_EQ(m.current_cache_folder, moved + "/");
  EXPECT_EQ(log.entries,
            (Log{"dialog.Show", "dialog.ProcessPendingEvents", "launch(" + vendor + "QvodTerminal.exe)",
                 "dialog.ProcessPendingEvents", "prompt.Inform"}));
  // "Please wait" is shown while the folder moves and gone before the message.
  EXPECT_EQ(busy_when_shown, (std::vector<bool>{true, false}));
  EXPECT_EQ(prompt.notices.at(0).caption, "提示：");
  EXPECT_EQ(prompt.notices.at(0).text, "缓存路径修改成功！");
  EXPECT_FALSE(folder.Exists("lib/Qvod/QvodCfg.ini"));  // the helper's own folder is not written

  // Applying again changes nothing more.
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(prompt.notices.size(), 1U);
  EXPECT_EQ(launcher.started.size(), 1U);
}

TEST_F(SettingsDialogTest, TextThatIsNotAnAbsolutePathMeansTheDefaultCacheFolder) {
  InstallVendor(films);
  dialog.Show();
  dialog.SetFolderText("Media");
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(VendorSavePath(), DefaultCacheFolder());
  EXPECT_EQ(m.folder_text, DefaultCacheFolder());
}

TEST_F(SettingsDialogTest, AnEmptyHelperFolderShowsTheDefaultAndTheFirstApplyMovesThere) {
  InstallVendor("0");
  folder.Write("Qvod/QvodPlayer.xml", "<P>\r\n<S Defaultsavepath=\"\"/>\r\n</P>\r\n");
  dialog.Show();
  EXPECT_EQ(m.current_cache_folder, "");
  EXPECT_EQ(m.folder_text, DefaultCacheFolder());
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(VendorSavePath(), DefaultCacheFolder());
  EXPECT_EQ(prompt.notices.at(0).text, "缓存路径修改成功！");
}

TEST_F(SettingsDialogTest, BrowseAsksForTheFolderAndACancelRestoresTheCurrentOne) {
  InstallVendor(films);
  dialog.Show();
  chooser.answer = "/srv/video";
  dialog.Browse();
  EXPECT_EQ(chooser.requests.at(0).initial_folder, films);
  EXPECT_EQ(chooser.requests.at(0).title, "请选择影片下载存放的文件夹");
  EXPECT_EQ(m.folder_text, "/srv/video/");

  chooser.answer = "";
  dialog.Browse();
  EXPECT_EQ(m.folder_text, films);
}

TEST_F(SettingsDialogTest, ACancelledBrowseWithNoCurrentFolderKeepsTheFieldNeverTheRoot) {
  InstallVendor("0");
  folder.Write("Qvod/QvodPlayer.xml", "<S Defaultsavepath=\"\"/>\r\n");
  dialog.Show();
  dialog.SetFolderText("/data/films");
  dialog.Browse();
  EXPECT_EQ(m.folder_text, "/data/films/");
}

TEST_F(SettingsDialogTest, AFolderThatCannotBeMadeIsRefusedButTheOptionsAreWritten) {
  InstallVendor(films);
  folder.Write("plain-file", "x");
  HelpersRunning({5});
  dialog.Show();
  dialog.SetCheck(DialogOption::kPlayNextEpisode, false);
  const std::string bad = (folder / "plain-file" / "films").string();
  dialog.SetFolderText(bad);
  dialog.Ok();
  ASSERT_EQ(prompt.notices.size(), 1U);
  EXPECT_NE(prompt.notices[0].text.find(bad), std::string::npos);
  EXPECT_NE(prompt.notices[0].text.find("不能创建或不能写入"), std::string::npos);
  EXPECT_EQ(Setting("s_bo"), "1");
  EXPECT_EQ(VendorSavePath(), films);
  EXPECT_TRUE(processes.terminated.empty());
  EXPECT_TRUE(m.open);  // the user's text stays to be corrected
  EXPECT_EQ(m.folder_text, bad);
  EXPECT_FALSE(folder.Exists("0QvodCfg.ini"));
}

// A group's folder: another user may have planted links under the names
// the probe might use, and may read or spoil what is saved there.
TEST_F(SettingsDialogTest, AFolderOthersMayWriteIsUsedOnlyOnceTheUserAcceptsAndTheProbeFollowsNoLink) {
  InstallVendor(films);
  const std::string shared = (folder / "shared").string() + "/";
  std::filesystem::create_directories(shared);
  std::filesystem::permissions(shared, std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
  folder.Write("private", "secret");
  for (const std::string& name : {".taviro-write-test-" + std::to_string(::getpid()), std::string("probe")}) {
    std::filesystem::create_symlink(folder / "private", shared + name);
  }
  dialog.Show();
  dialog.SetFolderText(shared);
  prompt.answers = {false};
  dialog.Ok();
  EXPECT_EQ(VendorSavePath(), films);
  EXPECT_TRUE(m.open);
  ASSERT_EQ(prompt.questions.size(), 1U);
  EXPECT_NE(prompt.questions[0].text.find("其他用户也能写入"), std::string::npos);

  prompt.answers = {true};
  dialog.Ok();
  EXPECT_EQ(VendorSavePath(), shared);
  EXPECT_EQ(folder.Read("private"), "secret");
}

TEST_F(SettingsDialogTest, WithoutAKnownHelperANewFolderIsRefusedButTheOptionsAreWritten) {
  dialog.Show();
  EXPECT_EQ(m.folder_text, DefaultSavePath());
  dialog.SetFolderText(films);
  EXPECT_FALSE(dialog.Apply());
  EXPECT_EQ(prompt.notices.at(0).text, kNoVendorText);
  EXPECT_EQ(Setting("quit"), "2");
  EXPECT_FALSE(folder.Exists("Qvod/QvodCfg.ini"));
  EXPECT_TRUE(launcher.started.empty());

  // The unchanged default is accepted: only the options are written.
  dialog.SetFolderText(DefaultSavePath());
  EXPECT_TRUE(dialog.Apply());
  EXPECT_EQ(Setting("quit"), "2");
}

TEST_F(SettingsDialogTest, AHelperFileThatCannotBeWrittenIsReportedNotCalledASuccess) {
  InstallVendor(films);
  std::filesystem::remove(files + "QvodCfg.ini");
  std::filesystem::create_directory(files + "QvodCfg.ini");  // a folder where the file should be
  dialog.Show();
  dialog.SetFolderText(folder.path().string());
  EXPECT_FALSE(dialog.Apply());
  EXPECT_EQ(prompt.notices.at(0).text, kCacheNotStoredText);
  EXPECT_EQ(busy_when_shown.back(), false);
  EXPECT_EQ(launcher.started.size(), 1U);  // the ended helper comes back
  EXPECT_NE(m.current_cache_folder, folder.path().string() + "/");
}

TEST_F(SettingsDialogTest, TheLinkTheCloseGlyphAndTheBackground) {
  dialog.Show();
  dialog.LinkHover();
  EXPECT_TRUE(m.link_hot);
  dialog.LinkClick();
  EXPECT_EQ(desktop.opened, (std::vector<std::string>{kSite}));
  dialog.LinkHover();
  EXPECT_FALSE(m.link_hot);  // until the pointer has crossed a page
  dialog.PageHover();
  dialog.LinkHover();
  EXPECT_TRUE(m.link_hot);

  dialog.CloseGlyphHover(true);
  EXPECT_TRUE(m.close_hot);
  dialog.CloseGlyphHover(false);
  EXPECT_FALSE(m.close_hot);
  dialog.BackgroundPress(MouseButton::kRight);
  dialog.BackgroundPress(MouseButton::kLeft);
  EXPECT_EQ(log.entries.back(), "dialog.BeginMoveDrag");
  EXPECT_EQ(std::count(log.entries.begin(), log.entries.end(), "dialog.BeginMoveDrag"), 1);
}

}  // namespace
}  // namespace taviro
