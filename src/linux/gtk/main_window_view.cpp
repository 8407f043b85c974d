#include "linux/gtk/main_window_view.h"

#include <cstdio>
#include <string>
#include <vector>

#include "linux/gtk/accessible_controls.h"
#include "linux/gtk/focus_chain.h"
#include "linux/gtk/key_mapping.h"
#include "linux/gtk/region_kinds.h"
#include "linux/gtk/see_through.h"
#include "linux/gtk/skin_painting.h"
#include "util/translate.h"
#include "window/window_chrome.h"
#include "window/window_design.h"

namespace taviro::gtk {
namespace {

constexpr int kButtonCount = 6;  // GDK numbers buttons from 1
constexpr guint kAnimationIntervalMs = 90;
constexpr int kLoadingSlot = kExtraPictureBase + 2;

MouseButton ToMouseButton(int button) {
  switch (button) {
    case 1: return MouseButton::kLeft;
    case 2: return MouseButton::kMiddle;
    default: return MouseButton::kRight;
  }
}

void FillRgb(cairo_t* cr, std::uint32_t rgb) {
  SetRgb(cr, rgb);
  cairo_paint(cr);
}

std::string LabelCss(std::uint32_t bgr) {
  char css[96];
  std::snprintf(css, sizeof css, "label { color: #%06X; font-size: 12px; }", ToRgb(bgr));
  return css;
}

GtkWidget* LabelOf(GtkWidget* event_box) { return gtk_bin_get_child(GTK_BIN(event_box)); }

bool IsControl(RegionId id) { return RoleOf(id) != ControlRole::kNone; }

// A painted control is made as the widget that shows it to assistive
// technology; it paints and takes the pointer as the plain one would.
GtkWidget* NewRegionWidget(RegionId id, RegionKind kind) {
  switch (kind) {
    // A layout has its own window, so it clips what lies outside it.
    case RegionKind::kPanel:
    case RegionKind::kHosted: return IsControl(id) ? NewSliderPanel() : gtk_layout_new(nullptr, nullptr);
    case RegionKind::kPicture: return IsControl(id) ? NewControlArea() : gtk_drawing_area_new();
    case RegionKind::kLabel: return IsControl(id) ? NewControlBox() : gtk_event_box_new();
  }
  return nullptr;
}

}  // namespace

MainWindowView::MainWindowView(const WindowModel& model, const SkinPictureStore& skins, WindowEvents& events)
    : model_(model), skins_(skins), events_(events) {
  BuildTree();
  resize_watch_ = std::make_unique<ResizeDragWatch>(window_, [this] { events_.ResizeDragEnded(); });
  animation_source_ = g_timeout_add(kAnimationIntervalMs, OnAnimationTick, this);
}

MainWindowView::~MainWindowView() {
  g_source_remove(animation_source_);
  if (window_ != nullptr) {
    gtk_widget_destroy(window_);
  }
}

void MainWindowView::BuildTree() {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_decorated(GTK_WINDOW(window_), FALSE);
  gtk_window_set_title(GTK_WINDOW(window_), "Taviro");
  gtk_widget_set_app_paintable(window_, TRUE);
  g_signal_connect(window_, "configure-event", G_CALLBACK(OnConfigure), this);
  g_signal_connect(window_, "window-state-event", G_CALLBACK(OnWindowState), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKeyPress), this);
  g_signal_connect(window_, "focus", G_CALLBACK(OnFocus), this);

  for (int i = 0; i < kRegionCount; ++i) {
    const auto id = static_cast<RegionId>(i);
    bindings_[Index(id)] = {this, id};
    widgets_[Index(id)] = CreateRegionWidget(id);
  }
  gtk_container_add(GTK_CONTAINER(window_), widgets_[Index(RegionId::Window)]);
  for (int layer = 0; layer < kStackingLayers; ++layer) {
    for (int i = 1; i < kRegionCount; ++i) {
      const auto id = static_cast<RegionId>(i);
      if (StackingLayer(id) == layer) {
        gtk_layout_put(GTK_LAYOUT(Container(ParentOf(id))), widgets_[Index(id)], 0, 0);
      }
    }
  }
  gtk_widget_show_all(widgets_[Index(RegionId::Window)]);
}

GtkWidget* MainWindowView::CreateRegionWidget(RegionId id) {
  GtkWidget* widget = NewRegionWidget(id, KindOf(id));
  if (KindOf(id) == RegionKind::kLabel) {
    gtk_event_box_set_visible_window(GTK_EVENT_BOX(widget), FALSE);
    GtkWidget* label = gtk_label_new("");
    gtk_label_set_xalign(GTK_LABEL(label), 0.0F);
    gtk_label_set_yalign(GTK_LABEL(label), 0.0F);
    gtk_container_add(GTK_CONTAINER(widget), label);
    auto style = GObjectPtr<GtkCssProvider>::Adopt(gtk_css_provider_new());
    gtk_style_context_add_provider(gtk_widget_get_style_context(label), GTK_STYLE_PROVIDER(style.get()),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    label_styles_[Index(id)] = std::move(style);
  }
  const std::string name(RegionName(id));
  gtk_widget_set_name(widget, name.c_str());
  // The GUI tests find a region by its id; what a person reads is the
  // control's own name.
  atk_object_set_accessible_id(gtk_widget_get_accessible(widget), name.c_str());
  g_signal_connect(widget, "draw", G_CALLBACK(OnDraw), &bindings_[Index(id)]);
  if (KindOf(id) != RegionKind::kHosted) {
    ConnectPointerEvents(id, widget);
  }
  if (IsControl(id)) {
    BindRegionControl(id, widget);
  }
  return widget;
}

void MainWindowView::BindRegionControl(RegionId id, GtkWidget* widget) {
  described_[Index(id)].role = RoleOf(id);
  gtk_widget_set_can_focus(widget, TRUE);
  BindControl(widget,
              ControlHooks{[this, id] { return described_[Index(id)]; }, [this, id] { events_.Activate(id); },
                           [this, id](int value) { events_.SetSliderValue(id, value); }});
  // Painted over the picture and over a slider's parts.
  g_signal_connect_after(widget, "draw", G_CALLBACK(OnDrawFocusRing), nullptr);
}

void MainWindowView::ConnectPointerEvents(RegionId id, GtkWidget* widget) {
  gtk_widget_add_events(widget, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                    GDK_LEAVE_NOTIFY_MASK | GDK_ENTER_NOTIFY_MASK);
  RegionBinding* binding = &bindings_[Index(id)];
  g_signal_connect(widget, "button-press-event", G_CALLBACK(OnButtonPress), binding);
  g_signal_connect(widget, "button-release-event", G_CALLBACK(OnButtonRelease), binding);
  g_signal_connect(widget, "motion-notify-event", G_CALLBACK(OnMotion), binding);
  g_signal_connect(widget, "leave-notify-event", G_CALLBACK(OnLeave), binding);
}

GtkWidget* MainWindowView::Container(RegionId id) const { return widgets_[Index(id)]; }

void MainWindowView::AttachRegionWidget(RegionId id, GtkWidget* widget) {
  GtkWidget* slot = widgets_[Index(id)];
  const Rect& rect = model_[id].rect;
  gtk_widget_set_size_request(widget, rect.width, rect.height);
  gtk_layout_put(GTK_LAYOUT(slot), widget, 0, 0);
  gtk_widget_show(widget);
}

void MainWindowView::Sync() {
  const bool force = !synced_once_;
  for (int i = 1; i < kRegionCount; ++i) {
    const auto id = static_cast<RegionId>(i);
    ApplyRegion(id, model_[id], shown_[Index(id)], force);
  }
  synced_once_ = true;
  AnnounceControls();
  const int width = model_.ClientWidth();
  const int height = model_.ClientHeight();
  // Asked once until the window system answers: a sync runs on every
  // main-loop iteration, and the answer may be another size.
  if (width == width_ && height == height_) {
    asked_width_ = asked_height_ = 0;
  } else if (model_.state == WindowState::kNormal && (width != asked_width_ || height != asked_height_)) {
    gtk_window_resize(GTK_WINDOW(window_), width, height);
    asked_width_ = width;
    asked_height_ = height;
  }
  // Everything is repainted only when the skin's pictures changed, and the
  // frame only when mini mode switches its pieces.
  if (skins_.generation() != shown_pictures_) {
    shown_pictures_ = skins_.generation();
    RepaintPictures();
  } else if (model_.mini_mode != shown_mini_mode_) {
    gtk_widget_queue_draw(widgets_[Index(RegionId::Window)]);
  }
  shown_mini_mode_ = model_.mini_mode;
}

void MainWindowView::ApplyRegion(RegionId id, const RegionState& now, RegionState& shown, bool force) {
  GtkWidget* widget = widgets_[Index(id)];
  const RegionKind kind = KindOf(id);
  if (force || now.rect != shown.rect || now.auto_size != shown.auto_size) {
    gtk_layout_move(GTK_LAYOUT(Container(ParentOf(id))), widget, now.rect.left, now.rect.top);
    if (kind == RegionKind::kLabel && now.auto_size) {
      gtk_widget_set_size_request(widget, -1, -1);
    } else {
      gtk_widget_set_size_request(widget, now.rect.width, now.rect.height);
    }
    if (kind == RegionKind::kHosted) {
      GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
      for (GList* child = children; child != nullptr; child = child->next) {
        gtk_widget_set_size_request(GTK_WIDGET(child->data), now.rect.width, now.rect.height);
      }
      g_list_free(children);
    }
    if (kind == RegionKind::kPanel || kind == RegionKind::kHosted) {
      gtk_layout_set_size(GTK_LAYOUT(widget), static_cast<guint>(std::max(now.rect.width, 1)),
                          static_cast<guint>(std::max(now.rect.height, 1)));
    }
  }
  if (force || now.visible != shown.visible) {
    gtk_widget_set_visible(widget, now.visible);
  }
  // The model disables the video box so that the mouse goes to the label
  // over it, not to the player; in GTK the player takes no mouse input, and
  // an insensitive box would take the label's clicks (the player menu) away.
  if ((force || now.enabled != shown.enabled) && id != RegionId::Qvodx) {
    gtk_widget_set_sensitive(widget, now.enabled);
  }
  if (kind == RegionKind::kLabel) {
    GtkLabel* label = GTK_LABEL(LabelOf(widget));
    if (force || now.caption != shown.caption) {
      gtk_label_set_text(label, Tr(now.caption).c_str());
    }
    if (force || now.word_wrap != shown.word_wrap) {
      gtk_label_set_line_wrap(label, now.word_wrap);
    }
    if (force || now.fore_colour != shown.fore_colour) {
      gtk_css_provider_load_from_data(label_styles_[Index(id)].get(), LabelCss(now.fore_colour).c_str(), -1,
                                      nullptr);
    }
  }
  if (kind == RegionKind::kPicture && (force || now.face != shown.face)) {
    gtk_widget_queue_draw(widget);
  }
  shown = now;
}

void MainWindowView::AnnounceControls() {
  for (int i = 1; i < kRegionCount; ++i) {
    const auto id = static_cast<RegionId>(i);
    if (!IsControl(id)) {
      continue;
    }
    ControlDescription now = events_.Describe(id);
    if (now != described_[Index(id)]) {
      AnnounceControl(widgets_[Index(id)], described_[Index(id)], now);
      described_[Index(id)] = std::move(now);
    }
  }
}

RegionId MainWindowView::FocusedControl() const {
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window_));
  for (int i = 1; i < kRegionCount && focus != nullptr; ++i) {
    const auto id = static_cast<RegionId>(i);
    if (widgets_[Index(id)] == focus && IsControl(id)) {
      return id;
    }
  }
  return RegionId::Count;
}

bool MainWindowView::PressFocusedControl(const GdkEventKey* event) {
  if ((event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK)) != 0) {
    return false;
  }
  const RegionId id = FocusedControl();
  if (id == RegionId::Count) {
    return false;
  }
  const bool slider = RoleOf(id) == ControlRole::kSlider;
  if (!slider && IsActivateKey(event->keyval)) {
    events_.Activate(id);
    return true;
  }
  const int step = ArrowStep(event->keyval);
  if (slider && step != 0) {
    events_.SliderStep(id, step > 0);
    return true;
  }
  return false;
}

void MainWindowView::RepaintPictures() {
  for (GtkWidget* widget : widgets_) {
    gtk_widget_queue_draw(widget);
  }
}

void MainWindowView::ApplyShape() {
  if (width_ == shaped_width_ && height_ == shaped_height_) {
    return;
  }
  shaped_width_ = width_;
  shaped_height_ = height_;
  // A rectangle with each corner pixel cut away: what a 4 x 4 corner ellipse
  // leaves of the outline at this size.
  cairo_region_t* region = cairo_region_create();
  const cairo_rectangle_int_t body{0, 1, width_, std::max(height_ - 2, 0)};
  const cairo_rectangle_int_t top{1, 0, std::max(width_ - 2, 0), 1};
  const cairo_rectangle_int_t bottom{1, height_ - 1, std::max(width_ - 2, 0), 1};
  cairo_region_union_rectangle(region, &body);
  cairo_region_union_rectangle(region, &top);
  cairo_region_union_rectangle(region, &bottom);
  gtk_widget_shape_combine_region(window_, region);
  cairo_region_destroy(region);
}

void MainWindowView::DrawFrame(cairo_t* cr) const {
  GdkPixbuf* frame = skins_.Slot(0);
  const bool mini = model_.mini_mode != MiniMode::kOff;
  for (const FramePiece& piece : FramePieces(model_.ClientWidth(), model_.ClientHeight(), mini)) {
    DrawPicturePart(cr, frame, piece.source, piece.destination);
  }
}

void MainWindowView::DrawRegion(RegionId id, cairo_t* cr, int width, int height) const {
  if (id == RegionId::Window) {
    FillRgb(cr, 0x101010);
    DrawFrame(cr);
    return;
  }
  const auto background = PanelBackground(id);
  if (background) {
    FillRgb(cr, *background);
  }
  const Tile& face = model_[id].face;
  GdkPixbuf* picture = PictureOf(face);
  if (KindOf(id) == RegionKind::kPicture) {
    SetSeeThrough(widgets_[Index(id)], !background && picture == nullptr);
  }
  if (picture == nullptr) {
    return;
  }
  Rect source{face.x, face.y, face.width, face.height};
  if (face.slot == kLoadingSlot && face.width > 0) {
    const int frames = std::max(gdk_pixbuf_get_width(picture) / face.width, 1);
    source.left = (animation_frame_ % frames) * face.width;
  }
  const Rect destination = face.stretched ? Rect{0, 0, width, height} : Rect{0, 0, face.width, face.height};
  DrawPicturePart(cr, picture, source, destination);
}

GdkPixbuf* MainWindowView::PictureOf(const Tile& face) const {
  if (face.slot >= kExtraPictureBase) {
    return skins_.Extra(static_cast<ExtraPicture>(face.slot - kExtraPictureBase));
  }
  return face.slot >= 0 ? skins_.Slot(face.slot) : nullptr;
}

gboolean MainWindowView::OnAnimationTick(gpointer data) {
  auto* view = static_cast<MainWindowView*>(data);
  ++view->animation_frame_;
  for (int i = 1; i < kRegionCount; ++i) {
    const auto id = static_cast<RegionId>(i);
    if (view->model_[id].face.slot == kLoadingSlot && gtk_widget_is_drawable(view->Widget(id))) {
      gtk_widget_queue_draw(view->Widget(id));
    }
  }
  return G_SOURCE_CONTINUE;
}

gboolean MainWindowView::OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data) {
  const auto* binding = static_cast<RegionBinding*>(data);
  binding->view->DrawRegion(binding->id, cr, gtk_widget_get_allocated_width(widget),
                            gtk_widget_get_allocated_height(widget));
  return FALSE;
}

gboolean MainWindowView::OnButtonPress(GtkWidget* /*widget*/, GdkEventButton* event, gpointer data) {
  const auto* binding = static_cast<RegionBinding*>(data);
  MainWindowView* view = binding->view;
  // The pointer takes over from the keyboard: space is the player's again.
  if (view->FocusedControl() != RegionId::Count) {
    gtk_window_set_focus(view->window(), nullptr);
  }
  const int x = static_cast<int>(event->x);
  const int y = static_cast<int>(event->y);
  const int button = static_cast<int>(event->button);
  if (event->type == GDK_2BUTTON_PRESS) {
    view->pressed_[Index(binding->id)] = RegionId::Count;  // no click after a double click
    view->events_.DoubleClick(binding->id);
    return TRUE;
  }
  if (event->type != GDK_BUTTON_PRESS || button >= kButtonCount) {
    return TRUE;
  }
  view->pressed_[Index(binding->id)] = binding->id;
  if (view->events_.Press(binding->id, ToMouseButton(button), x, y)) view->resize_watch_->Start();
  return TRUE;
}

gboolean MainWindowView::OnButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer data) {
  const auto* binding = static_cast<RegionBinding*>(data);
  MainWindowView* view = binding->view;
  const int x = static_cast<int>(event->x);
  const int y = static_cast<int>(event->y);
  view->events_.Release(binding->id, x, y);
  const bool inside = x >= 0 && y >= 0 && x < gtk_widget_get_allocated_width(widget) &&
                      y < gtk_widget_get_allocated_height(widget);
  if (view->pressed_[Index(binding->id)] == binding->id && inside) {
    view->pressed_[Index(binding->id)] = RegionId::Count;
    view->events_.Click(binding->id);
  }
  return TRUE;
}

gboolean MainWindowView::OnMotion(GtkWidget* /*widget*/, GdkEventMotion* event, gpointer data) {
  const auto* binding = static_cast<RegionBinding*>(data);
  const bool left_down = (event->state & GDK_BUTTON1_MASK) != 0;
  binding->view->events_.PointerMove(binding->id, static_cast<int>(event->x), static_cast<int>(event->y),
                                     left_down);
  return TRUE;
}

gboolean MainWindowView::OnLeave(GtkWidget* /*widget*/, GdkEventCrossing* event, gpointer data) {
  const auto* binding = static_cast<RegionBinding*>(data);
  // Moving onto a child region is not leaving.
  if (event->detail != GDK_NOTIFY_INFERIOR) {
    binding->view->events_.PointerLeave(binding->id);
  }
  return FALSE;
}

gboolean MainWindowView::OnConfigure(GtkWidget* /*widget*/, GdkEventConfigure* event, gpointer data) {
  auto* view = static_cast<MainWindowView*>(data);
  if (event->width != view->width_ || event->height != view->height_) {
    view->width_ = event->width;
    view->height_ = event->height;
    view->asked_width_ = view->asked_height_ = 0;
    view->ApplyShape();
    view->events_.Resized(event->width, event->height);
    view->resize_watch_->Resized();
  }
  return FALSE;
}

gboolean MainWindowView::OnWindowState(GtkWidget* /*widget*/, GdkEventWindowState* event, gpointer data) {
  auto* view = static_cast<MainWindowView*>(data);
  const GdkWindowState state = event->new_window_state;
  if ((event->changed_mask & (GDK_WINDOW_STATE_ICONIFIED | GDK_WINDOW_STATE_MAXIMIZED)) == 0) {
    return FALSE;
  }
  WindowState now = WindowState::kNormal;
  if ((state & GDK_WINDOW_STATE_ICONIFIED) != 0) {
    now = WindowState::kMinimised;
  } else if ((state & GDK_WINDOW_STATE_MAXIMIZED) != 0) {
    now = WindowState::kMaximised;
  }
  view->events_.StateChanged(now);
  return FALSE;
}

gboolean MainWindowView::OnDelete(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer data) {
  static_cast<MainWindowView*>(data)->events_.CloseRequest();
  return TRUE;  // the program decides whether the window goes
}

gboolean MainWindowView::OnKeyPress(GtkWidget* /*widget*/, GdkEventKey* event, gpointer data) {
  auto* self = static_cast<MainWindowView*>(data);
  // A web view holding the focus sends a key its page left alone back to the
  // window: the same press, a second time. The player acts on each press once.
  if (event->time == self->last_key_time_ && event->keyval == self->last_key_value_) {
    return FALSE;
  }
  self->last_key_time_ = event->time;
  self->last_key_value_ = event->keyval;
  if (self->PressFocusedControl(event)) {
    return TRUE;
  }
  self->events_.KeyPress(KeyFromGdk(event->keyval));
  return FALSE;
}

gboolean MainWindowView::OnFocus(GtkWidget* widget, GtkDirectionType direction, gpointer data) {
  auto* self = static_cast<MainWindowView*>(data);
  // The arrows stay the player's keys: they never move the focus.
  if (direction != GTK_DIR_TAB_FORWARD && direction != GTK_DIR_TAB_BACKWARD) {
    return TRUE;
  }
  // Nothing takes the focus by itself when the window shows, so that space
  // is the player's until the user tabs to a control.
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(widget));
  if (focus == nullptr && !HandlingKeyPress()) {
    return TRUE;
  }
  std::vector<GtkWidget*> stops;
  for (RegionId id : ReadingOrder()) {
    stops.push_back(self->Widget(id));
  }
  MoveFocusAlong(focus, stops, direction == GTK_DIR_TAB_FORWARD);
  return TRUE;
}

gboolean MainWindowView::OnDrawFocusRing(GtkWidget* widget, cairo_t* cr, gpointer /*data*/) {
  // The light of the seek thumb around the blue of the played part.
  DrawFocusRing(widget, cr, PanelBackground(RegionId::gunt1).value_or(0xFFFFFF),
                PanelBackground(RegionId::gunt2).value_or(0));
  return FALSE;
}

}  // namespace taviro::gtk
