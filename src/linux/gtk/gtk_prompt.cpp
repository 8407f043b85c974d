#include "linux/gtk/gtk_prompt.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

#include "util/translate.h"

namespace taviro::gtk {
namespace {

// The answers' words, written in the ports, for the catalogue.
[[maybe_unused]] constexpr std::array<const char*, 3> kAnswerWords{N_("是"), N_("否"), N_("确定")};

struct Button {
  std::string_view label;
  GtkResponseType response;
};

// The labels are set here rather than taken from the toolkit, which would
// translate them into the system's language.
int RunDialog(GtkWindow* parent, GtkMessageType type, std::initializer_list<Button> buttons,
              const std::string& caption, const std::string& text) {
  // A hidden parent (the window sits in the tray) would hide the dialog too.
  GtkWindow* owner = parent != nullptr && gtk_widget_get_visible(GTK_WIDGET(parent)) ? parent : nullptr;
  if (std::getenv("TAVIRO_DEBUG") != nullptr) {
    std::fprintf(stderr, "taviro: prompt %s %s\n", caption.c_str(), text.c_str());
  }
  GtkWidget* dialog =
      gtk_message_dialog_new(owner, GTK_DIALOG_MODAL, type, GTK_BUTTONS_NONE, "%s", Tr(text).c_str());
  for (const Button& button : buttons) {
    gtk_dialog_add_button(GTK_DIALOG(dialog), Tr(std::string(button.label)).c_str(), button.response);
  }
  // Enter answers yes (or takes the notice), as the boxes of Windows do.
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), std::prev(buttons.end())->response);
  gtk_window_set_title(GTK_WINDOW(dialog), Tr(caption).c_str());
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return response;
}

}  // namespace

bool GtkPrompt::AskYesNo(const std::string& caption, const std::string& text) {
  return RunDialog(parent_, GTK_MESSAGE_QUESTION,
                   {{kPromptNo, GTK_RESPONSE_NO}, {kPromptYes, GTK_RESPONSE_YES}}, caption,
                   text) == GTK_RESPONSE_YES;
}

void GtkPrompt::Inform(const std::string& caption, const std::string& text, PromptIcon icon) {
  const GtkMessageType type = icon == PromptIcon::kQuestion ? GTK_MESSAGE_QUESTION : GTK_MESSAGE_INFO;
  RunDialog(parent_, type, {{kPromptOk, GTK_RESPONSE_OK}}, caption, text);
}

}  // namespace taviro::gtk
