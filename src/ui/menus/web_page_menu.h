#pragma once

#include <vector>

#include "ui/menus/menu_item.h"

namespace taviro {

struct MainWindow;

// The catalogue page menu `myMenu`, acting on the catalogue view `Web1`.
std::vector<MenuItemData> WebPageMenuItems(MainWindow& window);

}  // namespace taviro
