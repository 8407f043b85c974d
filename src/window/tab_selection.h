#pragma once

#include <string_view>

#include "util/translate.h"
#include "window/npc_buttons.h"

namespace taviro {

struct MainWindow;

// Selecting the selected tab does nothing unless forced; a forced select
// repaints the current tab selected and leaves its page shown, which is how
// a skin change brings the tabs back.
void SelectMainTab(MainWindow& window, MainTab tab, bool force);
void SelectSideTab(MainWindow& window, SideTab tab, bool force);

inline constexpr std::string_view kClearListCaption = N_("∴ 清空列表");
inline constexpr std::string_view kManageTasksCaption = N_("∴ 管理任务");

}  // namespace taviro
