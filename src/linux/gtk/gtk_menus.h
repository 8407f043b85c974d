#pragma once

#include <gtk/gtk.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "linux/gtk/gobject_ptr.h"
#include "ports/menu_presenter.h"
#include "ui/menus/menu_item.h"
#include "window/menu_model.h"

namespace taviro::gtk {

// The menu carrier: the window's popup menus as GtkMenus, built from the
// core's item trees. Check marks and live captions are mirrored from the
// menu model before each popup and after each command.
class GtkMenus final : public MenuPresenter {
 public:
  GtkMenus();
  GtkMenus(const GtkMenus&) = delete;
  GtkMenus& operator=(const GtkMenus&) = delete;
  ~GtkMenus() override;

  void SetAnchor(GtkWidget* anchor) { anchor_ = anchor; }
  void SetModel(const MenuModel* model) { model_ = model; }

  // Appends `items` (with their submenus) to `menu`.
  void AddItems(PopupMenu menu, const std::vector<MenuItemData>& items);

  // Brings check marks and captions in line with the model.
  void Sync();

  void PopupAt(PopupMenu menu, int x, int y) override;
  void PopupAtPointer(PopupMenu menu) override;

  GtkWidget* Widget(PopupMenu menu) const { return menus_[static_cast<std::size_t>(menu)].get(); }

 private:
  struct Item {
    GtkMenus* owner;
    std::function<void()> command;
  };
  // A shown item whose look follows the model.
  struct Mirror {
    GtkWidget* widget;
    MenuItemData item;  // name and fixed caption; the command is not kept here
  };

  // A submenu filled anew before each popup.
  struct Live {
    GtkWidget* submenu;
    std::function<std::vector<LiveMenuItem>()> fill;
  };

  void FillLiveSubmenus();
  void Append(GtkMenuShell* shell, const std::vector<MenuItemData>& items);
  GtkWidget* NewItem(const MenuItemData& item);
  void Connect(GtkWidget* widget, std::function<void()> command);
  static void OnActivate(GtkMenuItem* item, gpointer data);
  static void FreeItem(gpointer data, GClosure* closure);

  GtkMenu* Menu(PopupMenu menu) const { return GTK_MENU(menus_[static_cast<std::size_t>(menu)].get()); }

  GtkWidget* anchor_ = nullptr;
  const MenuModel* model_ = nullptr;
  std::array<GObjectPtr<GtkWidget>, kPopupMenuCount> menus_;
  std::vector<Mirror> mirrors_;
  std::vector<Live> live_;
  bool syncing_ = false;
};

}  // namespace taviro::gtk
