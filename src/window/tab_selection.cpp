#include "window/tab_selection.h"

#include "window/main_window.h"
#include "window/tab_faces.h"

namespace taviro {
namespace {

RegionId MainTabPage(MainTab tab) {
  switch (tab) {
    case MainTab::kCatalogue: return RegionId::zzp;
    case MainTab::kPlayer: return RegionId::zz;
    case MainTab::kTv: return RegionId::tv;
    case MainTab::kHighlights: return RegionId::ying;
  }
  return RegionId::zzp;
}

RegionId SideTabList(SideTab tab) {
  switch (tab) {
    case SideTab::kLocalFiles: return RegionId::Pic4;
    case SideTab::kEpisodes: return RegionId::Pic5;
    case SideTab::kTasks: return RegionId::Pic3;
  }
  return RegionId::Pic3;
}

}  // namespace

void SelectMainTab(MainWindow& window, MainTab tab, bool force) {
  WindowModel& model = window.model;
  if (tab == model.main_tab && !force) return;
  model[Npc(ButtonOf(model.main_tab))].face = MainTabFace(ButtonOf(model.main_tab), false);
  if (!force) model[MainTabPage(model.main_tab)].visible = false;
  model[Npc(ButtonOf(tab))].face = MainTabFace(ButtonOf(tab), true);
  model[MainTabPage(tab)].visible = true;
  model.main_tab = tab;
}

void SelectSideTab(MainWindow& window, SideTab tab, bool force) {
  WindowModel& model = window.model;
  if (tab == model.side_tab && !force) return;
  model[Npc(ButtonOf(model.side_tab))].face = SideTabFace(ButtonOf(model.side_tab), false);
  model[SideTabList(model.side_tab)].visible = false;
  model[Npc(ButtonOf(tab))].face = SideTabFace(ButtonOf(tab), true);
  model[SideTabList(tab)].visible = true;
  model[RegionId::qk].caption = tab == SideTab::kLocalFiles ? kClearListCaption : kManageTasksCaption;
  model.side_tab = tab;
}

}  // namespace taviro
