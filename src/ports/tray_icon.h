#pragma once

#include <string>

namespace taviro {

// The notification-area icon and its balloons. A desktop without a tray or a
// notification service is a normal case: the calls then do nothing visible.
class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  virtual void Add(const std::string& tooltip) = 0;
  virtual void ShowBalloon(const std::string& title, const std::string& text) = 0;
  // Whether a notification area shows the icon now, so that a click on it
  // can bring a hidden window back.
  virtual bool Embedded() const = 0;
  virtual void Remove() = 0;
};

}  // namespace taviro
