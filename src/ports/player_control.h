#pragma once

#include <string>

#include "ports/player_state.h"

namespace taviro {

// The embedded player, addressed by the operations of the player's dispatch
// table (the comment on each names its id). Positions and durations
// are whole seconds.
class PlayerControl {
 public:
  virtual ~PlayerControl() = default;

  virtual std::string Url() = 0;                          // 1 get: "" = nothing loaded
  virtual void SetUrl(const std::string& url) = 0;        // 1 put
  virtual bool Muted() = 0;                               // 3 get
  virtual void SetMuted(bool muted) = 0;                  // 3 put
  virtual void SetFullScreen(bool on) = 0;                // 5 put
  virtual int Volume() = 0;                               // 6 get, 0..100
  virtual void SetVolume(int percent) = 0;                // 6 put
  virtual int Duration() = 0;                             // 7
  virtual int TransferRate() = 0;                         // 8
  virtual int Position() = 0;                             // 10 get
  virtual void SetPosition(int seconds) = 0;              // 10 put: seeks
  virtual void Play() = 0;                                // 12
  virtual void Pause() = 0;                               // 13
  virtual void Stop() = 0;                                // 14
  virtual PlayerState State() = 0;                        // 16
  virtual void SetPictureFit(int fit) = 0;                // 19: 0..4
  virtual int SecondRate() = 0;                           // 20
  virtual void SetSoundChannel(int channel) = 0;          // 21: 0, 1, 2, 4, 5
  virtual int DownloadProgress() = 0;                     // 26: thousandths
  virtual void Prebuffer(const std::string& url) = 0;     // 30
  virtual void SetAdvertUrl(const std::string& url) = 0;  // 31 put
  // Beyond the table: the item has no end (a live channel), so it cannot
  // be sought in and never reaches an end.
  virtual bool Live() { return false; }
  // Beyond the table: the item's server showed a certificate the system
  // does not trust, so nothing of it was played.
  virtual bool Untrusted() { return false; }
};

}  // namespace taviro
