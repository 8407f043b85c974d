#pragma once

#include "lists/list_views.h"

namespace taviro {

class WebViewSet;

// The list pages are shown in the side panel: the network tasks in Web3,
// the local files in Web4.
class WebListViews final : public ListViews {
 public:
  explicit WebListViews(WebViewSet& web) : web_(web) {}
  void ShowListPage(ListFile which, const std::filesystem::path& page) override;

 private:
  WebViewSet& web_;
};

}  // namespace taviro
