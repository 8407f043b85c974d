#include "linux/gtk/gtk_folder_chooser.h"

#include <filesystem>
#include <system_error>

#include "util/translate.h"

namespace taviro::gtk {
namespace {

// The nearest folder of `path` that exists: a typed folder that is not there
// yet still opens the picker close to it.
std::string ExistingFolder(const std::string& path) {
  if (path.empty() || path.front() != '/') return {};
  std::error_code ignored;
  for (std::filesystem::path folder(path); !folder.empty(); folder = folder.parent_path()) {
    if (std::filesystem::is_directory(folder, ignored)) return folder.string();
    if (folder == folder.parent_path()) break;
  }
  return {};
}

}  // namespace

std::string GtkFolderChooser::ChooseFolder(const std::string& initial_folder, const std::string& title) {
  // A hidden parent (the window sits in the tray) would hide the chooser too.
  GtkWindow* owner = parent_ != nullptr && gtk_widget_get_visible(GTK_WIDGET(parent_)) ? parent_ : nullptr;
  GtkWidget* dialog = gtk_file_chooser_dialog_new(
      Tr(title).c_str(), owner, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, Tr(N_("取消(_C)")),
      GTK_RESPONSE_CANCEL, Tr(N_("选择(_S)")), GTK_RESPONSE_ACCEPT, nullptr);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  gtk_file_chooser_set_local_only(chooser, TRUE);
  gtk_file_chooser_set_create_folders(chooser, TRUE);
  if (const std::string start = ExistingFolder(initial_folder); !start.empty()) {
    gtk_file_chooser_set_current_folder(chooser, start.c_str());
  }
  std::string chosen;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    if (gchar* path = gtk_file_chooser_get_filename(chooser); path != nullptr) {
      chosen = path;
      g_free(path);
    }
  }
  gtk_widget_destroy(dialog);
  return chosen;
}

}  // namespace taviro::gtk
