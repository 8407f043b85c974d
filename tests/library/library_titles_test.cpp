#include "library/library_titles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "library/natural_order.h"

namespace taviro::library {
namespace {

// Titles as one line each: "series Name (year) @folder: s1e2=path, …" with
// the file's path after each episode.
std::string Describe(const std::vector<std::string>& paths) {
  std::vector<FoundFile> files;
  for (const std::string& path : paths) files.push_back({path});
  std::string out;
  for (const Title& title : GroupTitles(files)) {
    out += title.kind == Title::Kind::kSeries ? "series " : "film ";
    out += title.name;
    if (title.year) out += " (" + std::to_string(*title.year) + ")";
    out += " @" + title.folder + ":";
    for (const Episode& episode : title.episodes) {
      out += " ";
      if (episode.season) out += "s" + std::to_string(*episode.season);
      out += "e" + std::to_string(episode.number) + "=" + files[episode.file].relative_path;
    }
    out += "\n";
  }
  return out;
}

struct Row {
  std::vector<std::string> paths;
  const char* titles;
};

TEST(GroupTitles, TurnsFoldersIntoSeriesAndFilms) {
  const Row rows[] = {
      // A single file is a film, at the root or in its own folder, extras aside.
      {{"The.Matrix.1999.1080p.mkv", "Heat (1995)/heat.1080p.mkv", "Heat (1995)/Extras/making of.mkv",
        "Heat (1995)/heat-trailer.mkv", "Heat (1995)/Sample/heat.mkv"},
       "film The Matrix (1999) @: e1=The.Matrix.1999.1080p.mkv\n"
       "film Heat (1995) @Heat (1995): e1=Heat (1995)/heat.1080p.mkv\n"},
      // Several files make a series named by its folder, in natural order
      // when the names hold no number; equal numbers both stay.
      {{"Show (2010)/Show - 10.mkv", "Show (2010)/Show - 2.mkv", "Show (2010)/Show - 2 (copy).mkv"},
       "series Show (2010) @Show (2010): e2=Show (2010)/Show - 2 (copy).mkv e2=Show (2010)/Show - 2.mkv "
       "e10=Show (2010)/Show - 10.mkv\n"},
      {{"Clips/b10.mp4", "Clips/B2.mp4", "Clips/a.mp4"},
       "series Clips @Clips: e1=Clips/a.mp4 e2=Clips/B2.mp4 e3=Clips/b10.mp4\n"},
      {{"庆余年/庆余年02.mp4", "庆余年/庆余年 第01集.mp4"},
       "series 庆余年 @庆余年: e1=庆余年/庆余年 第01集.mp4 e2=庆余年/庆余年02.mp4\n"},
      // Season folders are sources of their parent's series; specials last.
      {{"Show/Season 2/Show - 01.mkv", "Show/S01/Show S01E02.mkv", "Show/第一季/01.mkv",
        "Show/Specials/Show.SP.mkv", "Show/Show Season 3/Show E01.mkv"},
       "series Show @Show: s1e1=Show/第一季/01.mkv s1e2=Show/S01/Show S01E02.mkv s2e1=Show/Season 2/Show - "
       "01.mkv "
       "s3e1=Show/Show Season 3/Show E01.mkv s0e1=Show/Specials/Show.SP.mkv\n"},
      {{"Anime/Season 1/[Group] Anime - 01 [1080p].mkv"},
       "series Anime @Anime: s1e1=Anime/Season 1/[Group] Anime - 01 [1080p].mkv\n"},
      {{"庆余年 第二季/第01集.mp4", "庆余年 第二季/第02集.mp4"},
       "series 庆余年 @庆余年 第二季: s2e1=庆余年 第二季/第01集.mp4 s2e2=庆余年 第二季/第02集.mp4\n"},
      {{"TV/Show/Season 1/Show S01E02.mkv", "TV/Show/Season 1/Show S01E01.mkv", "TV/Show/Show.S02E01.mkv",
        "Lone S01E01.mkv"},
       "film Lone @: s1e1=Lone S01E01.mkv\n"
       "series Show @TV/Show: s1e1=TV/Show/Season 1/Show S01E01.mkv s1e2=TV/Show/Season 1/Show S01E02.mkv "
       "s2e1=TV/Show/Show.S02E01.mkv\n"},
      // At the root, files named as episodes of one title make a series.
      {{"[G] A - 02 [720p].mkv", "[G] A - 01 [720p].mkv", "One Piece - 679 [1080p].mkv",
        "One Piece - 680 [1080p].mkv", "Title 2 - 01.mkv"},
       "series A @: e1=[G] A - 01 [720p].mkv e2=[G] A - 02 [720p].mkv\n"
       "series One Piece @: e679=One Piece - 679 [1080p].mkv e680=One Piece - 680 [1080p].mkv\n"
       "film Title 2 @: e1=Title 2 - 01.mkv\n"},
      // Films that share a folder, each with its own year, stay films.
      {{"Films/Heat (1995).mkv", "Films/Alien.1979.mkv"},
       "film Alien (1979) @Films: e1=Films/Alien.1979.mkv\nfilm Heat (1995) @Films: e1=Films/Heat "
       "(1995).mkv\n"},
      // Odd paths are listed once and never stop the rest.
      {{"", "a//b/./c.mkv", "[1080p].mkv"},
       "film  @: e1=\nfilm 1080p @: e1=[1080p].mkv\nfilm c @a/b: e1=a//b/./c.mkv\n"},
  };
  for (const Row& row : rows) EXPECT_EQ(Describe(row.paths), row.titles);
}

TEST(NaturalLess, SortsNumbersByValueAndLettersInEitherCase) {
  std::vector<std::string> names = {"ep10", "EP2", "ep02", "ep1", "Ep 3", "ep", "b", "A"};
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
  EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "ep", "Ep 3", "ep1", "EP2", "ep02", "ep10"}));
}

}  // namespace
}  // namespace taviro::library
