#include "ui/menus/list_menus.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "playback/list_commands_fixture.h"
#include "settings/settings_store.h"

namespace taviro {
namespace {

std::string Describe(const std::vector<MenuItemData>& items) {
  std::string text;
  for (const MenuItemData& item : items) {
    text += std::string(item.name) + "=" + std::string(item.caption) + (item.command ? " " : "(none) ");
  }
  return text;
}

using ListMenusTest = testing::ListCommandsTest;

TEST_F(ListMenusTest, ItemsAreInDisplayOrderAndRunTheirListCommands) {
  EXPECT_EQ(Describe(WebcMenuItems(commands)), "c_f=播放选定 c_shan=删除任务 ttbn=-(none) c_shan2=删除下载 ");
  EXPECT_EQ(Describe(CFieMenuItems(commands)), "renwub=删除任务列表 wenjianb=管理下载文件 ");

  WriteUtf8("date.dat", "1|a|e|u|0|0|0\r\n2|b|e|u|0|0|0\r\n3|c|e|u|0|0|0\r\n");
  const std::vector<MenuItemData> row = WebcMenuItems(commands);
  row[0].command();  // no row right-clicked yet
  row[1].command();
  EXPECT_TRUE(h.web[3].navigations.empty());
  commands.Web3ContextMenu({"open://3", 0, 0});
  row[0].command();
  row[1].command();
  commands.Web3ContextMenu({"open://1", 0, 0});
  row[3].command();
  EXPECT_EQ(h.web[3].navigations.at(0), "open://3");
  EXPECT_EQ(h.web[3].navigations.at(1), "delk://3");
  EXPECT_EQ(ReadUtf8("date.dat"), "2|b|e|u|0|0|0\r\n");

  // The helper saves into dl/, which holds a film: the folder is shown.
  const std::string save = (h.folder / "dl").string() + "/";
  for (const char* folder : {"Qvod", "dl"}) std::filesystem::create_directories(h.folder / folder);
  WriteSetting((h.folder / "Qvod" / "QvodCfg.ini").string(), "NBQVODTERMINAL", "defaultsavepath", save);
  h.folder.Write("dl/a.mp4", "x");
  h.prompt.answers = {false};
  const std::vector<MenuItemData> list = CFieMenuItems(commands);
  list[0].command();
  list[1].command();
  EXPECT_EQ(h.prompt.questions.at(0).text, "确定要删除全部[网络任务]列表吗？");
  EXPECT_EQ(ReadUtf8("date.dat"), "2|b|e|u|0|0|0\r\n");  // "no" keeps the list
  EXPECT_TRUE(h.prompt.notices.empty());
  EXPECT_EQ(launchers.opened, std::vector<std::string>{FileUri(save)});
}

}  // namespace
}  // namespace taviro
