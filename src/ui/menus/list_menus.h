#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace taviro {

class ListCommands;

// One item of a popup menu as the toolkit builds it: its name, its caption
// ("-" for a separator line, which has no command) and what choosing it
// runs.
struct MenuItemData {
  std::string_view name;
  std::string_view caption;
  std::function<void()> command;

  bool IsSeparator() const { return caption == "-"; }
};

// The network-task row menu `webc`, in display order.
std::vector<MenuItemData> WebcMenuItems(ListCommands& commands);

// The network-task list menu `c_fie`, in display order.
std::vector<MenuItemData> CFieMenuItems(ListCommands& commands);

}  // namespace taviro
