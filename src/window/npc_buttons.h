#pragma once

namespace taviro::npc {

// The indices of the `npc` buttons: title-bar commands, tabs and side-panel
// handles. `Npc(index)` is the button's region; a click on it runs its command
// through `ClickTitleBarButton`.
inline constexpr int kMinimise = 0;
inline constexpr int kMaximise = 1;  // maximise or restore
inline constexpr int kClose = 2;
inline constexpr int kMiniMode = 3;
inline constexpr int kTopmost = 4;
inline constexpr int kMainMenu = 5;
inline constexpr int kSidePanelHandle = 6;     // shows or hides the side panel
inline constexpr int kLocalFilesTab = 7;       // side tab: the local-file list
inline constexpr int kCatalogueTab = 8;        // main tab
inline constexpr int kPlayerTab = 9;           // main tab
inline constexpr int kSidePanelHeader = 10;    // a strip with no command
inline constexpr int kEpisodeListTab = 11;     // side tab
inline constexpr int kTaskListTab = 12;        // side tab: the network-task list
inline constexpr int kTvTab = 13;              // main tab
inline constexpr int kHighlightsTab = 14;      // main tab
inline constexpr int kTvSidePanelHandle = 15;  // shows or hides the TV channel list

inline constexpr int kCount = 16;

}  // namespace taviro::npc

namespace taviro {

// The main tabs and the side panel's tabs, each numbered as the button that
// selects it.
enum class MainTab : int {
  kCatalogue = npc::kCatalogueTab,
  kPlayer = npc::kPlayerTab,
  kTv = npc::kTvTab,
  kHighlights = npc::kHighlightsTab,
};
enum class SideTab : int {
  kLocalFiles = npc::kLocalFilesTab,
  kEpisodes = npc::kEpisodeListTab,
  kTasks = npc::kTaskListTab,
};
constexpr int ButtonOf(MainTab tab) { return static_cast<int>(tab); }
constexpr int ButtonOf(SideTab tab) { return static_cast<int>(tab); }

// The player's side panel and the TV page's channel list.
enum class SidePanel { kPlayer, kTvChannels };

}  // namespace taviro
