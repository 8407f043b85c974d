#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <vector>

#include "linux/gtk/gobject_ptr.h"
#include "services/news_ticker.h"

namespace taviro::gtk {

// Paints the ticker's labels `La` into the control bar and hands the
// pointer's moves and clicks on them, and on the bar around them, to the
// ticker.
class NewsTickerView {
 public:
  // `control_bar` is the bar's container (a GtkLayout); the labels are put
  // on top of what it holds.
  NewsTickerView(GtkWidget* control_bar, NewsTicker& ticker);
  NewsTickerView(const NewsTickerView&) = delete;
  NewsTickerView& operator=(const NewsTickerView&) = delete;
  ~NewsTickerView();

  // Makes the labels match the ticker.
  void Sync();

 private:
  struct Label {
    NewsTickerView* view = nullptr;
    int index = 0;
    GtkWidget* box = nullptr;
    GtkWidget* text = nullptr;
    TickerLabel shown;
    std::vector<SignalConnection> connections;
  };

  void AddLabel();
  void Apply(Label& label, const TickerLabel& now, bool force);

  static gboolean OnLabelMotion(GtkWidget* widget, GdkEvent* event, gpointer data);
  static gboolean OnLabelRelease(GtkWidget* widget, GdkEventButton* event, gpointer data);
  static gboolean OnLabelEnter(GtkWidget* widget, GdkEvent* event, gpointer data);
  static gboolean OnLabelLeave(GtkWidget* widget, GdkEvent* event, gpointer data);
  static gboolean OnBarEvent(GtkWidget* widget, GdkEvent* event, gpointer data);

  GtkWidget* bar_;
  NewsTicker& ticker_;
  GObjectPtr<GtkCssProvider> style_;
  std::vector<std::unique_ptr<Label>> labels_;
  SignalConnection bar_events_;
};

}  // namespace taviro::gtk
