#include "linux/gtk/status_icon_tray.h"

#include <cstdio>
#include <cstdlib>

// GtkStatusIcon is deprecated in GTK 3 but is the one tray API that reports a
// plain left click; it is used on purpose.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace taviro::gtk {
namespace {

// The installed desktop file's name, and the icon's name in the theme.
constexpr const char* kDesktopEntry = "org.taviro.Taviro";

}  // namespace

StatusIconTray::StatusIconTray(GdkPixbuf* icon, std::function<void()> on_left_click,
                               std::function<void()> on_right_click)
    : icon_picture_(icon),
      on_left_click_(std::move(on_left_click)),
      on_right_click_(std::move(on_right_click)) {
  notify_ready_ = notify_init("Taviro") != FALSE;
}

StatusIconTray::~StatusIconTray() {
  Remove();
  if (notify_ready_) {
    balloon_.Reset();
    notify_uninit();
  }
}

void StatusIconTray::Add(const std::string& tooltip) {
  if (icon_) {
    return;
  }
  icon_ = GObjectPtr<GtkStatusIcon>::Adopt(
      icon_picture_ != nullptr ? gtk_status_icon_new_from_pixbuf(icon_picture_) : gtk_status_icon_new());
  gtk_status_icon_set_tooltip_text(icon_.get(), tooltip.c_str());
  gtk_status_icon_set_title(icon_.get(), tooltip.c_str());
  g_signal_connect(icon_.get(), "activate", G_CALLBACK(OnActivate), this);
  g_signal_connect(icon_.get(), "popup-menu", G_CALLBACK(OnPopupMenu), this);
  g_signal_connect(icon_.get(), "notify::embedded", G_CALLBACK(OnEmbeddedChanged), this);
  gtk_status_icon_set_visible(icon_.get(), TRUE);
}

void StatusIconTray::ShowBalloon(const std::string& title, const std::string& text) {
  if (!notify_ready_) {
    return;
  }
  if (!balloon_) {
    // The shell files the balloon under the installed program by its
    // desktop entry, and shows the program's icon for it.
    balloon_ = GObjectPtr<NotifyNotification>::Adopt(
        notify_notification_new(title.c_str(), text.c_str(), kDesktopEntry));
    notify_notification_set_hint_string(balloon_.get(), "desktop-entry", kDesktopEntry);
    if (icon_picture_ != nullptr) {
      notify_notification_set_image_from_pixbuf(balloon_.get(), icon_picture_);
    }
  } else {
    notify_notification_update(balloon_.get(), title.c_str(), text.c_str(), kDesktopEntry);
  }
  GError* error = nullptr;
  if (!notify_notification_show(balloon_.get(), &error)) {
    // No notification service on this desktop: balloons are simply not seen.
    if (std::getenv("TAVIRO_DEBUG") != nullptr && error != nullptr) {
      std::fprintf(stderr, "taviro: balloon not shown: %s\n", error->message);
    }
  }
  if (error != nullptr) {
    g_error_free(error);
  }
}

void StatusIconTray::SetIconVisible(bool visible) {
  if (icon_) {
    gtk_status_icon_set_visible(icon_.get(), visible ? TRUE : FALSE);
  }
}

bool StatusIconTray::Embedded() const {
  return icon_ && gtk_status_icon_get_visible(icon_.get()) != FALSE &&
         gtk_status_icon_is_embedded(icon_.get()) != FALSE;
}

void StatusIconTray::Remove() {
  if (icon_) {
    g_signal_handlers_disconnect_by_data(icon_.get(), this);
    gtk_status_icon_set_visible(icon_.get(), FALSE);
    icon_.Reset();
  }
}

void StatusIconTray::OnActivate(GtkStatusIcon* /*icon*/, gpointer data) {
  auto* self = static_cast<StatusIconTray*>(data);
  if (self->on_left_click_) {
    self->on_left_click_();
  }
}

void StatusIconTray::OnEmbeddedChanged(GObject* icon, GParamSpec* /*property*/, gpointer data) {
  if (std::getenv("TAVIRO_DEBUG") != nullptr) {
    const bool embedded = gtk_status_icon_is_embedded(GTK_STATUS_ICON(icon)) != FALSE;
    std::fprintf(stderr, "taviro: tray icon %s\n", embedded ? "embedded" : "not embedded");
  }
  auto* self = static_cast<StatusIconTray*>(data);
  if (self->on_embedded_changed_) self->on_embedded_changed_();
}

void StatusIconTray::OnPopupMenu(GtkStatusIcon* /*icon*/, guint /*button*/, guint /*time*/, gpointer data) {
  auto* self = static_cast<StatusIconTray*>(data);
  if (self->on_right_click_) {
    self->on_right_click_();
  }
}

}  // namespace taviro::gtk
