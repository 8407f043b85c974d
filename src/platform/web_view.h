#pragma once

#include <functional>
#include <string>

namespace taviro {

// What a view reports to the window. Every handler may be left empty.
struct WebViewHandlers {
  // Before any navigation of the view, with the address exactly as the page
  // or the caller wrote it; true cancels the navigation.
  std::function<bool(const std::string& uri)> before_navigate;
  std::function<void()> download_begin;
  std::function<void()> download_complete;
  // A failed connection, or an HTTP error status of the main page.
  std::function<void(const std::string& uri, int status)> navigate_error;
};

// One embedded web view.
class WebView {
 public:
  virtual ~WebView() = default;
  virtual void SetHandlers(WebViewHandlers handlers) = 0;
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
