#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taviro::catalogue {

// Text is UTF-8 throughout; pages are encoded only when they are sent.

struct Episode {
  std::string name;
  // A file name under the service's media folder, or a whole address
  // ("scheme://...") used as it stands.
  std::string media;
};

struct Source {
  std::string name;
  // "qvod" plays in the player; any other word opens the web play page.
  std::string kind;
  std::vector<Episode> episodes;
};

struct Poster {
  std::string from_colour;
  std::string to_colour;
  std::string glyph;
};

struct Series {
  int id = 0;
  std::string title;
  int year = 0;
  std::string area;
  std::string genre;
  std::string score;
  std::string summary;
  Poster poster;
  std::vector<Source> sources;
};

struct TvChannel {
  std::string code;
  std::string name;
  std::string group;
  std::string now_showing;
  std::string media;
};

// The switch file's fields, as text: "1" turns a feature on.
struct Switches {
  std::string exit_promotion = "0";
  std::string notice = "0";
  std::string pause_panel = "0";
  std::string ticker = "0";
  std::string player_panel = "0";
  std::string version = "2.3";
};

struct Headline {
  std::string text;
  std::string link;  // relative to the service, a whole address, or "*" for none
};

struct NoticePage {
  std::string title;
  std::string text;
  std::string link;
};

struct NoticeSchedule {
  int delay_seconds = 0;
  int stay_minutes = 0;
  int repeat = 0;
  std::vector<NoticePage> pages;
};

struct Catalogue {
  std::vector<Series> series;
  std::vector<TvChannel> channels;
  Switches switches;
  std::vector<Headline> headlines;
  NoticeSchedule notices;

  const Series* FindSeries(int id) const;
  const TvChannel* FindChannel(std::string_view code) const;
};

}  // namespace taviro::catalogue
