// The program's message boxes, shown for real and answered by pressing a
// button, whatever language the system speaks.
#include "linux/gtk/gtk_prompt.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "gui/main_loop_pump.h"

namespace taviro::testing {
namespace {

// The shown message box, or nullptr.
GtkDialog* ShownMessageBox() {
  GtkDialog* found = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    if (GTK_IS_MESSAGE_DIALOG(item->data) && gtk_widget_get_mapped(GTK_WIDGET(item->data))) {
      found = GTK_DIALOG(item->data);
    }
  }
  g_list_free(windows);
  return found;
}

struct Press {
  GtkResponseType response;
  std::vector<std::string> labels;  // of every button, in order
  bool pressed = false;
};

void CollectButtonLabels(GtkWidget* widget, std::vector<std::string>& labels) {
  if (GTK_IS_BUTTON(widget)) {
    const char* label = gtk_button_get_label(GTK_BUTTON(widget));
    labels.emplace_back(label != nullptr ? label : "");
    return;
  }
  if (GTK_IS_CONTAINER(widget)) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* item = children; item != nullptr; item = item->next) {
      CollectButtonLabels(GTK_WIDGET(item->data), labels);
    }
    g_list_free(children);
  }
}

// Once the box is up: reads its buttons and presses the one for `response`.
gboolean PressWhenShown(gpointer data) {
  auto* press = static_cast<Press*>(data);
  GtkDialog* dialog = ShownMessageBox();
  if (dialog == nullptr) return G_SOURCE_CONTINUE;
  CollectButtonLabels(GTK_WIDGET(dialog), press->labels);
  gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(dialog, press->response)));
  press->pressed = true;
  return G_SOURCE_REMOVE;
}

TEST(GtkPromptTest, ButtonsReadInChineseWhateverTheLocale) {
  gtk::GtkPrompt prompt;
  for (const GtkResponseType answer : {GTK_RESPONSE_YES, GTK_RESPONSE_NO}) {
    Press press{answer, {}};
    const guint source = g_timeout_add(20, PressWhenShown, &press);
    const bool yes = prompt.AskYesNo("提示：", "关闭 Taviro  最小化到托盘吗？");
    if (!press.pressed) g_source_remove(source);
    ASSERT_TRUE(press.pressed);
    EXPECT_EQ(yes, answer == GTK_RESPONSE_YES);
    EXPECT_EQ(press.labels, (std::vector<std::string>{"否", "是"}));
  }

  Press ok{GTK_RESPONSE_OK, {}};
  const guint source = g_timeout_add(20, PressWhenShown, &ok);
  prompt.Inform("提示：", "路径还没有任何影片。");
  if (!ok.pressed) g_source_remove(source);
  ASSERT_TRUE(ok.pressed);
  EXPECT_EQ(ok.labels, std::vector<std::string>{"确定"});
  ASSERT_TRUE(PumpUntilIdle());
}

}  // namespace
}  // namespace taviro::testing
