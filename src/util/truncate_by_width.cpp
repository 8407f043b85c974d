#include "util/truncate_by_width.h"

#include "util/utf8.h"

namespace taviro {

std::string TruncateByWidth(std::string_view text, int max_width) {
  const std::u32string characters = DecodeUtf8(text);
  if (max_width / 2.0 >= static_cast<double>(characters.size())) {
    return std::string(text);
  }
  long width = 0;
  std::size_t taken = 0;
  for (char32_t c : characters) {
    width += c < 0x80 ? 1 : 2;
    if (width > max_width) break;
    ++taken;
  }
  return EncodeUtf8(std::u32string_view(characters).substr(0, taken));
}

}  // namespace taviro
