#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gui/webkit_test_support.h"
#include "linux/gtk/webkit_web_views.h"

namespace taviro::testing {

// One shown view in a window, a page server and a record of what the view
// reported.
class WebViewFixture : public ::testing::Test {
 protected:
  static constexpr int kViewX = 30;
  static constexpr int kViewY = 40;

  void SetUp() override {
    view_ = std::make_unique<gtk::WebKitView>(nullptr);
    // The page server plays the service: its pages may use private links.
    view_->SetServiceBase(server_.Url("/"));
    view_->SetHandlers(record_.Handlers());
    window_.Put(view_->widget(), kViewX, kViewY, 480, 320);
    ASSERT_TRUE(window_.Show());
  }

  void TearDown() override { view_.reset(); }

  // Navigates to `path` on the server and waits for the load to finish.
  void Load(const std::string& path) {
    const int completes = record_.completes;
    view_->Navigate(server_.Url(path));
    ASSERT_TRUE(PumpUntil([&] { return record_.completes > completes; })) << path;
  }

  // Loads a page of its own after what is under test. The engine reports on
  // a navigation before the next one completes, so once it has, every
  // report of the earlier ones has come in.
  void LoadMarker() {
    server_.Page("/marker", "<p>marker</p>");
    Load("/marker");
  }

  bool Navigated(const std::string& uri) {
    return PumpUntil([&] {
      for (const auto& seen : record_.navigations) {
        if (seen == uri) {
          return true;
        }
      }
      return false;
    });
  }

  std::string Run(const std::string& script) { return Evaluate(*view_, script); }

  LoopbackServer server_;
  ShownWindow window_;
  ViewRecord record_;
  std::unique_ptr<gtk::WebKitView> view_;
};

}  // namespace taviro::testing
