#pragma once

#include <gtk/gtk.h>

#include <array>
#include <memory>
#include <vector>

#include "linux/gtk/gobject_ptr.h"
#include "linux/gtk/resize_drag_watch.h"
#include "linux/gtk/skin_picture_store.h"
#include "ui/window_events.h"
#include "window/window_model.h"

namespace taviro::gtk {

// The borderless main window: one widget per region of the model, placed in
// pixels inside its container, and the painted frame. It holds no rule of its
// own: Sync() makes the widgets match the model, and it turns its widgets'
// events into the core's event table's terms.
class MainWindowView {
 public:
  MainWindowView(const WindowModel& model, const SkinPictureStore& skins, WindowEvents& events);
  MainWindowView(const MainWindowView&) = delete;
  MainWindowView& operator=(const MainWindowView&) = delete;
  ~MainWindowView();

  GtkWindow* window() const { return GTK_WINDOW(window_); }
  GtkWidget* Widget(RegionId id) const { return widgets_[Index(id)]; }

  // Puts a web view (or the player's video widget) in place of a region's
  // stand-in.
  void AttachRegionWidget(RegionId id, GtkWidget* widget);

  // Applies every difference between the model and what is on screen.
  void Sync();
  // Redraws everything painted from skin pictures (after a skin change).
  void RepaintPictures();

  // Pixel size of the window as last configured.
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  struct RegionBinding {
    MainWindowView* view = nullptr;
    RegionId id = RegionId::Window;
  };

  static std::size_t Index(RegionId id) { return static_cast<std::size_t>(id); }

  void BuildTree();
  GtkWidget* CreateRegionWidget(RegionId id);
  void ConnectPointerEvents(RegionId id, GtkWidget* widget);
  void ApplyRegion(RegionId id, const RegionState& now, RegionState& shown, bool force);
  void ApplyShape();
  GtkWidget* Container(RegionId id) const;
  void BindRegionControl(RegionId id, GtkWidget* widget);
  void AnnounceControls();
  // The control the keyboard focus is on, or RegionId::Count.
  RegionId FocusedControl() const;
  // Space and Enter press the focused control, arrows move a focused slider.
  bool PressFocusedControl(const GdkEventKey* event);

  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data);
  static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer data);
  static gboolean OnButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer data);
  static gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer data);
  static gboolean OnLeave(GtkWidget* widget, GdkEventCrossing* event, gpointer data);
  static gboolean OnConfigure(GtkWidget* widget, GdkEventConfigure* event, gpointer data);
  static gboolean OnWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer data);
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer data);
  static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer data);
  static gboolean OnFocus(GtkWidget* widget, GtkDirectionType direction, gpointer data);
  static gboolean OnDrawFocusRing(GtkWidget* widget, cairo_t* cr, gpointer data);

  static gboolean OnAnimationTick(gpointer data);
  GdkPixbuf* PictureOf(const Tile& face) const;

  void DrawRegion(RegionId id, cairo_t* cr, int width, int height) const;
  void DrawFrame(cairo_t* cr) const;

  const WindowModel& model_;
  const SkinPictureStore& skins_;
  WindowEvents& events_;
  std::unique_ptr<ResizeDragWatch> resize_watch_;

  GtkWidget* window_ = nullptr;
  std::array<GtkWidget*, kRegionCount> widgets_{};
  std::array<RegionBinding, kRegionCount> bindings_{};
  std::array<RegionState, kRegionCount> shown_{};
  // What assistive technology was last told of each control.
  std::array<ControlDescription, kRegionCount> described_{};
  std::array<GObjectPtr<GtkCssProvider>, kRegionCount> label_styles_{};
  std::array<RegionId, kRegionCount> pressed_{};
  bool synced_once_ = false;
  unsigned shown_pictures_ = 0;
  MiniMode shown_mini_mode_ = MiniMode::kOff;
  guint animation_source_ = 0;
  // The last key press passed on, to know it again when a web view hands it back.
  guint32 last_key_time_ = 0;
  guint last_key_value_ = 0;
  int animation_frame_ = 0;
  int width_ = 0;
  int height_ = 0;
  int asked_width_ = 0;
  int asked_height_ = 0;
  int shaped_width_ = 0;
  int shaped_height_ = 0;
};

}  // namespace taviro::gtk
