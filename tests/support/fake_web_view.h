#pragma once

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ports/web_view.h"
#include "support/call_log.h"

namespace taviro::testing {

// A web view that keeps what it was asked to show.
class FakeWebView : public WebView {
 public:
  void SetHandlers(WebViewHandlers new_handlers) override { handlers = std::move(new_handlers); }
  void Navigate(const std::string& uri) override {
    navigations.push_back(uri);
    AddTo(log, name + ".Navigate(" + uri + ")");
    if (dispatch_navigations && handlers.before_navigate) handlers.before_navigate(uri);
  }
  void WriteDocument(const std::string& html, const std::string& base_uri) override {
    documents.push_back(html);
    document_base = base_uri;
    AddTo(log, name + ".WriteDocument");
  }
  void Refresh() override {
    ++refreshes;
    AddTo(log, name + ".Refresh");
  }
  void GoBack() override { AddTo(log, name + ".GoBack"); }
  void GoForward() override { AddTo(log, name + ".GoForward"); }
  void Edit(EditCommand command) override { edits.push_back(command); }
  // Scripts are recorded; a test answers them through `script_results` (in
  // order) or later through the callbacks kept in `unanswered`.
  void RunScript(const std::string& script, std::function<void(const std::string&)> done) override {
    scripts.push_back(script);
    AddTo(log, name + ".RunScript");
    if (!script_results.empty() && done) {
      const std::string result = script_results.front();
      script_results.erase(script_results.begin());
      done(result);
    } else if (done) {
      unanswered.push_back(std::move(done));
    }
  }
  // The last address navigated to, or "" when there was none.
  std::string Address() const { return navigations.empty() ? std::string() : navigations.back(); }

  std::string name;
  CallLog* log = nullptr;
  // Hands every navigation to the before-navigate handler, as the real view
  // does, so a handler that makes its own view navigate runs again.
  bool dispatch_navigations = false;
  WebViewHandlers handlers;
  std::vector<std::string> navigations;
  std::vector<std::string> documents;
  std::vector<std::string> scripts;
  std::vector<std::string> script_results;
  std::vector<std::function<void(const std::string&)>> unanswered;
  std::vector<EditCommand> edits;
  int refreshes = 0;
  std::string document_base;
};

// Web1 .. Web11.
class FakeWebViewSet : public WebViewSet {
 public:
  explicit FakeWebViewSet(CallLog* log = nullptr) {
    for (std::size_t i = 0; i < views_.size(); ++i) {
      views_[i].name = "Web" + std::to_string(i + 1);
      views_[i].log = log;
    }
  }
  WebView& View(WebViewRole role) override { return (*this)[static_cast<int>(role)]; }
  FakeWebView& operator[](int number) { return views_.at(static_cast<std::size_t>(number - 1)); }

 private:
  std::array<FakeWebView, 11> views_;
};

}  // namespace taviro::testing
