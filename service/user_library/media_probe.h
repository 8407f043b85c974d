#pragma once

#include <string>

#include "library/library_model.h"

namespace taviro::demo {

using catalogue::MediaFacts;

// Duration and picture size of a media file; a broken or empty file gives
// facts with `probed` set and nothing else.
MediaFacts ProbeMedia(const std::string& path);

// One frame from about a tenth of the way in, scaled to a poster's width and
// written as JPEG to `jpeg_path` (through a temporary file, so that a
// reader never sees half a picture). False when the file gives no frame.
bool WritePosterFrame(const std::string& path, double duration_seconds, const std::string& jpeg_path);

}  // namespace taviro::demo

namespace taviro::demo {
// The decoders' own messages about broken files stay out of the log unless
// a developer asks for them.
void QuietenMediaDecoders(bool debug);
}  // namespace taviro::demo
