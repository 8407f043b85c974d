// A drop or an OpenUri call, and a hand-off text: whatever they hold, at
// most a bounded number of absolute local paths come out, none with a NUL.
#include <cstdint>
#include <string>

#include "app/hand_off_paths.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> paths = taviro::LocalPathsOfUriList(text);
  Check(paths.size() <= taviro::kMostHandOffPaths, "a list is bounded", text);
  for (const std::string& path : paths) {
    Check(path.starts_with("/"), "a dropped file is an absolute path", text);
    Check(path.find('\0') == std::string::npos, "no NUL in a path", text);
  }
  const std::vector<std::string> handed = taviro::SplitHandOffPaths(text);
  Check(handed.size() <= taviro::kMostHandOffPaths, "a hand-off is bounded", text);
  if (!handed.empty() && handed.size() < taviro::kMostHandOffPaths && size < taviro::kLongestHandOffText) {
    Check(taviro::JoinHandOffPaths(handed) == text, "a hand-off text survives", text);
  }
  return 0;
}
