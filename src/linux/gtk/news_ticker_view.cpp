#include "linux/gtk/news_ticker_view.h"

namespace taviro::gtk {
namespace {

// Orange (red 0xFF, green 0x80, blue 0x00), the size of the bar's other labels.
constexpr const char* kHeadlineCss = "label { color: #FF8000; font-size: 12px; }";

void SetUnderlined(GtkWidget* text, bool underlined) {
  PangoAttrList* attributes = pango_attr_list_new();
  if (underlined) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  gtk_label_set_attributes(GTK_LABEL(text), attributes);
  pango_attr_list_unref(attributes);
}

}  // namespace

NewsTickerView::NewsTickerView(GtkWidget* control_bar, NewsTicker& ticker)
    : bar_(control_bar), ticker_(ticker), style_(GObjectPtr<GtkCssProvider>::Adopt(gtk_css_provider_new())) {
  gtk_css_provider_load_from_data(style_.get(), kHeadlineCss, -1, nullptr);
  // The generic event comes before the bar's own motion handler, which
  // keeps the motion to itself.
  bar_events_ = Connect(bar_, "event", OnBarEvent, this);
}

NewsTickerView::~NewsTickerView() {
  for (const auto& label : labels_) {
    label->connections.clear();
    gtk_widget_destroy(label->box);
  }
}

void NewsTickerView::AddLabel() {
  auto label = std::make_unique<Label>();
  label->view = this;
  label->index = static_cast<int>(labels_.size());
  label->box = gtk_event_box_new();
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(label->box), FALSE);
  label->text = gtk_label_new("");
  gtk_label_set_xalign(GTK_LABEL(label->text), 0.0F);
  gtk_style_context_add_provider(gtk_widget_get_style_context(label->text), GTK_STYLE_PROVIDER(style_.get()),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  gtk_container_add(GTK_CONTAINER(label->box), label->text);
  gtk_widget_show(label->text);
  gtk_widget_set_name(label->box, ("La(" + std::to_string(label->index) + ")").c_str());
  gtk_widget_add_events(label->box, GDK_POINTER_MOTION_MASK | GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK |
                                        GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
  Label* raw = label.get();
  label->connections.push_back(Connect(label->box, "motion-notify-event", OnLabelMotion, raw));
  label->connections.push_back(Connect(label->box, "enter-notify-event", OnLabelEnter, raw));
  label->connections.push_back(Connect(label->box, "leave-notify-event", OnLabelLeave, raw));
  // The press is the label's too, so the bar under it never sees it.
  label->connections.push_back(Connect(
      label->box, "button-press-event",
      +[](GtkWidget*, GdkEventButton*, gpointer) -> gboolean { return TRUE; }, raw));
  label->connections.push_back(Connect(label->box, "button-release-event", OnLabelRelease, raw));
  gtk_layout_put(GTK_LAYOUT(bar_), label->box, 0, 0);
  Apply(*label, ticker_.La()[static_cast<std::size_t>(label->index)], true);
  labels_.push_back(std::move(label));
}

void NewsTickerView::Apply(Label& label, const TickerLabel& now, bool force) {
  if (force || now.left != label.shown.left || now.top != label.shown.top) {
    gtk_layout_move(GTK_LAYOUT(bar_), label.box, now.left, now.top);
  }
  if (force || now.caption != label.shown.caption)
    gtk_label_set_text(GTK_LABEL(label.text), now.caption.c_str());
  if (force || now.underlined != label.shown.underlined) SetUnderlined(label.text, now.underlined);
  if (force || now.visible != label.shown.visible) gtk_widget_set_visible(label.box, now.visible);
  label.shown = now;
}

void NewsTickerView::Sync() {
  const std::vector<TickerLabel>& now = ticker_.La();
  while (labels_.size() < now.size()) AddLabel();
  for (std::size_t k = 0; k < now.size(); ++k) Apply(*labels_[k], now[k], false);
}

gboolean NewsTickerView::OnLabelMotion(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer data) {
  auto* label = static_cast<Label*>(data);
  label->view->ticker_.PointerOverLabel(label->index);
  return TRUE;
}

gboolean NewsTickerView::OnLabelRelease(GtkWidget* /*widget*/, GdkEventButton* event, gpointer data) {
  auto* label = static_cast<Label*>(data);
  if (event->button == GDK_BUTTON_PRIMARY) {
    label->view->ticker_.ClickLabel(label->index);
  }
  return TRUE;
}

// A link's hand over a headline. The label has no window of its own, so
// the hand is the bar's while the pointer is on the label.
gboolean NewsTickerView::OnLabelEnter(GtkWidget* widget, GdkEvent* event, gpointer data) {
  GdkWindow* window = gtk_widget_get_window(widget);
  GdkCursor* hand = gdk_cursor_new_from_name(gdk_window_get_display(window), "pointer");
  gdk_window_set_cursor(window, hand);
  if (hand != nullptr) g_object_unref(hand);
  return OnLabelMotion(widget, event, data);
}

gboolean NewsTickerView::OnLabelLeave(GtkWidget* widget, GdkEvent* /*event*/, gpointer /*data*/) {
  gdk_window_set_cursor(gtk_widget_get_window(widget), nullptr);
  return FALSE;
}

gboolean NewsTickerView::OnBarEvent(GtkWidget* /*widget*/, GdkEvent* event, gpointer data) {
  if (event->type == GDK_MOTION_NOTIFY) {
    auto* view = static_cast<NewsTickerView*>(data);
    view->ticker_.PointerOverBar();
  }
  return FALSE;
}

}  // namespace taviro::gtk
