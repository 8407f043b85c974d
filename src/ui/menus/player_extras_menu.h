#pragma once

#include <string>
#include <vector>

#include "ports/player_extras.h"
#include "ui/menus/menu_item.h"

namespace taviro {

class MediaChoices;

// "字幕", "音轨", "播放速度" and "截图", appended to the player menu; the
// three submenus list what the item playing offers, with a check on the
// current choice.
std::vector<MenuItemData> PlayerExtrasMenuItems(MediaChoices& choices);

// A track as its menu item reads: its number, its language in Chinese where
// known, and its title, or for a subtitle file the file's name.
std::string TrackCaption(const MediaTrack& track, const std::string& source_file);

// "1.25倍"; "1倍(正常)" for the normal speed.
std::string SpeedCaption(double rate);

}  // namespace taviro
