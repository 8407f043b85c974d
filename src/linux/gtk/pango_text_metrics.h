#pragma once

#include <gtk/gtk.h>

#include "linux/gtk/gobject_ptr.h"
#include "ports/text_metrics.h"

namespace taviro::gtk {

// Label sizes measured with the font the window's labels use.
class PangoTextMetrics final : public TextMetrics {
 public:
  explicit PangoTextMetrics(GtkWidget* reference);
  TextSize MeasureLabel(std::string_view text) override;

 private:
  GObjectPtr<PangoLayout> layout_;
};

}  // namespace taviro::gtk
