#pragma once

#include <string>
#include <string_view>

namespace taviro {

// The part after the last "/"; empty when there is no "/" at all (a bare
// name is not treated as a path) or when the path ends with "/".
std::string FileNameOf(std::string_view path);

}  // namespace taviro
