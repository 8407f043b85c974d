#pragma once

#include <string>
#include <vector>

#include "ports/prompt.h"
#include "support/call_log.h"

namespace taviro::testing {

// Answers yes/no questions from a script (yes once the script runs out) and
// keeps every message it was shown.
class FakePrompt : public Prompt {
 public:
  struct Message {
    std::string caption;
    std::string text;
    PromptIcon icon = PromptIcon::kQuestion;  // a question's
  };

  explicit FakePrompt(CallLog* log = nullptr) : log_(log) {}

  bool AskYesNo(const std::string& caption, const std::string& text) override {
    questions.push_back({caption, text});
    AddTo(log_, "prompt.AskYesNo");
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  using Prompt::Inform;
  void Inform(const std::string& caption, const std::string& text, PromptIcon icon) override {
    notices.push_back({caption, text, icon});
    AddTo(log_, "prompt.Inform");
  }

  std::vector<bool> answers;
  std::vector<Message> questions;
  std::vector<Message> notices;

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
