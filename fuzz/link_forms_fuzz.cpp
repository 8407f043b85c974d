// The private link forms: any address parses without fault, and a link built
// from its fields (as the pages and the program build them) gives them back.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "lists/list_links.h"
#include "playback/catalogue_links.h"
#include "playback/item_key.h"
#include "property.h"
#include "util/script_escape.h"

namespace {

using taviro::fuzz::Check;
using taviro::fuzz::CheckUnlessPending;

std::string Digits(FuzzedDataProvider& input) {
  return std::to_string(input.ConsumeIntegralInRange(0, 99999));
}

void ParseAnything(const std::string& uri) {
  (void)taviro::ParseCatalogueLink(uri);
  (void)taviro::ParsePlayLink(uri);
  (void)taviro::ChannelCode(uri);
  (void)taviro::ParseItemKey(uri);
  (void)taviro::DeleteLinkLine(uri);
  Check(taviro::OpenLinkLine(uri).size() <= uri.size(), "a row link's line is part of the link", uri);
  (void)taviro::RowLinkLine(uri);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int id = input.ConsumeIntegralInRange(0, 999999);
  const std::string source = Digits(input);
  const std::string episode = Digits(input);
  const std::string title = taviro::ScriptEscape(input.ConsumeRandomLengthString(24));
  const std::string media_url = taviro::ScriptEscape(input.ConsumeRandomLengthString(40));
  // The kind and the name come from the service's reply as they are.
  const std::string kind = input.ConsumeRandomLengthString(8);
  const std::string name = input.ConsumeRandomLengthString(24);
  const std::string rest = input.ConsumeRemainingBytesAsString();
  ParseAnything(rest);

  // A catalogue entry, with the "/" a web view may add.
  const std::string entry_uri =
      "mivuvod://" + std::to_string(id) + "-" + source + "-" + episode + "-" + title + "/";
  const taviro::CatalogueLink entry = taviro::ParseCatalogueLink(entry_uri);
  if (title.find('-') == std::string::npos) {
    Check(entry.id == id && entry.source == source && entry.episode == episode && entry.title == title,
          "a catalogue link gives back its fields", entry_uri);
  }

  // The play link resolved from it. The reply's kind and name, and the
  // entry's title, are mended so that they cannot hold the link's
  // separators: every field comes back as it was put in, and unescapes to the
  // text it had.
  const std::string play_uri = taviro::ResolvedPlayLink(kind, media_url, entry, name) + "/";
  const taviro::PlayLink play = taviro::ParsePlayLink(play_uri);
  Check(play.media_url == media_url && play.title == taviro::PlayLinkField(entry.title) &&
            play.id == entry.id && play.source == entry.source && play.episode == entry.episode &&
            play.flag.empty(),
        "a resolved link gives back its fields", play_uri);
  CheckUnlessPending(play.kind == taviro::PlayLinkField(kind) && play.name == taviro::PlayLinkField(name) &&
                         taviro::ScriptUnescape(play.name) == taviro::ScriptUnescape(name) &&
                         taviro::ScriptUnescape(play.kind) == taviro::ScriptUnescape(kind),
                     "resolved_link_fields", play_uri);
  Check(taviro::PlayLinkField(title) == title && taviro::PlayLinkField(media_url) == media_url,
        "a field in escape() form is not mended", title);

  // The key of the item playing.
  if (title.find('-') == std::string::npos) {
    const auto key = taviro::ParseItemKey(taviro::FormatItemKey(id, source, episode, title));
    Check(key && key->id == id && std::to_string(key->source) == source &&
              std::to_string(key->episode) == episode && key->title == title,
          "an item key gives back its fields", title);
  }

  // The list rows' links.
  const int line = input.ConsumeIntegralInRange(1, 1000);
  Check(taviro::OpenLinkLine("open://" + std::to_string(line) + "/") == std::to_string(line) &&
            taviro::DeleteLinkLine("delk://" + std::to_string(line) + "/") == line &&
            taviro::RowLinkLine("delk://" + std::to_string(line)) == std::to_string(line),
        "a row link gives back its line");

  // The episode list's query and the channel links, from the same texts.
  Check(taviro::EpisodeListQuery(title, episode) == title + "-" + episode, "a list query joins its parts",
        title);
  const std::string channel = std::string(taviro::kChannelScheme) + media_url;
  Check(taviro::IsChannelLink(channel) && !taviro::IsChannelLink(media_url),
        "a channel link is told by its scheme", media_url);
  (void)taviro::ChannelCode(channel);
  return 0;
}
