#include "linux/gtk/settings_dialog_view.h"

#include <algorithm>
#include <string>

#include "linux/gtk/settings_dialog_paint.h"
#include "linux/gtk/skin_picture_store.h"
#include "ui/settings/settings_dialog_design.h"
#include "util/translate.h"

namespace taviro::gtk {
namespace {

constexpr const char* kStyle =
    "#taviro-settings { font-size: 9pt; }"
    "#taviro-settings #ba3-title { color: #F1F1F1; font-weight: bold; }"
    "#taviro-settings #ba3-product { font-weight: bold; font-size: 10.5pt; }"
    "#taviro-settings button { padding: 0 4px; min-height: 0; min-width: 0; }"
    "#taviro-settings entry { padding: 0 3px; min-height: 0; }"
    "#taviro-settings checkbutton { padding: 0; min-height: 0; }"
    "#taviro-settings #ba3-glyph { background: none; border: none; box-shadow: none; padding: 0; }";

constexpr int kBodyColour = 0xF4F4F4;  // 0xRRGGBB
constexpr int kPageColour = 0xFFFFFF;

GtkWidget* Place(GtkWidget* fixed, GtkWidget* child, int x, int y, int width = -1, int height = -1) {
  gtk_widget_set_size_request(child, width, height);
  gtk_fixed_put(GTK_FIXED(fixed), child, x, y);
  return child;
}

GtkWidget* AddLabel(GtkWidget* fixed, const std::string& text, int x, int y, const char* name = nullptr) {
  GtkWidget* label = gtk_label_new(Tr(text).c_str());
  if (name != nullptr) gtk_widget_set_name(label, name);
  return Place(fixed, label, x, y);
}

void SetAccessibleName(GtkWidget* widget, const char* name) {
  atk_object_set_name(gtk_widget_get_accessible(widget), Tr(name));
}

}  // namespace

SettingsDialogView::SettingsDialogView(const SkinPictureStore& skins)
    : skins_(skins), style_(GObjectPtr<GtkCssProvider>::Adopt(gtk_css_provider_new())) {
  gtk_css_provider_load_from_data(style_.get(), kStyle, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style_.get()),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  for (auto& tab_style : tab_styles_) tab_style = GObjectPtr<GtkCssProvider>::Adopt(gtk_css_provider_new());
}

SettingsDialogView::~SettingsDialogView() {
  Close();
  gtk_style_context_remove_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style_.get()));
}

void SettingsDialogView::Show() {
  if (window_ == nullptr) Build();
  Sync();
  gtk_window_present(GTK_WINDOW(window_));
}

void SettingsDialogView::Close() {
  if (window_ == nullptr) return;
  GtkWidget* window = window_;
  window_ = nullptr;
  prompt_.SetParent(nullptr);
  folders_.SetParent(nullptr);
  gtk_widget_destroy(window);
}

void SettingsDialogView::Focus() {
  if (window_ == nullptr) return;
  gtk_window_present(GTK_WINDOW(window_));
}

void SettingsDialogView::ProcessPendingEvents() {
  Sync();
  // Bounded, so a stream of events cannot keep the caller here.
  for (int i = 0; i < 1000 && gtk_events_pending(); ++i) gtk_main_iteration_do(FALSE);
}

void SettingsDialogView::BeginMoveDrag() {
  if (window_ == nullptr) return;
  gtk_window_begin_move_drag(GTK_WINDOW(window_), static_cast<gint>(last_press_.button),
                             static_cast<gint>(last_press_.x_root), static_cast<gint>(last_press_.y_root),
                             last_press_.time);
}

void SettingsDialogView::Build() {
  lines_.clear();
  shown_.reset();
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(window_);
  gtk_widget_set_name(window_, "taviro-settings");
  gtk_window_set_title(window, Tr(std::string(kSettingsCaption)).c_str());
  gtk_window_set_decorated(window, FALSE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_skip_taskbar_hint(window, TRUE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  if (owner_ != nullptr) gtk_window_set_transient_for(window, owner_);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER_ON_PARENT);
  gtk_widget_set_app_paintable(window_, TRUE);
  gtk_widget_add_events(window_, GDK_BUTTON_PRESS_MASK);
  g_signal_connect(window_, "draw", G_CALLBACK(OnWindowDraw), this);
  g_signal_connect(window_, "button-press-event", G_CALLBACK(OnWindowPress), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKeyPress), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);

  const int width = kSettingsDialogWidth;
  const int height = kSettingsDialogHeight;
  const SettingsDialogLayout layout = LayoutSettingsDialog(width, height);
  GtkWidget* root = gtk_fixed_new();
  gtk_widget_set_size_request(root, width, height);
  gtk_container_add(GTK_CONTAINER(window_), root);
  BuildTitleBar(root, width);
  GtkWidget* body =
      Place(root, gtk_fixed_new(), layout.body.left, layout.body.top, layout.body.width, layout.body.height);
  g_signal_connect(body, "draw", G_CALLBACK(OnBodyDraw), this);
  BuildBody(body, width, height);

  gtk_widget_show_all(window_);
  gtk_widget_realize(window_);
  ApplyShape(window_, width, height);
  prompt_.SetParent(window);
  folders_.SetParent(window);
}

void SettingsDialogView::BuildTitleBar(GtkWidget* root, int width) {
  const SettingsDialogLayout layout = LayoutSettingsDialog(width, kSettingsDialogHeight);
  AddLabel(root, std::string(kSettingsCaption), layout.title.left, layout.title.top, "ba3-title");
  glyph_ = gtk_button_new();
  gtk_widget_set_name(glyph_, "ba3-glyph");
  gtk_button_set_relief(GTK_BUTTON(glyph_), GTK_RELIEF_NONE);
  gtk_widget_set_can_focus(glyph_, FALSE);
  SetAccessibleName(glyph_, N_("关闭"));
  gtk_widget_add_events(glyph_, GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK);
  g_signal_connect(glyph_, "draw", G_CALLBACK(OnGlyphDraw), this);
  g_signal_connect(glyph_, "enter-notify-event", G_CALLBACK(OnGlyphCrossing), this);
  g_signal_connect(glyph_, "leave-notify-event", G_CALLBACK(OnGlyphCrossing), this);
  g_signal_connect(glyph_, "clicked", G_CALLBACK(OnCancel), this);
  Place(root, glyph_, layout.close_glyph.left, layout.close_glyph.top, layout.close_glyph.width,
        layout.close_glyph.height);
}

void SettingsDialogView::BuildBody(GtkWidget* body, int width, int height) {
  const SettingsDialogLayout layout = LayoutSettingsDialog(width, height);
  GtkWidget* tab_column = Place(body, gtk_fixed_new(), layout.tab_column.left, layout.tab_column.top,
                                layout.tab_column.width, layout.tab_column.height);
  // Drawn last to first so that each tab's top edge overlaps the one above.
  for (const int page : {0, 2, 1}) {
    const auto index = static_cast<std::size_t>(page);
    GtkWidget* tab = gtk_button_new_with_label(Tr(std::string(kTabCaptions[index])).c_str());
    gtk_style_context_add_provider(gtk_widget_get_style_context(tab),
                                   GTK_STYLE_PROVIDER(tab_styles_[index].get()),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
    g_object_set_data(G_OBJECT(tab), "page", GINT_TO_POINTER(page));
    g_signal_connect(tab, "clicked", G_CALLBACK(OnTabClicked), this);
    const Rect& rect = layout.tabs[index];
    tabs_[index] = Place(tab_column, tab, rect.left, rect.top, rect.width, rect.height);
  }
  GtkWidget* page_area = Place(body, gtk_fixed_new(), layout.page_area.left, layout.page_area.top,
                               layout.page_area.width, layout.page_area.height);
  for (GtkWidget* page : {BuildAboutPage(), BuildOptionsPage(), BuildCachePage()}) {
    Place(page_area, page, layout.page.left, layout.page.top, layout.page.width, layout.page.height);
  }

  const std::array<std::pair<const char*, Rect>, 3> buttons{
      {{N_("确定"), kOkButton}, {N_("取消"), kCancelButton}, {N_("应用(_A)"), kApplyButton}}};
  const std::array<GCallback, 3> handlers{G_CALLBACK(OnOk), G_CALLBACK(OnCancel), G_CALLBACK(OnApply)};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    GtkWidget* button = gtk_button_new_with_mnemonic(Tr(buttons[i].first));
    g_signal_connect(button, "clicked", handlers[i], this);
    const Rect& rect = buttons[i].second;
    Place(body, button, rect.left, rect.top, rect.width, rect.height);
    if (i == 0) {
      // Enter anywhere in the dialog presses OK.
      gtk_widget_set_can_default(button, TRUE);
      gtk_window_set_default(GTK_WINDOW(window_), button);
    }
  }
}

GtkWidget* SettingsDialogView::NewPage(int index) {
  GtkWidget* events = gtk_event_box_new();
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(events), FALSE);
  gtk_widget_add_events(events, GDK_POINTER_MOTION_MASK | GDK_ENTER_NOTIFY_MASK);
  g_signal_connect(events, "enter-notify-event", G_CALLBACK(OnPagePointer), this);
  g_signal_connect(events, "motion-notify-event", G_CALLBACK(OnPagePointer), this);
  GtkWidget* fixed = gtk_fixed_new();
  g_object_set_data(G_OBJECT(fixed), "page", GINT_TO_POINTER(index));
  g_signal_connect(fixed, "draw", G_CALLBACK(OnPageDraw), this);
  gtk_container_add(GTK_CONTAINER(events), fixed);
  pages_[static_cast<std::size_t>(index)] = events;
  return events;
}

GtkWidget* SettingsDialogView::BuildOptionsPage() {
  GtkWidget* events = NewPage(1);
  GtkWidget* page = gtk_bin_get_child(GTK_BIN(events));
  AddLabel(page, N_("常规设置"), 32, 16);
  AddLabel(page, N_("播放设置"), 40, 160);
  lines_.push_back({1, 32, 280, 32, 0.75});
  lines_.push_back({1, 32, 280, 176, 0.75});
  // Made top to bottom: the keyboard goes through them in that order.
  std::array<OptionRow, kOptionCount> rows = kOptionRows;
  std::ranges::sort(rows, {}, &OptionRow::y);
  for (const OptionRow& row : rows) {
    GtkWidget* check = gtk_check_button_new_with_label(Tr(std::string(row.caption)).c_str());
    g_object_set_data(G_OBJECT(check), "option", GINT_TO_POINTER(static_cast<int>(row.option)));
    g_signal_connect(check, "toggled", G_CALLBACK(OnCheckToggled), this);
    checks_[static_cast<std::size_t>(row.option)] = Place(page, check, row.x, row.y, -1, kCheckBoxHeight);
  }
  return events;
}

GtkWidget* SettingsDialogView::BuildCachePage() {
  GtkWidget* events = NewPage(2);
  GtkWidget* page = gtk_bin_get_child(GTK_BIN(events));
  AddLabel(page, N_("缓存设置："), 40, 16);
  lines_.push_back({2, 40, 288, 32, 0.75});
  AddLabel(page, N_("观看过和下载的影片将存贮在此文件夹中"), 56, 56);
  folder_ = gtk_entry_new();
  SetAccessibleName(folder_, N_("缓存路径"));
  gtk_entry_set_activates_default(GTK_ENTRY(folder_), TRUE);
  g_signal_connect(folder_, "changed", G_CALLBACK(OnFolderChanged), this);
  Place(page, folder_, kFolderField.left, kFolderField.top, kFolderField.width, kFolderField.height);
  GtkWidget* browse = gtk_button_new_with_label(Tr(N_("浏览..")));
  g_signal_connect(browse, "clicked", G_CALLBACK(OnBrowse), this);
  Place(page, browse, kBrowseButton.left, kBrowseButton.top, kBrowseButton.width, kBrowseButton.height);
  busy_ = AddLabel(page, N_("正在改变影片缓冲路径，请稍后..."), 56, 136);
  return events;
}

GtkWidget* SettingsDialogView::BuildAboutPage() {
  GtkWidget* events = NewPage(0);
  GtkWidget* page = gtk_bin_get_child(GTK_BIN(events));
  AddLabel(page, "Taviro", 56, 24, "ba3-product");
  AddLabel(page, N_("版本 V2.3    发布日期 2011.9.16"), 56, 56);
  lines_.push_back({0, 56, 328, 96, 0.55});
  AddLabel(page, N_("Taviro是以P2P技术为核心的播放软件。"), 56, 112);
  AddLabel(page, N_("软件以搜索引擎的方式整合了互联网上的媒体资"), 56, 130);
  AddLabel(page, N_("源。为用户提供方便、快捷的浏览体验。"), 56, 148);
  link_ = gtk_event_box_new();
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(link_), FALSE);
  gtk_widget_add_events(link_, GDK_POINTER_MOTION_MASK | GDK_ENTER_NOTIFY_MASK | GDK_BUTTON_PRESS_MASK);
  gtk_container_add(GTK_CONTAINER(link_),
                    gtk_label_new((Tr(std::string(N_("官方网址:"))) + dialog_->site_url()).c_str()));
  SetAccessibleName(link_, N_("官方网址"));
  g_signal_connect(link_, "enter-notify-event", G_CALLBACK(OnLinkEnter), this);
  g_signal_connect(link_, "motion-notify-event", G_CALLBACK(OnLinkEnter), this);
  g_signal_connect(link_, "button-press-event", G_CALLBACK(OnLinkPress), this);
  Place(page, link_, 56, kLinkTop);
  return events;
}

void SettingsDialogView::Sync() {
  if (window_ == nullptr || dialog_ == nullptr) return;
  // A new skin paints the frame and the close glyph afresh.
  if (skins_.generation() != shown_skin_) gtk_widget_queue_draw(window_);
  shown_skin_ = skins_.generation();
  const SettingsDialogModel& model = dialog_->model();
  if (shown_ == model) return;
  shown_ = model;
  syncing_ = true;
  for (std::size_t page = 0; page < pages_.size(); ++page) {
    const bool selected = static_cast<std::size_t>(model.page) == page;
    gtk_widget_set_visible(pages_[page], selected);
    gtk_css_provider_load_from_data(tab_styles_[page].get(), TabCss(selected).c_str(), -1, nullptr);
  }
  for (std::size_t i = 0; i < checks_.size(); ++i) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(checks_[i]), model.checks[i]);
  }
  if (model.folder_text != gtk_entry_get_text(GTK_ENTRY(folder_))) {
    gtk_entry_set_text(GTK_ENTRY(folder_), model.folder_text.c_str());
  }
  gtk_widget_set_visible(busy_, model.busy);
  SetLinkLook(gtk_bin_get_child(GTK_BIN(link_)), model.link_hot);
  gtk_widget_queue_draw(glyph_);
  syncing_ = false;
}

gboolean SettingsDialogView::OnWindowDraw(GtkWidget* widget, cairo_t* cr, gpointer data) {
  const auto* self = static_cast<SettingsDialogView*>(data);
  SetRgb(cr, 0x202020);
  cairo_paint(cr);
  const int width = gtk_widget_get_allocated_width(widget);
  const int height = gtk_widget_get_allocated_height(widget);
  for (const FramePiece& piece : SettingsFramePieces(width, height)) {
    DrawPicturePart(cr, self->skins_.Slot(0), piece.source, piece.destination);
  }
  return FALSE;
}

gboolean SettingsDialogView::OnBodyDraw(GtkWidget* widget, cairo_t* cr, gpointer /*data*/) {
  const SettingsDialogLayout layout = LayoutSettingsDialog(kSettingsDialogWidth, kSettingsDialogHeight);
  FillRect(cr, {0, 0, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget)},
           kBodyColour);
  FillRect(cr, layout.tab_background, 0xDADADA);
  FillRect(cr, {layout.tab_background.right(), 0, 1, layout.tab_column.height}, 0xB4B4B4);
  return FALSE;
}

gboolean SettingsDialogView::OnPageDraw(GtkWidget* widget, cairo_t* cr, gpointer data) {
  const auto* self = static_cast<SettingsDialogView*>(data);
  const int page = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), "page"));
  FillRect(cr, {0, 0, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget)},
           kPageColour);
  cairo_set_line_width(cr, 1.0);
  for (const Line& line : self->lines_) {
    if (line.page != page) continue;
    cairo_set_source_rgb(cr, line.grey, line.grey, line.grey);
    cairo_move_to(cr, line.x1, line.y + 0.5);
    cairo_line_to(cr, line.x2, line.y + 0.5);
    cairo_stroke(cr);
  }
  return FALSE;
}

gboolean SettingsDialogView::OnGlyphDraw(GtkWidget* /*widget*/, cairo_t* cr, gpointer data) {
  const auto* self = static_cast<SettingsDialogView*>(data);
  const bool hot = self->dialog_ != nullptr && self->dialog_->model().close_hot;
  const Tile face = CloseGlyphFace(hot);
  DrawPicturePart(cr, self->skins_.Slot(face.slot), {face.x, face.y, face.width, face.height},
                  {0, 0, face.width, face.height});
  return TRUE;  // the glyph is the whole button
}

gboolean SettingsDialogView::OnGlyphCrossing(GtkWidget* /*widget*/, GdkEventCrossing* event, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (!self->Idle()) return FALSE;
  self->dialog_->CloseGlyphHover(event->type == GDK_ENTER_NOTIFY);
  return FALSE;
}

gboolean SettingsDialogView::OnWindowPress(GtkWidget* /*widget*/, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (!self->Idle() || event->type != GDK_BUTTON_PRESS) return FALSE;
  self->last_press_ = *event;
  self->dialog_->BackgroundPress(event->button == 1   ? MouseButton::kLeft
                                 : event->button == 2 ? MouseButton::kMiddle
                                                      : MouseButton::kRight);
  return TRUE;
}

gboolean SettingsDialogView::OnKeyPress(GtkWidget* /*widget*/, GdkEventKey* event, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (event->keyval != GDK_KEY_Escape || !self->Idle()) return FALSE;
  self->dialog_->Cancel();
  return TRUE;
}

gboolean SettingsDialogView::OnDelete(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (self->Idle()) self->dialog_->Cancel();
  return TRUE;  // the dialog closes itself
}

gboolean SettingsDialogView::OnPagePointer(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (!self->Idle()) return FALSE;
  const SettingsDialogModel& model = self->dialog_->model();
  if (model.link_clicked || model.link_hot) {
    self->dialog_->PageHover();
  }
  return FALSE;
}

gboolean SettingsDialogView::OnLinkEnter(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (!self->Idle()) return FALSE;
  self->dialog_->LinkHover();
  return TRUE;  // not a move over the page beneath
}

gboolean SettingsDialogView::OnLinkPress(GtkWidget* /*widget*/, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (!self->Idle() || event->button != 1) return FALSE;
  self->dialog_->LinkClick();
  return TRUE;
}

void SettingsDialogView::OnTabClicked(GtkButton* button, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (!self->Idle()) return;
  self->dialog_->SelectPage(
      static_cast<SettingsPage>(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "page"))));
}

void SettingsDialogView::OnCheckToggled(GtkToggleButton* button, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (self->syncing_ || !self->Idle()) return;
  self->dialog_->SetCheck(
      static_cast<DialogOption>(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "option"))),
      gtk_toggle_button_get_active(button) != FALSE);
}

void SettingsDialogView::OnFolderChanged(GtkEditable* editable, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (self->syncing_ || !self->Idle()) return;
  self->dialog_->SetFolderText(gtk_entry_get_text(GTK_ENTRY(editable)));
}

void SettingsDialogView::OnBrowse(GtkButton* /*button*/, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (!self->Idle()) return;
  self->dialog_->Browse();
}

void SettingsDialogView::OnOk(GtkButton* /*button*/, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (!self->Idle()) return;
  self->dialog_->Ok();
}

void SettingsDialogView::OnCancel(GtkButton* /*button*/, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (!self->Idle()) return;
  self->dialog_->Cancel();
}

void SettingsDialogView::OnApply(GtkButton* /*button*/, gpointer data) {
  auto* self = static_cast<SettingsDialogView*>(data);
  if (!self->Idle()) return;
  self->dialog_->Apply();
}

}  // namespace taviro::gtk
