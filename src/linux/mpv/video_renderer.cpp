#include "linux/mpv/video_renderer.h"

namespace taviro::mpv {

void SkipFrame(mpv_render_context* context) {
  int skip = 1;
  int block = 0;
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
      {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  // A frame that cannot be skipped is left to libmpv's own time-out.
  mpv_render_context_render(context, params);
}

}  // namespace taviro::mpv
