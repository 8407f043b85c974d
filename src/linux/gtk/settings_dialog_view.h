#pragma once

#include <gtk/gtk.h>

#include <array>
#include <optional>
#include <vector>

#include "linux/gtk/gobject_ptr.h"
#include "linux/gtk/gtk_folder_chooser.h"
#include "linux/gtk/gtk_prompt.h"
#include "ports/dialog_window.h"
#include "ui/settings/settings_dialog.h"

namespace taviro::gtk {

class SkinPictureStore;

// The settings dialog `BA3` as a borderless GTK window: built from the
// dialog's model when it opens, mirrored after every event, destroyed when it
// closes. Its message boxes and folder chooser are owned by it.
class SettingsDialogView final : public DialogWindow {
 public:
  explicit SettingsDialogView(const SkinPictureStore& skins);
  SettingsDialogView(const SettingsDialogView&) = delete;
  SettingsDialogView& operator=(const SettingsDialogView&) = delete;
  ~SettingsDialogView() override;

  void Attach(SettingsDialog& dialog, GtkWindow* owner) {
    dialog_ = &dialog;
    owner_ = owner;
  }
  Prompt& prompt() { return prompt_; }
  FolderChooser& folders() { return folders_; }

  // Applies the model's changes while the dialog is shown.
  void Sync();

  void Show() override;
  void Close() override;
  void Focus() override;
  void ProcessPendingEvents() override;
  void BeginMoveDrag() override;

 private:
  struct Line {
    int page;
    int x1;
    int x2;
    int y;
    double grey;
  };

  void Build();
  void BuildTitleBar(GtkWidget* root, int width);
  void BuildBody(GtkWidget* body, int width, int height);
  GtkWidget* BuildOptionsPage();
  GtkWidget* BuildCachePage();
  GtkWidget* BuildAboutPage();
  GtkWidget* NewPage(int index);
  bool Idle() const { return dialog_ != nullptr && window_ != nullptr && !dialog_->model().busy; }

  static gboolean OnWindowDraw(GtkWidget* widget, cairo_t* cr, gpointer data);
  static gboolean OnBodyDraw(GtkWidget* widget, cairo_t* cr, gpointer data);
  static gboolean OnPageDraw(GtkWidget* widget, cairo_t* cr, gpointer data);
  static gboolean OnGlyphDraw(GtkWidget* widget, cairo_t* cr, gpointer data);
  static gboolean OnGlyphCrossing(GtkWidget* widget, GdkEventCrossing* event, gpointer data);
  static gboolean OnWindowPress(GtkWidget* widget, GdkEventButton* event, gpointer data);
  static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer data);
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer data);
  static gboolean OnPagePointer(GtkWidget* widget, GdkEvent* event, gpointer data);
  static gboolean OnLinkEnter(GtkWidget* widget, GdkEvent* event, gpointer data);
  static gboolean OnLinkPress(GtkWidget* widget, GdkEventButton* event, gpointer data);
  static void OnTabClicked(GtkButton* button, gpointer data);
  static void OnCheckToggled(GtkToggleButton* button, gpointer data);
  static void OnFolderChanged(GtkEditable* editable, gpointer data);
  static void OnBrowse(GtkButton* button, gpointer data);
  static void OnOk(GtkButton* button, gpointer data);
  static void OnCancel(GtkButton* button, gpointer data);
  static void OnApply(GtkButton* button, gpointer data);

  const SkinPictureStore& skins_;
  SettingsDialog* dialog_ = nullptr;
  GtkWindow* owner_ = nullptr;
  GtkPrompt prompt_;
  GtkFolderChooser folders_;
  GObjectPtr<GtkCssProvider> style_;

  GtkWidget* window_ = nullptr;
  GtkWidget* glyph_ = nullptr;
  std::array<GtkWidget*, kSettingsPageCount> tabs_{};
  std::array<GObjectPtr<GtkCssProvider>, kSettingsPageCount> tab_styles_;
  std::array<GtkWidget*, kSettingsPageCount> pages_{};
  std::array<GtkWidget*, kOptionCount> checks_{};
  GtkWidget* folder_ = nullptr;
  GtkWidget* busy_ = nullptr;
  GtkWidget* link_ = nullptr;
  std::vector<Line> lines_;
  GdkEventButton last_press_{};
  bool syncing_ = false;
  // What the widgets show; none until they are built.
  std::optional<SettingsDialogModel> shown_;
  unsigned shown_skin_ = 0;
};

}  // namespace taviro::gtk
