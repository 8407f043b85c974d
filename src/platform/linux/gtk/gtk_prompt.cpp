#include "platform/linux/gtk/gtk_prompt.h"

#include <cstdio>
#include <cstdlib>

namespace taviro::gtk {
namespace {

int RunDialog(GtkWindow* parent, GtkMessageType type, GtkButtonsType buttons, const std::string& caption,
              const std::string& text) {
  // A hidden parent (the window sits in the tray) would hide the dialog too.
  GtkWindow* owner = parent != nullptr && gtk_widget_get_visible(GTK_WIDGET(parent)) ? parent : nullptr;
  if (std::getenv("TAVIRO_DEBUG") != nullptr) {
    std::fprintf(stderr, "taviro: prompt %s %s\n", caption.c_str(), text.c_str());
  }
  GtkWidget* dialog = gtk_message_dialog_new(owner, GTK_DIALOG_MODAL, type, buttons, "%s", text.c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return response;
}

}  // namespace

bool GtkPrompt::AskYesNo(const std::string& caption, const std::string& text) {
  return RunDialog(parent_, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO, caption, text) == GTK_RESPONSE_YES;
}

void GtkPrompt::Inform(const std::string& caption, const std::string& text) {
  RunDialog(parent_, GTK_MESSAGE_INFO, GTK_BUTTONS_OK, caption, text);
}

}  // namespace taviro::gtk
