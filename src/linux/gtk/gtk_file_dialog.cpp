#include "linux/gtk/gtk_file_dialog.h"

#include <cctype>
#include <string_view>
#include <vector>

#include "util/translate.h"

namespace taviro::gtk {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

// GTK's patterns care about case; media files are named either way.
std::string AnyCase(std::string_view pattern) {
  std::string result;
  for (const char c : pattern) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalpha(byte) != 0 && byte < 0x80) {
      result += '[';
      result += static_cast<char>(std::tolower(byte));
      result += static_cast<char>(std::toupper(byte));
      result += ']';
    } else {
      result += c;
    }
  }
  return result;
}

// "name|patterns|name|patterns...", the patterns of a pair joined by ";".
void AddFilters(GtkFileChooser* chooser, const std::string& filter) {
  const std::vector<std::string_view> parts = Split(filter, '|');
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    GtkFileFilter* file_filter = gtk_file_filter_new();  // floating; the chooser sinks it
    gtk_file_filter_set_name(file_filter, std::string(parts[i]).c_str());
    for (std::string_view pattern : Split(parts[i + 1], ';')) {
      if (!pattern.empty()) gtk_file_filter_add_pattern(file_filter, AnyCase(pattern).c_str());
    }
    gtk_file_chooser_add_filter(chooser, file_filter);
    if (i == 0) gtk_file_chooser_set_filter(chooser, file_filter);
  }
}

class DialogWidget {
 public:
  explicit DialogWidget(GtkWidget* widget) : widget_(widget) {}
  DialogWidget(const DialogWidget&) = delete;
  DialogWidget& operator=(const DialogWidget&) = delete;
  ~DialogWidget() { gtk_widget_destroy(widget_); }
  GtkWidget* get() const { return widget_; }

 private:
  GtkWidget* widget_;
};

}  // namespace

std::optional<std::string> GtkFileDialog::ChooseMediaFile(const std::string& title,
                                                          const std::string& filter) {
  // A hidden parent (the window sits in the tray) would hide the dialog too.
  GtkWindow* owner = parent_ != nullptr && gtk_widget_get_visible(GTK_WIDGET(parent_)) ? parent_ : nullptr;
  const DialogWidget dialog(
      gtk_file_chooser_dialog_new(Tr(title).c_str(), owner, GTK_FILE_CHOOSER_ACTION_OPEN, Tr(N_("取消(_C)")),
                                  GTK_RESPONSE_CANCEL, Tr(N_("打开(_O)")), GTK_RESPONSE_ACCEPT, nullptr));
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog.get());
  gtk_window_set_modal(GTK_WINDOW(dialog.get()), TRUE);
  gtk_file_chooser_set_local_only(chooser, TRUE);
  gtk_file_chooser_set_select_multiple(chooser, FALSE);
  AddFilters(chooser, Tr(filter));
  if (gtk_dialog_run(GTK_DIALOG(dialog.get())) != GTK_RESPONSE_ACCEPT) return std::nullopt;
  gchar* path = gtk_file_chooser_get_filename(chooser);
  if (path == nullptr) return std::nullopt;
  std::string chosen(path);
  g_free(path);
  return chosen;
}

}  // namespace taviro::gtk
