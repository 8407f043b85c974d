#pragma once

#include <functional>

#include "ports/dialog_window.h"
#include "support/call_log.h"

namespace taviro::testing {

// Records what the dialog's window was asked to do.
class FakeDialogWindow : public DialogWindow {
 public:
  explicit FakeDialogWindow(CallLog* log = nullptr) : log_(log) {}

  void Show() override {
    shown = true;
    AddTo(log_, "dialog.Show");
  }
  void Close() override {
    shown = false;
    AddTo(log_, "dialog.Close");
  }
  void Focus() override { AddTo(log_, "dialog.Focus"); }
  void ProcessPendingEvents() override {
    AddTo(log_, "dialog.ProcessPendingEvents");
    if (on_pending_events) on_pending_events();
  }
  void BeginMoveDrag() override { AddTo(log_, "dialog.BeginMoveDrag"); }

  bool shown = false;
  // Runs where the real window would mirror the dialog's model.
  std::function<void()> on_pending_events;

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
