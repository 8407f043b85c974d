#include "ui/main/tab_selection.h"

#include <optional>

#include "ui/main/main_window.h"
#include "ui/main/tab_faces.h"

namespace taviro {
namespace {

std::optional<RegionId> MainTabPage(int tab) {
  switch (tab) {
    case npc::kCatalogueTab: return RegionId::zzp;
    case npc::kPlayerTab: return RegionId::zz;
    case npc::kTvTab: return RegionId::tv;
    case npc::kHighlightsTab: return RegionId::ying;
    default: return std::nullopt;
  }
}

std::optional<RegionId> SideTabList(int tab) {
  switch (tab) {
    case npc::kLocalFilesTab: return RegionId::Pic4;
    case npc::kEpisodeListTab: return RegionId::Pic5;
    case npc::kTaskListTab: return RegionId::Pic3;
    default: return std::nullopt;
  }
}

}  // namespace

void SelectMainTab(MainWindow& window, int tab, bool force) {
  WindowModel& model = window.model;
  const auto new_page = MainTabPage(tab);
  if (!new_page) return;
  if (tab == model.CurrentMainTab && !force) return;
  if (const auto old_page = MainTabPage(model.CurrentMainTab)) {
    model[Npc(model.CurrentMainTab)].face = MainTabFace(model.CurrentMainTab, false);
    if (!force) model[*old_page].visible = false;
  }
  model[Npc(tab)].face = MainTabFace(tab, true);
  model[*new_page].visible = true;
  model.CurrentMainTab = tab;
}

void SelectSideTab(MainWindow& window, int tab, bool force) {
  WindowModel& model = window.model;
  const auto new_list = SideTabList(tab);
  if (!new_list) return;
  if (tab == model.CurrentSideTab && !force) return;
  if (const auto old_list = SideTabList(model.CurrentSideTab)) {
    model[Npc(model.CurrentSideTab)].face = SideTabFace(model.CurrentSideTab, false);
    model[*old_list].visible = false;
  }
  model[Npc(tab)].face = SideTabFace(tab, true);
  model[*new_list].visible = true;
  model[RegionId::qk].caption = tab == 7 ? kClearListCaption : kManageTasksCaption;
  model.CurrentSideTab = tab;
}

}  // namespace taviro
