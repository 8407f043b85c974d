#include "util/folder_listing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/temp_folder.h"

namespace taviro {
namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(MatchesWildcard, FollowsWindowsPatternsWithoutRegardToCase) {
  EXPECT_TRUE(MatchesWildcard("Movie.MKV", "*.mkv"));
  EXPECT_TRUE(MatchesWildcard("README", "*.*"));
  EXPECT_FALSE(MatchesWildcard("README", "*.txt"));
  EXPECT_TRUE(MatchesWildcard("ep01.rmvb", "ep??.rmvb"));
  EXPECT_FALSE(MatchesWildcard("ep1.rmvb", "ep??.rmvb"));
  EXPECT_TRUE(MatchesWildcard("第1集.mp4", "第?集.*"));  // "?" is one character, not a byte
  EXPECT_FALSE(MatchesWildcard("a.mp4.part", "*.mp4"));
  EXPECT_TRUE(MatchesWildcard("abcabd", "*ab*d"));
}

TEST(ListFolderFiles, ListsOnlyVisibleOrdinaryFilesThatMatch) {
  testing::TempFolder folder;
  folder.Write("b.mkv", "x");
  folder.Write("A.MKV", "x");
  folder.Write("电影.mkv", "x");
  folder.Write("notes.txt", "x");
  folder.Write(".hidden.mkv", "x");
  std::filesystem::create_directory(folder / "season.mkv");
  std::filesystem::create_directory_symlink(folder / "season.mkv", folder / "link.mkv");
  std::filesystem::create_symlink(folder / "b.mkv", folder / "alias.mkv");
  std::filesystem::create_symlink(folder / "gone", folder / "broken.mkv");

  std::vector<std::string> names{"stale"};
  ASSERT_TRUE(ListFolderFiles(folder.path(), names, "*.mkv"));
  EXPECT_EQ(Sorted(names), (std::vector<std::string>{"A.MKV", "alias.mkv", "b.mkv", "电影.mkv"}));

  ASSERT_TRUE(ListFolderFiles(folder.path(), names, "*.*"));
  EXPECT_EQ(names.size(), 5U);
}

TEST(ListFolderFiles, KeepsTheFileSystemOrder) {
  testing::TempFolder folder;
  for (const char* name : {"c", "a", "d", "b", "e"}) folder.Write(name, "");
  std::vector<std::string> in_system_order;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    in_system_order.push_back(entry.path().filename().string());
  }
  std::vector<std::string> names;
  ASSERT_TRUE(ListFolderFiles(folder.path(), names, "*"));
  EXPECT_EQ(names, in_system_order);
}

TEST(ListFolderFiles, LeavesTheListAloneWhenNothingMatches) {
  testing::TempFolder folder;
  std::vector<std::string> names{"kept"};
  EXPECT_FALSE(ListFolderFiles(folder.path(), names, "*.*"));  // empty folder
  folder.Write("a.txt", "");
  std::filesystem::create_directory(folder / "sub");
  EXPECT_FALSE(ListFolderFiles(folder.path(), names, "*.mkv"));
  EXPECT_FALSE(ListFolderFiles(folder / "missing", names, "*.*"));
  EXPECT_FALSE(ListFolderFiles(folder / "a.txt", names, "*.*"));  // not a folder
  EXPECT_EQ(names, std::vector<std::string>{"kept"});
}

}  // namespace
}  // namespace taviro
