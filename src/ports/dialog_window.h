#pragma once

namespace taviro {

// A modeless window of the program owned by the main window (the settings
// dialog). The toolkit builds its widgets from the dialog's model and mirrors
// the model after every event.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;
  // Creates the window when it does not exist, mirrors the model and shows
  // it in front of its owner.
  virtual void Show() = 0;
  // Destroys the window; the next Show() builds it afresh.
  virtual void Close() = 0;
  virtual void Focus() = 0;
  // Lets the window repaint before a long step.
  virtual void ProcessPendingEvents() = 0;
  // Hands the pointer to the system's move loop (the left button is down).
  virtual void BeginMoveDrag() = 0;
};

}  // namespace taviro
