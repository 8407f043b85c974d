#pragma once

#include <gtk/gtk.h>

#include "ports/prompt.h"

namespace taviro::gtk {

// Modal message boxes over the main window.
class GtkPrompt final : public Prompt {
 public:
  void SetParent(GtkWindow* parent) { parent_ = parent; }
  bool AskYesNo(const std::string& caption, const std::string& text) override;
  using Prompt::Inform;
  void Inform(const std::string& caption, const std::string& text, PromptIcon icon) override;

 private:
  GtkWindow* parent_ = nullptr;
};

}  // namespace taviro::gtk
