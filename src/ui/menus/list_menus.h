#pragma once

#include <vector>

#include "ui/menus/menu_item.h"

namespace taviro {

class ListCommands;

// The network-task row menu `webc`, in display order.
std::vector<MenuItemData> WebcMenuItems(ListCommands& commands);

// The network-task list menu `c_fie`, in display order.
std::vector<MenuItemData> CFieMenuItems(ListCommands& commands);

}  // namespace taviro
