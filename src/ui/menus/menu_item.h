#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taviro {

// An item of a submenu that is built afresh each time its menu opens, for
// choices that change with the item playing: its caption ("-" for a
// separator), its command (none shows it greyed out) and, for a choice, its
// check mark.
struct LiveMenuItem {
  std::string caption;
  std::function<void()> command;
  std::optional<bool> checked;
};

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
  // Fills the submenu when the menu opens, in place of `submenu`.
  std::function<std::vector<LiveMenuItem>()> live = {};

  bool IsSeparator() const { return caption == "-"; }
};

}  // namespace taviro
