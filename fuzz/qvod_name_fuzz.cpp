// The addresses the helper is asked for: the file name it saves under stays
// inside the save folder, and what it fetches is the service's seed folder
// or an http(s) address, never anything else.
#include <cctype>
#include <cstdint>
#include <string>

#include "helper/download_name.h"
#include "helper/transfer_rules.h"
#include "playback/page_trust.h"
#include "property.h"
#include "util/path_names.h"
#include "util/utf8.h"

namespace {

using taviro::fuzz::Check;

constexpr std::string_view kBase = "http://127.0.0.1:8/site/";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string address(reinterpret_cast<const char*>(data), size);
  const std::string name = taviro::MediaFileName(address);
  Check(name.empty() || taviro::IsSafeFileName(name), "a saved name stays in the folder", address);
  if (const std::optional<taviro::QvodLink> link = taviro::ParseQvodLink(address)) {
    const auto again = taviro::ParseQvodLink(taviro::FormatQvodLink(*link));
    Check(again && again->size == link->size && again->hash == link->hash && again->name == link->name,
          "a qvod link survives its own form", address);
  }
  if (const std::optional<std::string> source = taviro::helper::SourceAddress(address, kBase)) {
    const bool qvod = taviro::ParseQvodLink(address).has_value();
    Check(qvod ? source->starts_with(std::string(kBase) + "seed/")
               : source->starts_with("http://") || source->starts_with("https://"),
          "only the seed folder or http(s) is fetched", address);
    if (qvod) {
      for (const char c : source->substr(kBase.size() + 5)) {
        Check(std::isalnum(static_cast<unsigned char>(c)) != 0, "a seed is letters and digits", address);
      }
    }
    Check(!taviro::helper::SourceKey(address, *source).empty(), "an item has a key", address);
  }
  if (taviro::IsServiceAddress(address, kBase)) {
    Check(taviro::IsTrustedPage(address, kBase), "the service's pages are trusted", address);
  }
  // The address's own last part, cut where the shown name cuts it.
  const std::size_t scheme = address.find("://");
  const std::string raw =
      scheme == std::string::npos
          ? taviro::FileNameOf(address)
          : taviro::FileNameOf(address.substr(0, address.find_first_of("?#", scheme + 3)));
  const std::string shown = taviro::ShownNameOf(address);
  Check(taviro::IsValidUtf8(shown) || shown == raw, "a name is shown decoded only when that gives text",
        address);
  return 0;
}
