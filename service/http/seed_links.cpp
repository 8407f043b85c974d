#include "http/seed_links.h"

#include <system_error>

#include "helper/download_name.h"

namespace taviro::demo {
namespace {

constexpr std::string_view kSeedPrefix = "seed:";

}  // namespace

std::string SeedHash(std::string_view file_name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hash;
  for (const char c : file_name) {
    const auto byte = static_cast<unsigned char>(c);
    hash += kHex[byte >> 4];
    hash += kHex[byte & 15];
  }
  return hash;
}

std::optional<std::string> SeedFileName(std::string_view hash) {
  if (hash.empty() || hash.size() % 2 != 0) return std::nullopt;
  std::string name;
  for (std::size_t i = 0; i < hash.size(); i += 2) {
    int value = 0;
    for (const char c : hash.substr(i, 2)) {
      value *= 16;
      if (c >= '0' && c <= '9')
        value += c - '0';
      else if (c >= 'A' && c <= 'F')
        value += c - 'A' + 10;
      else if (c >= 'a' && c <= 'f')
        value += c - 'a' + 10;
      else
        return std::nullopt;
    }
    name += static_cast<char>(value);
  }
  if (!IsSafeFileName(name)) return std::nullopt;
  return name;
}

Catalogue WithSeedLinks(Catalogue catalogue, const std::filesystem::path& media_folder) {
  for (Series& series : catalogue.series) {
    for (Source& source : series.sources) {
      for (Episode& episode : source.episodes) {
        if (!episode.media.starts_with(kSeedPrefix)) continue;
        const std::string file = episode.media.substr(kSeedPrefix.size());
        std::error_code error;
        const auto size = std::filesystem::file_size(media_folder / file, error);
        const std::string extension = file.substr(std::min(file.rfind('.'), file.size()));
        QvodLink link{error ? 0 : static_cast<std::int64_t>(size), SeedHash(file),
                      series.title + episode.name + extension};
        episode.media = FormatQvodLink(link);
      }
    }
  }
  return catalogue;
}

}  // namespace taviro::demo
