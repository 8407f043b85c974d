#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "services/notice_schedule.h"
#include "util/timer.h"

namespace taviro {

class TextFetcher;
class TimerScheduler;

inline constexpr int kTimercIntervalMs = 1000;
inline constexpr int kTimertIntervalMs = 60000;

// The notice window `tankou` as the schedule drives it.
class NoticeWindowPort {
 public:
  virtual ~NoticeWindowPort() = default;
  virtual void Navigate(const std::string& url) = 0;
  // Shown on top, never taking the keyboard.
  virtual void SetVisible(bool visible) = 0;
  // Makes the view small, so that the next page measures its own size.
  virtual void ShrinkView() = 0;
  // Takes the page's margins, border and scroll bars away and reports its
  // scroll size in pixels; nothing when the page cannot be measured.
  virtual void MeasurePage(std::function<void(int width, int height)> done) = 0;
  virtual void Place(const NoticeGeometry& geometry) = 0;
  virtual ScreenRect WorkArea() = 0;
  // The window goes for the rest of the run.
  virtual void Unload() = 0;
};

// The popup notice `tankou`: after a delay it shows the service's notice
// pages one after another in the bottom-right corner, each for its stay,
// starting over when the schedule repeats.
class PopupNotice {
 public:
  PopupNotice(TimerScheduler& scheduler, TextFetcher& fetcher, NoticeWindowPort& window,
              std::string base_url);
  PopupNotice(const PopupNotice&) = delete;
  PopupNotice& operator=(const PopupNotice&) = delete;

  // Loads the window (hidden) and fetches its schedule.
  void Load();
  // The schedule's reply (empty when the fetch failed).
  void Apply(std::string_view text);
  void OnTimerc();
  void OnTimert();
  void OnPageComplete();
  // The close image, or a page that opened a new window: hidden until the
  // next page.
  void Hide() { window_.SetVisible(false); }
  void Unload();

  bool Loaded() const { return loaded_; }

 private:
  void ShowNextNotice();

  TextFetcher& fetcher_;
  NoticeWindowPort& window_;
  std::string base_url_;
  Timer timerc_;
  Timer timert_;
  NoticeSchedule schedule_;
  bool loaded_ = false;
  bool armed_ = false;  // NoticeArmed
  int index_ = 0;       // NoticeIndex
  int ticks_ = 0;       // NoticeTicks
};

}  // namespace taviro
