#include "playback/catalogue_links.h"

#include <vector>

#include "lists/list_links.h"
#include "util/script_escape.h"
#include "util/split_text.h"
#include "util/text_number.h"

namespace taviro {
namespace {

std::string LinkBody(std::string_view uri, std::string_view scheme) {
  std::string body = RemoveAll(uri, scheme);
  if (!body.empty() && body.back() == '/') body.pop_back();
  return body;
}

std::string Field(const std::vector<std::string_view>& fields, std::size_t index) {
  return index < fields.size() ? std::string(fields[index]) : std::string();
}

}  // namespace

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

CatalogueLink ParseCatalogueLink(std::string_view uri) {
  const std::string body = LinkBody(uri, kCatalogueScheme);
  const std::vector<std::string_view> fields = SplitText(body, "-");
  CatalogueLink link;
  link.id = ToInteger(Field(fields, 0));
  link.source = Field(fields, 1);
  link.episode = Field(fields, 2);
  link.title = Field(fields, 3);
  return link;
}

PlayLink ParsePlayLink(std::string_view uri) {
  const std::string body = LinkBody(uri, kPlayScheme);
  const std::vector<std::string_view> fields = SplitText(body, "&&&");
  PlayLink link;
  link.kind = Field(fields, 0);
  link.media_url = Field(fields, 1);
  link.title = Field(fields, 2);
  link.name = Field(fields, 3);
  link.id = ToInteger(Field(fields, 4));
  link.source = Field(fields, 5);
  link.episode = Field(fields, 6);
  link.flag = Field(fields, 7);
  return link;
}

std::string PlayLinkField(std::string_view text) {
  std::string field;
  field.reserve(text.size());
  for (const char c : text) {
    if (c == '&') {
      field.append("%26");
    } else if (c == ':') {
      field.append("%3A");
    } else {
      field.push_back(c);
    }
  }
  return field;
}

std::string ResolvedPlayLink(std::string_view kind, std::string_view escaped_media_url,
                             const CatalogueLink& entry, std::string_view name) {
  std::string link(kPlayScheme);
  const std::string_view separator = "&&&";
  link.append(PlayLinkField(kind));
  for (const std::string& field :
       {PlayLinkField(escaped_media_url), PlayLinkField(entry.title), PlayLinkField(name),
        std::to_string(entry.id), PlayLinkField(entry.source), PlayLinkField(entry.episode)}) {
    link.append(separator).append(field);
  }
  return link;
}

std::string FormatItemKey(int id, std::string_view source, std::string_view episode, std::string_view title) {
  std::string key = std::to_string(id);
  key.append("-").append(source).append("-").append(episode).append("-").append(title);
  return key;
}

std::string EpisodeListQuery(std::string_view item_key, std::string_view click_suffix) {
  std::string query(item_key);
  query.append("-").append(click_suffix);
  return query;
}

std::string SavedItemTitle(std::string_view title, std::string_view episode_name, std::string_view episode) {
  const auto trimmed = [](std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::string();
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
  };
  const auto number = [](std::string_view text) {
    return !text.empty() && text.size() < 6 && text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  std::string saved = trimmed(ScriptUnescape(title));
  if (saved.empty()) return {};
  const std::string name = trimmed(ScriptUnescape(episode_name));
  // Episodes are counted from 0 in the links, from 1 where people read them.
  if (number(name)) return saved + " 第" + name + "集";
  if (!name.empty()) return saved + " " + name;
  if (number(episode)) return saved + " 第" + std::to_string(ToInteger(episode) + 1) + "集";
  return saved;
}

bool IsChannelLink(std::string_view uri) { return uri.substr(0, kChannelScheme.size()) == kChannelScheme; }

std::string ChannelCode(std::string_view uri) { return RemoveAll(uri, kChannelScheme); }

}  // namespace taviro
