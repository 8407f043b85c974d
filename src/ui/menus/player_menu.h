#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "ui/menus/menu_item.h"
#include "window/menu_model.h"

namespace taviro {

struct MainWindow;

// The player menu `qvod_m`, in display order, its commands bound to `window`.
std::vector<MenuItemData> PlayerMenuItems(MainWindow& window);

// A right press in the player area: the player menu at the pointer, only
// while the player holds a media address.
void PlayerAreaRightPress(MainWindow& window);

// The radio groups: each choice tells the player (picture fit and sound
// channel) and moves the group's one check mark to it.
void ChoosePictureFit(MainWindow& window, PictureFit fit);
void ChooseSoundChannel(MainWindow& window, SoundChannel channel);
void ChooseAfterPlayback(MainWindow& window, bool shut_down);

// "精简模式" enters mini mode, "退出精简" leaves it; the caption says which.
void MiniModeItemClick(MainWindow& window);

// Whether the item `name` carries a check mark now; nothing for items that
// are not in a radio group.
std::optional<bool> CheckMark(const MenuModel& menu, std::string_view name);

// The caption the item shows now: the mini-mode and mute items keep theirs
// in the model, every other item shows its fixed caption.
std::string_view LiveCaption(const MenuModel& menu, const MenuItemData& item);

}  // namespace taviro
