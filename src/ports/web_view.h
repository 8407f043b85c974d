#pragma once

#include <functional>
#include <string>
#include <vector>

namespace taviro {

// A right click in a view: the address of the link under the pointer (the
// page's active element), empty when there is none, and the pointer's place
// in window pixels.
struct ContextMenuRequest {
  std::string link_uri;
  int x = 0;
  int y = 0;
};

// What a view reports to the window. Every handler may be left empty.
struct WebViewHandlers {
  // Before any navigation of the view, with the address exactly as the page
  // or the caller wrote it; true cancels the navigation.
  std::function<bool(const std::string& uri)> before_navigate;
  std::function<void()> download_begin;
  std::function<void()> download_complete;
  // A failed connection, or an HTTP error status of the main page.
  std::function<void(const std::string& uri, int status)> navigate_error;
  // The engine's own menu never shows; this runs instead.
  std::function<void(const ContextMenuRequest& request)> context_menu;
  // A page called the window's automation interface
  // (window.external.NAME(arguments...)), every argument as text.
  std::function<void(const std::string& name, const std::vector<std::string>& arguments)> external_call;
  // A page asked for a new window; the address has gone to the user's
  // browser instead.
  std::function<void(const std::string& uri)> new_window;
};

enum class EditCommand { kCopy, kPaste, kSelectAll };

// One embedded web view.
class WebView {
 public:
  virtual ~WebView() = default;
  virtual void SetHandlers(WebViewHandlers handlers) = 0;
  // Navigates to `uri` exactly as written. Addresses in the program's own
  // link schemes go straight to the before-navigate handler, unchanged.
  virtual void Navigate(const std::string& uri) = 0;
  // Replaces the document with `html`; relative links resolve against
  // `base_uri`.
  virtual void WriteDocument(const std::string& html, const std::string& base_uri) = 0;
  virtual void Refresh() = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void Edit(EditCommand command) = 0;
  // Runs `script` in the page; its result as text goes to `done` (empty when
  // the script failed). `done` may be empty.
  virtual void RunScript(const std::string& script, std::function<void(const std::string&)> done) = 0;
};

// The window's eleven views by what each shows, numbered as the regions
// Web1..Web11 that hold them.
enum class WebViewRole : int {
  kCatalogue = 1,      // the service's catalogue
  kPlayPage = 2,       // play.htm, and the end-of-play address
  kTaskList = 3,       // the network-task list page
  kLocalFileList = 4,  // the local-file list page
  kEpisodeList = 5,    // pp.htm, the series' episodes
  kStatistics = 6,     // the service's statistics page
  kPauseAdvert = 7,    // the pause panel
  kPlayerBanner = 8,   // the player's banner
  kHighlights = 9,     // the highlights tab
  kTvAdvert = 10,      // the TV page's panel
  kTvChannels = 11,    // the TV channel list
};

class WebViewSet {
 public:
  virtual ~WebViewSet() = default;
  virtual WebView& View(WebViewRole role) = 0;
};

}  // namespace taviro
