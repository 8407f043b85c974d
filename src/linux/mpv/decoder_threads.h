#pragma once

#include <mpv/client.h>

#include <cstdint>
#include <optional>

namespace taviro::mpv {

// What the container says of a video stream before anything is decoded.
struct StreamShape {
  std::int64_t width = 0;
  std::int64_t height = 0;
  double fps = 0;  // 0 where the container gives no rate
};

// How many threads decode a stream, as libmpv's vd-lavc-threads (0: ffmpeg's
// frame threads, one per core and one more). One core decodes up to 1080p at
// 30 frames a second with ease, and one thread keeps the decoded frames in
// flight (3 MiB each at 1080p) to what the stream itself needs; frame threads
// hold a few more, plus a decoder copy each. A stream whose size is not known
// yet gets frame threads, so nothing can fall behind.
//
// The software picture's conversion (zimg-threads) takes the same count:
// for such a stream, handing slices to other threads costs more CPU than it
// saves.
int DecoderThreadsFor(const StreamShape& shape);

// The hook the choice is made in: after the file is opened, before a decoder
// is made. Add it once per player; hand each MPV_EVENT_HOOK to OnHook.
class DecoderThreadChoice {
 public:
  static constexpr std::uint64_t kHookId = 1;
  static void AddHook(mpv_handle* handle);
  // Whether the hook was this one; it is always let go on.
  static bool OnHook(mpv_handle* handle, const mpv_event& event);
};

}  // namespace taviro::mpv
