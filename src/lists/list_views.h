#pragma once

#include <filesystem>

#include "lists/list_file.h"

namespace taviro {

// The side panel's two list views, as the list routines see them.
class ListViews {
 public:
  virtual ~ListViews() = default;

  // Makes the view of `which` load the freshly written `page`.
  virtual void ShowListPage(ListFile which, const std::filesystem::path& page) = 0;
};

}  // namespace taviro
