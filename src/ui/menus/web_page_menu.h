#pragma once

#include <vector>

#include "ui/menus/menu_item.h"

namespace taviro {

struct MainWindow;
struct ContextMenuRequest;

// The catalogue page menu `myMenu`, acting on the catalogue view `Web1`.
std::vector<MenuItemData> WebPageMenuItems(MainWindow& window);

// A right click in the catalogue view: its menu at the pointer, never the
// engine's own.
void CatalogueContextMenu(MainWindow& window, const ContextMenuRequest& request);

}  // namespace taviro
