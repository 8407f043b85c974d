#pragma once

#include <string>
#include <vector>

#include "ports/folder_chooser.h"

namespace taviro::testing {

// Answers every request with `answer` ("" = cancelled) and keeps what it was
// asked.
class FakeFolderChooser : public FolderChooser {
 public:
  struct Request {
    std::string initial_folder;
    std::string title;
  };

  std::string ChooseFolder(const std::string& initial_folder, const std::string& title) override {
    requests.push_back({initial_folder, title});
    return answer;
  }

  std::string answer;
  std::vector<Request> requests;
};

}  // namespace taviro::testing
