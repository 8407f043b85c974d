// A server's head and first bytes, whatever they are: the shape is decided
// without fault, a playlist naming another protocol is never played, and a
// name from Content-Disposition or a playlist's address is kept only when it
// stays in the folder.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "helper/download_name.h"
#include "helper/stream_shape.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;

// Whether a line that is not a tag names a local file.
bool NamesLocalFile(std::string_view body) {
  for (std::size_t at = 0; at <= body.size();) {
    const std::size_t end = std::min(body.find('\n', at), body.size());
    std::string_view line = body.substr(at, end - at);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.starts_with("file:")) return true;
    at = end + 1;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The first line is the content type, the rest the body.
  const std::size_t line = text.find('\n');
  const std::string type = text.substr(0, line);
  const std::string body = line == std::string::npos ? std::string() : text.substr(line + 1);
  for (const std::optional<std::int64_t> length :
       {std::optional<std::int64_t>(), std::optional<std::int64_t>(9)}) {
    const taviro::StreamShape shape = taviro::ClassifyStream({type, length}, body);
    if (body.starts_with("#EXTM3U") && NamesLocalFile(body)) {
      Check(shape == taviro::StreamShape::kRefused, "a playlist naming a local file is refused", text);
    }
    if (shape == taviro::StreamShape::kFile) Check(length.has_value(), "a file has a length", text);
  }
  const std::string name = taviro::SavedFileName("asked.mp4", type, taviro::DispositionFileName(body));
  Check(name == "asked.mp4" || taviro::IsSafeFileName(name), "a saved name stays in the folder", text);
  // The first line read as a playlist's address.
  const std::string programme = taviro::ProgrammeFileName(type);
  Check(taviro::IsSafeFileName(programme) && programme.ends_with(".mp4"),
        "a programme's name stays in the folder", text);
  Check(taviro::IsSafeFileName(taviro::NumberedName(programme, 999)), "a numbered name stays in the folder",
        text);
  return 0;
}
