#include "ui/menus/list_menus.h"

#include "playback/list_commands.h"
#include "util/translate.h"

namespace taviro {

std::vector<MenuItemData> WebcMenuItems(ListCommands& commands) {
  return {
      {"c_f", N_("播放选定"), [&commands] { commands.PlaySelectedRow(); }},
      {"c_shan", N_("删除任务"), [&commands] { commands.DeleteSelectedRow(); }},
      {"ttbn", "-", nullptr},
      {"c_shan2", N_("删除下载"), [&commands] { commands.DeleteSelectedTaskFiles(); }},
  };
}

std::vector<MenuItemData> CFieMenuItems(ListCommands& commands) {
  return {
      {"renwub", N_("删除任务列表"), [&commands] { commands.ClearNetworkTasks(); }},
      {"wenjianb", N_("管理下载文件"), [&commands] { commands.ShowDownloadFolder(); }},
  };
}

}  // namespace taviro
