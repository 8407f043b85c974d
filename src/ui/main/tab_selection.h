#pragma once

#include <string_view>

namespace taviro {

struct MainWindow;

// Main tabs 8 (catalogue), 9 (player), 13 (TV), 14 (highlights) and
// side-panel tabs 7 (local files), 11 (episode list), 12 (network tasks).
// Selecting the selected tab does nothing unless forced; a forced select
// repaints the current tab selected and leaves its page shown, which is how
// a skin change brings the tabs back. Other indexes are ignored.
void SelectMainTab(MainWindow& window, int tab, bool force);
void SelectSideTab(MainWindow& window, int tab, bool force);

inline constexpr std::string_view kClearListCaption = "∴ 清空列表";
inline constexpr std::string_view kManageTasksCaption = "∴ 管理任务";

}  // namespace taviro
