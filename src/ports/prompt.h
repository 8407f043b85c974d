#pragma once

#include <string>
#include <string_view>

namespace taviro {

// Message boxes speak Chinese like the rest of the program, whatever the
// system's language: a question has the buttons "是" and "否", a notice "确定".
inline constexpr std::string_view kPromptYes = "是";
inline constexpr std::string_view kPromptNo = "否";
inline constexpr std::string_view kPromptOk = "确定";

// The picture beside a notice's text.
enum class PromptIcon { kInformation, kQuestion };

// Modal message boxes. The program shows real dialogs; tests script the
// answers.
class Prompt {
 public:
  virtual ~Prompt() = default;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
  virtual void Inform(const std::string& caption, const std::string& text, PromptIcon icon) = 0;
  void Inform(const std::string& caption, const std::string& text) {
    Inform(caption, text, PromptIcon::kInformation);
  }
};

}  // namespace taviro
