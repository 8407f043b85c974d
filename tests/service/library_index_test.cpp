#include "user_library/library_index.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace taviro::demo::testing {
namespace {

TEST(LibraryIndexTest, FilesKeepTheirIdsAcrossRestartsAndAFolderHoldsOnlyItsOwn) {
  const taviro::testing::TempFolder folder;
  const std::string file = (folder / "library.sqlite").string();
  IndexedFile episode{0, std::string("/m/a/\xB5\xDA.mkv"), "a/第.mkv", 10, 20, {true, 61.5, 640, 360}};
  IndexedFile neighbour{0, "/m/ab/x.mkv", "x.mkv", 1, 2, {}};
  int title = 0;
  {
    LibraryIndex index(file);
    index.Store(episode);
    index.Store(neighbour);
    title = index.TitleId("/m\nA\nA");
    EXPECT_EQ(index.TitleId("/m\nA\nA"), title);
    EXPECT_NE(index.TitleId("/m\nB\nB"), title);
  }
  LibraryIndex index(file);
  const auto under_a = index.FilesUnder("/m/a");
  ASSERT_EQ(under_a.size(), 1U);  // not /m/ab's file
  const IndexedFile& known = under_a.at(episode.path);
  EXPECT_EQ(known.id, episode.id);
  EXPECT_EQ(known.relative_utf8, episode.relative_utf8);
  EXPECT_EQ(known.facts.duration_seconds, 61.5);
  EXPECT_EQ(known.facts.width, 640);
  EXPECT_TRUE(KnownUnchanged(known, {episode.path, episode.relative_utf8, 10, 20}));
  EXPECT_FALSE(KnownUnchanged(known, {episode.path, episode.relative_utf8, 10, 21}));
  EXPECT_EQ(index.TitleId("/m\nA\nA"), title);
  EXPECT_EQ(index.FilesUnder("/m").size(), 2U);
}

}  // namespace
}  // namespace taviro::demo::testing
