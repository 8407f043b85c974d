#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taviro::library {

// What a media file's or folder's name says about the title it belongs to.
struct MediaName {
  std::string title;  // cleaned: release tags, group brackets, dots/underscores for spaces gone
  std::optional<int> year;
  std::optional<int> season;
  std::optional<int> episode;  // episode or part number
  bool extra = false;          // sample, trailer, extras, featurette…: not listed
};

// `stem`: a file or folder name without its extension, UTF-8 (malformed
// bytes read as U+FFFD).
MediaName ParseMediaName(std::string_view stem);

}  // namespace taviro::library
