#pragma once

#include <gtk/gtk.h>

#include <array>
#include <functional>

#include "platform/linux/gtk/gobject_ptr.h"
#include "platform/menu_presenter.h"

namespace taviro::gtk {

// The menu carrier: the window's popup menus as GtkMenus. Items are added by
// the code that owns their commands.
class GtkMenus final : public MenuPresenter {
 public:
  GtkMenus();
  void SetAnchor(GtkWidget* anchor) { anchor_ = anchor; }
  GtkMenus(const GtkMenus&) = delete;
  GtkMenus& operator=(const GtkMenus&) = delete;
  ~GtkMenus() override;

  // Appends an item; `command` runs when it is chosen.
  GtkWidget* AddItem(PopupMenu menu, const char* caption, std::function<void()> command);
  void AddSeparator(PopupMenu menu);

  void PopupAt(PopupMenu menu, int x, int y) override;
  void PopupAtPointer(PopupMenu menu) override;

 private:
  struct Item {
    std::function<void()> command;
  };
  static void OnActivate(GtkMenuItem* item, gpointer data);
  static void FreeItem(gpointer data, GClosure* closure);

  GtkMenu* Menu(PopupMenu menu) const { return GTK_MENU(menus_[static_cast<std::size_t>(menu)].get()); }

  GtkWidget* anchor_ = nullptr;
  std::array<GObjectPtr<GtkWidget>, 4> menus_;
};

}  // namespace taviro::gtk
