#pragma once

#include "platform/dialog_window.h"
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
  void ProcessPendingEvents() override { AddTo(log_, "dialog.ProcessPendingEvents"); }
  void BeginMoveDrag() override { AddTo(log_, "dialog.BeginMoveDrag"); }

  bool shown = false;

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
