#include "platform/linux/gtk/main_window_controller.h"

#include "lists/list_commands.h"
#include "platform/linux/gtk/key_mapping.h"
#include "platform/linux/gtk/main_window_view.h"
#include "playback/control_bar.h"
#include "playback/player_keys.h"
#include "playback/seek_bar.h"
#include "playback/volume_bar.h"
#include "ui/main/button_hover.h"
#include "ui/main/catalogue_events.h"
#include "ui/main/content_mode.h"
#include "ui/main/main_window.h"
#include "ui/main/mini_mode.h"
#include "ui/main/saved_window_size.h"
#include "ui/main/title_bar_commands.h"
#include "ui/main/window_body_mouse.h"
#include "ui/main/window_state.h"
#include "ui/menus/player_menu.h"

namespace taviro::gtk {
namespace {

using R = RegionId;

// When a resize drag has produced no new size for this long and the button
// is up, the drag is over.
constexpr guint kResizeSettleMs = 300;

std::optional<int> IndexIn(RegionId region, RegionId first, int count) {
  const int index = static_cast<int>(region) - static_cast<int>(first);
  if (index >= 0 && index < count) {
    return index;
  }
  return std::nullopt;
}

std::optional<int> NpcIndex(RegionId region) { return IndexIn(region, R::npc_0, 16); }
std::optional<int> BoButIndex(RegionId region) { return IndexIn(region, R::bo_but_0, 8); }

MouseButton ToMouseButton(int button) {
  switch (button) {
    case 1: return MouseButton::kLeft;
    case 2: return MouseButton::kMiddle;
    default: return MouseButton::kRight;
  }
}

bool LeftButtonDown(GtkWidget* widget) {
  GdkDisplay* display = gtk_widget_get_display(widget);
  GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
  GdkModifierType mask{};
  gdk_device_get_state(pointer, gdk_get_default_root_window(), nullptr, &mask);
  return (mask & GDK_BUTTON1_MASK) != 0;
}

}  // namespace

MainWindowController::~MainWindowController() {
  if (resize_timer_ != 0) {
    g_source_remove(resize_timer_);
  }
}

void MainWindowController::Refresh() {
  if (view_ != nullptr) {
    view_->Sync();
  }
}

// The seek and volume bars take the pointer's x in pixels, except the parts
// whose rules measure it in twips.
bool MainWindowController::OnPlaybackPress(RegionId region, int button, int x) {
  if (control_bar_ == nullptr) {
    return false;
  }
  if (const auto index = BoButIndex(region)) {
    control_bar_->MouseDown(*index, ToMouseButton(button));
  } else if (region == R::gunt || region == R::gunt2 || region == R::huan) {
    SeekBarPressed(window_, region, ToMouseButton(button), region == R::gunt ? x : x * 15);
  } else if (region == R::yin || region == R::bo_y) {
    VolumeBarPressed(window_, region, ToMouseButton(button), region == R::yin ? x : x * 15);
  } else {
    return false;
  }
  return true;
}

void MainWindowController::OnPlaybackPointerMove(RegionId region, int x, bool left_down) {
  if (region == R::gunt1) {
    SeekThumbDragged(window_, x, left_down);
  } else if (region == R::bo_v) {
    VolumeKnobDragged(window_, x, left_down);
  }
}

void MainWindowController::OnPress(RegionId region, int button, int x, int y) {
  if (button == 3 && (region == R::Lqvod || region == R::adp || region == R::bo_ad)) {
    PlayerAreaRightPress(window_);
  } else if (const auto npc = NpcIndex(region)) {
    NpcMouseDown(window_, *npc, ToMouseButton(button));
  } else if (OnPlaybackPress(region, button, x)) {
    // handled by the control bar or a bar
  } else if (region == R::Window) {
    BodyButtonPressed(window_.model, window_.ports.host, ToMouseButton(button), x, y);
    if (window_.model.EdgeResizeActive) {
      WatchResizeDrag();
    }
  }
  Refresh();
}

void MainWindowController::OnRelease(RegionId region, int /*button*/, int x, int y) {
  if (region == R::Window) {
    BodyButtonReleased(window_.model, window_.ports.host, x, y);
  } else if (control_bar_ != nullptr &&
             (region == R::gunt || region == R::gunt1 || region == R::gunt2 || region == R::huan)) {
    SeekBarReleased(window_, region);
  }
  Refresh();
}

void MainWindowController::OnClick(RegionId region) {
  if (const auto npc = NpcIndex(region)) {
    NpcClick(window_, *npc);
  } else if (const auto button = BoButIndex(region)) {
    window_.ClickControlBar(*button);
  } else if (region == R::jbi) {
    JbiClick(window_);
  } else if (region == R::ggx) {
    GgxClick(window_);
  } else if (region == R::gtv) {
    GtvClick(window_);
  } else if (region == R::jia) {
    RetryCatalogue(window_);
  } else if (region == R::qk && list_commands_ != nullptr) {
    list_commands_->QkClick();
  }
  Refresh();
}

void MainWindowController::OnDoubleClick(RegionId region) {
  if (region == R::Window) {
    WindowDoubleClick(window_);
  } else if (region == R::Lqvod) {
    window_.ClickControlBar(3);
  }
  Refresh();
}

void MainWindowController::OnPointerMove(RegionId region, int x, int y, bool left_down) {
  const ChromeEnv chrome{window_.ports.host, window_.ports.text};
  if (const auto npc = NpcIndex(region)) {
    TitleButtonPointerMoved(window_.model, chrome, *npc, x, y);
  } else if (const auto button = BoButIndex(region)) {
    ControlButtonPointerMoved(window_.model, chrome, *button, x, y);
  } else if (region == R::Window) {
    window_.ClearNewsHover();
    BodyPointerMoved(window_.model, window_.ports.host, x, y, left_down);
  } else {
    RegionPointerMoved(window_.model, window_.ports.host, region);
    if (control_bar_ != nullptr) {
      OnPlaybackPointerMove(region, x, left_down);
    }
  }
  Refresh();
}

void MainWindowController::OnPointerLeave(RegionId region) {
  const ChromeEnv chrome{window_.ports.host, window_.ports.text};
  if (const auto npc = NpcIndex(region)) {
    TitleButtonPointerLeft(window_.model, chrome, *npc);
  } else if (const auto button = BoButIndex(region)) {
    ControlButtonPointerLeft(window_.model, chrome, *button);
  } else {
    return;
  }
  Refresh();
}

void MainWindowController::OnResized(int width, int height) {
  OnWindowResized(window_, width, height);
  if (resize_drag_) {
    WatchResizeDrag();
  }
  Refresh();
}

void MainWindowController::OnStateChanged(WindowState state) {
  OnWindowStateChanged(window_, state);
  Refresh();
}

void MainWindowController::OnCloseRequest() {
  NpcClick(window_, 2);
  Refresh();
}

void MainWindowController::OnKeyPress(unsigned key_value, unsigned /*modifiers*/) {
  if (playback_ != nullptr) {
    PlayerKeyDown(*playback_, KeyFromGdk(key_value));
    Refresh();
  }
}

// The window system runs the resize loop on its own; the end of the drag is
// when the sizes stop coming and the button is up.
void MainWindowController::WatchResizeDrag() {
  resize_drag_ = true;
  if (resize_timer_ != 0) {
    g_source_remove(resize_timer_);
  }
  resize_timer_ = g_timeout_add(kResizeSettleMs, OnResizeSettled, this);
}

gboolean MainWindowController::OnResizeSettled(gpointer data) {
  auto* self = static_cast<MainWindowController*>(data);
  if (self->view_ != nullptr && LeftButtonDown(GTK_WIDGET(self->view_->window()))) {
    return G_SOURCE_CONTINUE;
  }
  self->resize_timer_ = 0;
  self->resize_drag_ = false;
  EdgeResizeEnded(self->window_.model, self->window_.ConfigPath);
  return G_SOURCE_REMOVE;
}

}  // namespace taviro::gtk
