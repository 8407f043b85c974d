#pragma once

#include <gtk/gtk.h>

#include "ports/file_dialog.h"

namespace taviro::gtk {

// A modal GTK file chooser over the main window.
class GtkFileDialog final : public FileDialog {
 public:
  void SetParent(GtkWindow* parent) { parent_ = parent; }
  std::optional<std::string> ChooseMediaFile(const std::string& title, const std::string& filter) override;

 private:
  GtkWindow* parent_ = nullptr;
};

}  // namespace taviro::gtk
