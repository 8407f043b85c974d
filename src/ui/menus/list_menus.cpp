#include "ui/menus/list_menus.h"

#include "lists/list_commands.h"

namespace taviro {

std::vector<MenuItemData> WebcMenuItems(ListCommands& commands) {
  return {
      {"c_f", "播放选定", [&commands] { commands.CCC(); }},
      {"c_shan", "删除任务", [&commands] { commands.ddd(); }},
      {"ttbn", "-", nullptr},
      {"c_shan2", "删除下载", [&commands] { commands.eee(); }},
  };
}

std::vector<MenuItemData> CFieMenuItems(ListCommands& commands) {
  return {
      {"renwub", "删除任务列表", [&commands] { commands.qk_xl(); }},
      {"wenjianb", "管理下载文件", [&commands] { commands.qk_xw(); }},
  };
}

}  // namespace taviro
