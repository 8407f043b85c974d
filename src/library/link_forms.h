#pragma once

#include <string>
#include <string_view>

#include "library/catalogue_model.h"

namespace taviro::catalogue {

// An address given relative to the service, or a whole address as it stands.
std::string ServiceAddress(std::string_view base_url, std::string_view address);

// The address a media entry plays from: a bare file name lives under the
// service's "qvod/" folder for player sources (kind "qvod") and "media/"
// for the others (the same files); a whole address is used as it stands.
std::string MediaUrl(std::string_view base_url, std::string_view media, std::string_view kind);

// "mivuvod://" id "-" source "-" episode "-" escape(title): a catalogue entry.
std::string CatalogueLink(int series_id, std::size_t source, std::size_t episode, std::string_view title);

// An episode-list entry: "miqvod://" kind &&& escape(url) &&& title &&&
// name &&& id &&& source &&& episode &&& "n" &&& "1". Title and name are
// given already in their escaped form.
std::string ListPlayLink(std::string_view kind, std::string_view url, std::string_view escaped_title,
                         std::string_view escaped_name, int series_id, std::size_t source,
                         std::size_t episode);

// "mitvs://" code: a TV channel.
std::string ChannelLink(std::string_view code);

// The episode data of one series as the script string that follows
// "var VideoInfoList=": sources joined by "$$$", each "name$$episodes",
// episodes joined by "#", each "name$url$kind". Names are plain text.
std::string VideoInfoListText(const Series& series, std::string_view base_url);

// The body of "h.asp?id=..&v=..&v1=..": "1" when the request cannot be
// read, "0" when there is no such episode, else escape(name) "$" url "$"
// kind. The name goes out escaped because the program carries it unchanged
// into its play link and its task list, where names are kept escaped.
std::string EpisodeReply(const Catalogue& catalogue, std::string_view id, std::string_view source,
                         std::string_view episode, std::string_view base_url);

}  // namespace taviro::catalogue
