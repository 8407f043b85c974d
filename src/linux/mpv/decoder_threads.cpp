#include "linux/mpv/decoder_threads.h"

#include <cstring>
#include <string>

namespace taviro::mpv {
namespace {

constexpr double kOneThreadPixelRate = 1920.0 * 1088.0 * 30.5;

std::int64_t IntProperty(mpv_handle* handle, const std::string& name) {
  std::int64_t value = 0;
  return mpv_get_property(handle, name.c_str(), MPV_FORMAT_INT64, &value) >= 0 ? value : 0;
}

double DoubleProperty(mpv_handle* handle, const std::string& name) {
  double value = 0;
  return mpv_get_property(handle, name.c_str(), MPV_FORMAT_DOUBLE, &value) >= 0 ? value : 0;
}

// The largest video stream of the opened file; tracks are not chosen yet.
StreamShape LargestVideoStream(mpv_handle* handle) {
  StreamShape largest;
  const std::int64_t count = IntProperty(handle, "track-list/count");
  for (std::int64_t i = 0; i < count; ++i) {
    const std::string track = "track-list/" + std::to_string(i) + "/";
    char* type = mpv_get_property_string(handle, (track + "type").c_str());
    const bool video = type != nullptr && std::strcmp(type, "video") == 0;
    mpv_free(type);
    if (!video) {
      continue;
    }
    StreamShape shape{IntProperty(handle, track + "demux-w"), IntProperty(handle, track + "demux-h"),
                      DoubleProperty(handle, track + "demux-fps")};
    if (shape.width * shape.height >= largest.width * largest.height) {
      largest = shape;
    }
  }
  return largest;
}

}  // namespace

int DecoderThreadsFor(const StreamShape& shape) {
  if (shape.width <= 0 || shape.height <= 0) {
    return 0;
  }
  const double fps = shape.fps > 0 ? shape.fps : 30;
  const double rate = static_cast<double>(shape.width) * static_cast<double>(shape.height) * fps;
  return rate <= kOneThreadPixelRate ? 1 : 0;
}

void DecoderThreadChoice::AddHook(mpv_handle* handle) { mpv_hook_add(handle, kHookId, "on_preloaded", 0); }

bool DecoderThreadChoice::OnHook(mpv_handle* handle, const mpv_event& event) {
  if (event.event_id != MPV_EVENT_HOOK || event.reply_userdata != kHookId) {
    return false;
  }
  const int count = DecoderThreadsFor(LargestVideoStream(handle));
  const std::string threads = std::to_string(count);
  mpv_set_property_string(handle, "vd-lavc-threads", threads.c_str());
  // zimg-threads refuses 0 and spells its automatic choice out.
  mpv_set_property_string(handle, "zimg-threads", count == 0 ? "auto" : threads.c_str());
  mpv_hook_continue(handle, static_cast<const mpv_event_hook*>(event.data)->id);
  return true;
}

}  // namespace taviro::mpv
