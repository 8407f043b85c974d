#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taviro::library {

// What a media file's or folder's name says about what it holds.
struct MediaName {
  std::string title;
  std::optional<int> year;
  std::optional<int> season;
  std::optional<int> episode;
  bool extra = false;
};

MediaName ParseMediaName(std::string_view stem);  // file/folder name without extension, UTF-8

}  // namespace taviro::library
