#include "util/path_names.h"

namespace taviro {

std::string FileNameOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  return std::string(path.substr(slash + 1));
}

}  // namespace taviro
