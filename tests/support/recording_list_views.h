#pragma once

#include <filesystem>
#include <vector>

#include "lists/list_views.h"

namespace taviro::testing {

// Remembers every page the list routines asked a view to show.
class RecordingListViews : public ListViews {
 public:
  struct Shown {
    ListFile which;
    std::filesystem::path page;
    bool operator==(const Shown&) const = default;
  };

  void ShowListPage(ListFile which, const std::filesystem::path& page) override {
    shown.push_back({which, page});
  }

  std::vector<Shown> shown;
};

}  // namespace taviro::testing
