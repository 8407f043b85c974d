#pragma once

#include <string>

namespace taviro {

// One embedded web view. Navigation handlers and events are added by the
// code that routes links; this is what the window itself asks of a view.
class WebView {
 public:
  virtual ~WebView() = default;
  // Navigates to `uri` exactly as written.
  virtual void Navigate(const std::string& uri) = 0;
  // Replaces the document with `html`; relative links resolve against
  // `base_uri`.
  virtual void WriteDocument(const std::string& html, const std::string& base_uri) = 0;
};

// The window's eleven views, numbered 1..11 as Web1..Web11.
class WebViewSet {
 public:
  virtual ~WebViewSet() = default;
  virtual WebView& View(int number) = 0;
};

}  // namespace taviro
