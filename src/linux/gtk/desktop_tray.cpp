#include "linux/gtk/desktop_tray.h"

#include <gdk/gdkx.h>

namespace taviro::gtk {

DesktopTray::DesktopTray(GdkPixbuf* icon, std::function<void()> on_left_click,
                         std::function<void()> on_right_click)
    : icon_(icon),
      on_left_click_(on_left_click),
      on_right_click_(on_right_click),
      legacy_(icon, std::move(on_left_click), std::move(on_right_click)) {}

DesktopTray::~DesktopTray() { Remove(); }

void DesktopTray::Add(const std::string& tooltip) {
  if (item_) {
    return;
  }
  // The old tray exists on X11 only; elsewhere a status icon is an error.
  // It is made once the bus says that no watcher shows the new icon, so the
  // two never stand side by side.
  const bool x11 = GDK_IS_X11_DISPLAY(gdk_display_get_default());
  auto on_shown = [this, x11, tooltip](bool shown) {
    if (!x11) return;
    if (!shown) legacy_.Add(tooltip);
    legacy_.SetIconVisible(!shown);
  };
  item_ = std::make_unique<StatusNotifierItem>(
      icon_, tooltip, StatusNotifierItem::Handlers{on_left_click_, on_right_click_, std::move(on_shown)});
}

void DesktopTray::ShowBalloon(const std::string& title, const std::string& text) {
  legacy_.ShowBalloon(title, text);
}

bool DesktopTray::Embedded() const { return (item_ && item_->Shown()) || legacy_.Embedded(); }

void DesktopTray::Remove() {
  item_.reset();
  legacy_.Remove();
}

}  // namespace taviro::gtk
