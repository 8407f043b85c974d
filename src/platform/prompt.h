#pragma once

#include <string>

namespace taviro {

// Modal message boxes. The program shows real dialogs; tests script the
// answers.
class Prompt {
 public:
  virtual ~Prompt() = default;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
  virtual void Inform(const std::string& caption, const std::string& text) = 0;
};

}  // namespace taviro
