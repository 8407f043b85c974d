#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace taviro {

// One item of a popup menu as the toolkit builds it: its name, its caption
// ("-" for a separator line, which has no command), what choosing it runs,
// and the items of its submenu. A hidden item is kept in the tree (other
// code names it) but never shown and has no command.
struct MenuItemData {
  std::string_view name;
  std::string_view caption;
  std::function<void()> command;
  std::vector<MenuItemData> submenu = {};
  bool hidden = false;

  bool IsSeparator() const { return caption == "-"; }
};

}  // namespace taviro
