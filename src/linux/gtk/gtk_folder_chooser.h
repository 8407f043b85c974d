#pragma once

#include <gtk/gtk.h>

#include "ports/folder_chooser.h"

namespace taviro::gtk {

// A modal GTK folder chooser over a window of the program.
class GtkFolderChooser final : public FolderChooser {
 public:
  void SetParent(GtkWindow* parent) { parent_ = parent; }
  std::string ChooseFolder(const std::string& initial_folder, const std::string& title) override;

 private:
  GtkWindow* parent_ = nullptr;
};

}  // namespace taviro::gtk
