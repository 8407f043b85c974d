#pragma once

#include <string>
#include <string_view>

namespace taviro {

// The private link forms the catalogue pages and the episode lists use to
// talk to the program. Every scheme is matched case-sensitively.
inline constexpr std::string_view kCatalogueScheme = "mivuvod://";
inline constexpr std::string_view kPlayScheme = "miqvod://";
inline constexpr std::string_view kChannelScheme = "mitvs://";

// The player kind that plays in the embedded player; any other kind opens the
// web play page.
inline constexpr std::string_view kPlayerKind = "qvod";

// "mivuvod://" id "-" source "-" episode "-" title: a catalogue entry to be
// resolved through the service. Fields after the fourth are dropped, so a
// title holding "-" is cut there.
struct CatalogueLink {
  int id = 0;
  std::string source;
  std::string episode;
  std::string title;  // escaped, passed on as it came
};

// Every "mivuvod://" is removed and one trailing "/" dropped; missing fields
// are empty (the id 0).
CatalogueLink ParseCatalogueLink(std::string_view uri);

// "miqvod://" fields joined by "&&&", in this order:
//   0 kind, 1 media URL (escaped), 2 title (escaped), 3 episode name
//   (escaped), 4 series id, 5 source index, 6 episode index, 7 flag ("0" also
//   reloads the episode list; the list page writes "n"), 8 "1" from the list
//   page, never read.
struct PlayLink {
  std::string kind;
  std::string media_url;
  std::string title;
  std::string name;
  int id = 0;
  std::string source;
  std::string episode;
  std::string flag;
};

// Every "miqvod://" is removed and one trailing "/" dropped; missing fields
// are empty (the id 0).
PlayLink ParsePlayLink(std::string_view uri);

// `text` made safe to stand between the fields of a play link: "&" and ":"
// are written "%26" and "%3A", as escape() writes them, so no field can hold
// "&&&" or "miqvod://". A field in escape() form, as the service sends its
// names, is unchanged, and every field unescapes to the text it had.
std::string PlayLinkField(std::string_view text);

// The link that plays what the service answered for a catalogue entry: seven
// fields, no flag; playing it loads the entry's episode list. Every field
// passes through PlayLinkField, so what the reply or the catalogue page holds
// cannot move the fields after it.
std::string ResolvedPlayLink(std::string_view kind, std::string_view escaped_media_url,
                             const CatalogueLink& entry, std::string_view name);

// id "-" source "-" episode "-" title: the key of the catalogue item playing.
std::string FormatItemKey(int id, std::string_view source, std::string_view episode, std::string_view title);

// The query of an episode-list page: id "-" ly "-" did "-" title "-" cll,
// where ly is the source to open, did the episode to mark and cll the
// suffix of an entry to click ("0" none).
std::string EpisodeListQuery(std::string_view item_key, std::string_view click_suffix);

// What a copy of a catalogue item is saved as: its title and the episode
// (fields as the links hold them, escaped), "title 第N集" for an episode
// known only by its number; empty without a title.
std::string SavedItemTitle(std::string_view title, std::string_view episode_name, std::string_view episode);

// "mitvs://" counts only at the very start of the address.
bool IsChannelLink(std::string_view uri);
// Everything of the address but its "mitvs://" parts, as the TV page takes it.
std::string ChannelCode(std::string_view uri);

bool Contains(std::string_view text, std::string_view part);

}  // namespace taviro
