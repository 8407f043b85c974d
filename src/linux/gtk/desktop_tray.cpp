#include "linux/gtk/desktop_tray.h"

#include <gdk/gdkx.h>

#include "util/translate.h"

namespace taviro::gtk {
namespace {

// The desktop file's name: the installed icon's name in the theme too.
constexpr const char* kIconName = "org.taviro.Taviro";

// A portable copy's icon is in no theme; the panel then paints the picture.
std::string ThemedIconName() {
  GtkIconTheme* theme = gtk_icon_theme_get_default();
  return theme != nullptr && gtk_icon_theme_has_icon(theme, kIconName) != FALSE ? kIconName : "";
}

}  // namespace

DesktopTray::DesktopTray(GdkPixbuf* icon, Handlers handlers)
    : icon_(icon),
      handlers_(std::move(handlers)),
      legacy_(icon, handlers_.left_click, handlers_.right_click) {
  legacy_.SetEmbeddedChanged([this] {
    if (handlers_.reach_changed) handlers_.reach_changed();
  });
}

DesktopTray::~DesktopTray() { Remove(); }

void DesktopTray::Add(const std::string& caption) {
  const std::string tooltip = Tr(caption);
  if (item_) {
    return;
  }
  // The old tray exists on X11 only; elsewhere a status icon is an error.
  // It is made once the bus says that no host shows the new icon, so the
  // two never stand side by side.
  const bool x11 = GDK_IS_X11_DISPLAY(gdk_display_get_default());
  auto on_shown = [this, x11, tooltip](bool shown) {
    if (x11) {
      if (!shown) legacy_.Add(tooltip);
      legacy_.SetIconVisible(!shown);
    }
    if (handlers_.reach_changed) handlers_.reach_changed();
  };
  StatusNotifierItem::Look look{tooltip, ThemedIconName(), ""};
  if (menu_ != nullptr) {
    menu_export_ = std::make_unique<TrayMenuExport>(menu_, handlers_.show_window);
    look.menu_path = TrayMenuExport::kObjectPath;
  }
  item_ = std::make_unique<StatusNotifierItem>(
      icon_, std::move(look),
      StatusNotifierItem::Handlers{handlers_.left_click, [this](int x, int y) { PopupMenuAt(x, y); },
                                   std::move(on_shown)});
}

// A host that asks the item for its menu instead of reading the exported
// one: the menu opens at the point the host names. Only X11 lets a program
// place a menu at screen coordinates; elsewhere the exported menu serves.
void DesktopTray::PopupMenuAt(int x, int y) {
  GdkDisplay* display = gdk_display_get_default();
  if (menu_ == nullptr || !GDK_IS_X11_DISPLAY(display)) return;
  const GdkRectangle point{x, y, 1, 1};
  gtk_menu_popup_at_rect(GTK_MENU(menu_), gdk_get_default_root_window(), &point, GDK_GRAVITY_NORTH_WEST,
                         GDK_GRAVITY_NORTH_WEST, nullptr);
}

void DesktopTray::ShowBalloon(const std::string& title, const std::string& text) {
  legacy_.ShowBalloon(Tr(title), Tr(text));
}

bool DesktopTray::Embedded() const { return (item_ && item_->Shown()) || legacy_.Embedded(); }

void DesktopTray::Remove() {
  item_.reset();
  menu_export_.reset();
  legacy_.Remove();
}

}  // namespace taviro::gtk
