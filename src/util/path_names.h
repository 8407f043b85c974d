#pragma once

#include <string>
#include <string_view>

namespace taviro {

// The part after the last "/"; empty when there is no "/" at all (a bare
// name is not treated as a path) or when the path ends with "/".
std::string FileNameOf(std::string_view path);

// The name a path or address is shown under: FileNameOf a path; for an
// address, the last part of its path with its %XX forms decoded, when that
// gives text.
std::string ShownNameOf(std::string_view path);

// %XX forms decoded; a "%" not followed by two hex digits stays as it is.
std::string PercentDecoded(std::string_view text);

}  // namespace taviro
