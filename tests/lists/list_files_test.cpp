#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <iterator>
#include <string>

#include "lists/list_fields.h"
#include "lists/list_text.h"
#include "lists/media_lists.h"
#include "support/recording_list_views.h"
#include "support/temp_folder.h"
#include "util/ansi_text.h"
#include "util/file_io.h"

namespace taviro {
namespace {

using testing::RecordingListViews;
using testing::TempFolder;

class ListFilesTest : public ::testing::Test {
 protected:
  std::string Tasks() const { return folder.Read("date.dat"); }
  std::string Locals() const { return folder.Read("date_f.dat"); }
  bool PageShown(ListFile which) const {
    return views.shown ==
           std::vector<RecordingListViews::Shown>{{which, folder / std::string(ListPageName(which))}};
  }

  TempFolder folder;
  RecordingListViews views;
  MediaLists lists{folder.path(), views};
};

// Records of date.dat with ids `first` to `last`, one per line.
std::string TaskLines(int first, int last) {
  std::string text;
  for (int id = first; id <= last; ++id) {
    text += std::to_string(id) + "|t" + std::to_string(id) + "|e|u|0|1|5\r\n";
  }
  return text;
}

TEST_F(ListFilesTest, AddPutsTheRecordOnTopAndReplacesTheSameId) {
  folder.Write("date.dat", "\r\n");
  lists.AddNetworkTask(5, "%u4E2D", "ep1", "qvod%3A//1", 0, 0, 0);
  // The empty line left by the start-up file becomes line 2 of the new list.
  EXPECT_EQ(Tasks(), "5|%u4E2D|ep1|qvod%3A//1|0|0|0\r\n\r\n");
  EXPECT_TRUE(PageShown(ListFile::kNetworkTasks));

  lists.AddNetworkTask(7, "b", "e", "u", 1, 2, 0);
  lists.UpdateNetworkTaskPosition(5, 300);
  lists.AddNetworkTask(5, "new", "ep9", "u9", 3, 8, 0);
  EXPECT_EQ(Tasks(), "5|new|ep9|u9|3|8|0\r\n7|b|e|u|1|2|0\r\n");
}

TEST_F(ListFilesTest, AddKeepsOnlyTheFirstHundredOldLines) {
  folder.Write("date.dat", TaskLines(1, 101));
  lists.AddNetworkTask(500, "n", "e", "u", 0, 0, 0);
  EXPECT_EQ(Tasks(), "500|n|e|u|0|0|0\r\n" + TaskLines(1, 100));

  // With a duplicate among them the list shrinks by one.
  folder.Write("date.dat", TaskLines(1, 101));
  lists.AddNetworkTask(50, "n", "e", "u", 0, 0, 0);
  EXPECT_EQ(Tasks(), "50|n|e|u|0|0|0\r\n" + TaskLines(1, 49) + TaskLines(51, 100));
}

TEST_F(ListFilesTest, AddComparesIdsAsNumbersAndDropsNonRecords) {
  folder.Write("date.dat",
               "\r\n"
               " 12|padded|e|u|0|0|9\r\n"
               "no bar here\n"  // LF alone ends a line too
               "12.0|decimal|e|u|0|0|9\r\n"
               "12.5|fraction|e|u|0|0|9\r\n"
               "x|not a number|e|u|0|0|9\r\n"
               "112|longer|e|u|0|0|9\r\n");
  lists.AddNetworkTask(12, "t", "e", "u", 0, 0, 0);
  // A first field that is no number reads as 0 and so is kept.
  EXPECT_EQ(Tasks(),
            "12|t|e|u|0|0|0\r\n"
            "12.5|fraction|e|u|0|0|9\r\n"
            "x|not a number|e|u|0|0|9\r\n"
            "112|longer|e|u|0|0|9\r\n");

  lists.AddNetworkTask(0, "zero", "e", "u", 0, 0, 0);
  EXPECT_EQ(Tasks(),
            "0|zero|e|u|0|0|0\r\n"
            "12|t|e|u|0|0|0\r\n"
            "12.5|fraction|e|u|0|0|9\r\n"
            "112|longer|e|u|0|0|9\r\n");

  lists.AddNetworkTask(-3, "minus", "e", "u", 0, 0, 0);
  lists.AddNetworkTask(-3, "minus again", "e", "u", 0, 0, 0);
  EXPECT_EQ(Tasks(),
            "-3|minus again|e|u|0|0|0\r\n"
            "0|zero|e|u|0|0|0\r\n"
            "12|t|e|u|0|0|0\r\n"
            "12.5|fraction|e|u|0|0|9\r\n"
            "112|longer|e|u|0|0|9\r\n");
}

TEST_F(ListFilesTest, ChineseTextIsStoredAndMatchedAsGb18030) {
  const std::string path = "/视频/电影.mkv";
  folder.Write("date_f.dat", EncodeAnsi("电影.mkv|" + path + "|5\r\n其他|/X|1\r\n"));
  lists.AddLocalFile("电影.mkv", path, 0);
  EXPECT_EQ(Locals(),
            "\xB5\xE7\xD3\xB0.mkv|/\xCA\xD3\xC6\xB5/\xB5\xE7\xD3\xB0.mkv|0\r\n"
            "\xC6\xE4\xCB\xFB|/X|1\r\n");
  EXPECT_TRUE(PageShown(ListFile::kLocalFiles));
  lists.UpdateLocalFilePosition(path, 77);
  lists.UpdateLocalFilePosition("/x", 9);  // paths match case and all
  EXPECT_EQ(DecodeAnsi(Locals()), "电影.mkv|" + path + "|77\r\n其他|/X|1\r\n");
}

TEST_F(ListFilesTest, UpdateRewritesEveryMatchingTaskAndRendersOnlyWhenLinesGo) {
  folder.Write("date.dat",
               "\r\n"
               " 12|a|b|c|1|2|0|extra\r\n"
               "7|other|e|u|0|0|4\r\n"
               "12|again|e|u|0|3\r\n"
               "12|short|e\r\n");
  lists.UpdateNetworkTaskPosition(12, 754);
  // The id is written as given, fields after the seventh go, and a record too
  // short to carry fields 2 to 6 stays as it was.
  EXPECT_EQ(Tasks(),
            "12|a|b|c|1|2|754\r\n"
            "7|other|e|u|0|0|4\r\n"
            "12|again|e|u|0|3|754\r\n"
            "12|short|e\r\n");
  // The empty first line went: the rows are numbered anew, or a delete
  // from the old page would remove the wrong record.
  EXPECT_TRUE(PageShown(ListFile::kNetworkTasks));
  EXPECT_NE(DecodeAnsi(folder.Read("c.htm")).find("href=delk://1>"), std::string::npos);

  views.shown.clear();
  lists.UpdateNetworkTaskPosition(99, 1);
  EXPECT_TRUE(views.shown.empty()) << "positions are not shown";
  EXPECT_EQ(Tasks(),
            "12|a|b|c|1|2|754\r\n"
            "7|other|e|u|0|0|4\r\n"
            "12|again|e|u|0|3|754\r\n"
            "12|short|e\r\n");
}

TEST_F(ListFilesTest, UpdateOfALocalPathChangesEveryCopy) {
  folder.Write("date_f.dat", "a|/p|1\r\nnot a record\r\nb|/q|2\r\nc|/p\r\n");
  lists.UpdateLocalFilePosition("/p", 60);
  EXPECT_EQ(Locals(), "a|/p|60\r\nb|/q|2\r\nc|/p|60\r\n");
  EXPECT_TRUE(PageShown(ListFile::kLocalFiles));

  views.shown.clear();
  folder.Write("date_f.dat", "\r\n");
  lists.UpdateLocalFilePosition("/p", 60);
  EXPECT_EQ(Locals(), "\r\n");
  EXPECT_TRUE(views.shown.empty());
}

// Fields from outside never add a line or a field; every local path plays
// again from its row, whatever bytes it holds.
TEST_F(ListFilesTest, OutsideTextNeverChangesTheShapeOfARecord) {
  folder.Write("date.dat", TaskLines(1, 3));
  std::string name;
  for (int i = 0; i < 100; ++i) name += "\r\n";
  lists.AddNetworkTask(9, "t|x", name + "|", "http://h/a\nb", 0, 1, 0);
  EXPECT_EQ(
      Tasks(), "9|t%7Cx|" +
                   [] {
                     std::string escaped;
                     for (int i = 0; i < 100; ++i) escaped += "%0D%0A";
                     return escaped;
                   }() +
                   "%7C|http://h/a%0Ab|0|1|0\r\n" + TaskLines(1, 3));

  folder.Write("date_f.dat", "\r\n");
  const std::string paths[] = {"/m/a|b.mkv",          "/m/line\nbreak.mkv", "/m/\xFF\xFE latin1 \xE9.mkv",
                               "/m/\uE78D\uE816.mkv", "file:///m/a.mkv",    "/m/100%.mkv"};
  for (const std::string& path : paths) {
    lists.AddLocalFile(path.substr(3), path, 0);
    lists.UpdateLocalFilePosition(path, 42);
  }
  const std::string text = DecodeAnsi(Locals());
  const std::vector<std::string_view> lines = SplitLines(text);
  ASSERT_EQ(lines.size(), std::size(paths));  // the position updates dropped the empty line
  for (std::size_t i = 0; i < std::size(paths); ++i) {
    const std::string_view line = lines[std::size(paths) - 1 - i];
    EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 2) << line;
    EXPECT_EQ(LocalPathFromStored(*ListField(line, 1)), paths[i]) << line;
    EXPECT_EQ(ListField(line, 2), "42") << line;
  }
  // A path that was always stored plain reads as it did.
  EXPECT_EQ(lines[0].substr(0, 8), "100%.mkv");
  EXPECT_EQ(*ListField(lines[0], 1), "/m/100%.mkv");
  EXPECT_EQ(*ListField(lines[1], 1), "file://file%3A///m/a.mkv");
}

TEST_F(ListFilesTest, DeleteRemovesOneLineByNumberAndRenders) {
  folder.Write("date.dat", "1|a|e|u|0|0|0\r\n2|b|e|u|0|0|0\r\n");
  lists.DeleteListLine(ListFile::kNetworkTasks, 1);
  EXPECT_EQ(Tasks(), "2|b|e|u|0|0|0\r\n");
  EXPECT_TRUE(PageShown(ListFile::kNetworkTasks));

  // Lines without "|" are kept; up to two trailing empty lines go.
  folder.Write("date_f.dat", "\r\nnote\r\na|/a|0\r\nb|/b|0\r\n\r\n\r\n\r\n");
  lists.DeleteListLine(ListFile::kLocalFiles, 3);
  EXPECT_EQ(Locals(), "\r\nnote\r\nb|/b|0\r\n\r\n\r\n");
}

TEST_F(ListFilesTest, DeleteBeyondTheEndStillRewritesAndRenders) {
  folder.Write("date.dat", "1|a|e|u|0|0|0\r\n\r\n");
  lists.DeleteListLine(ListFile::kNetworkTasks, 9);
  EXPECT_EQ(Tasks(), "1|a|e|u|0|0|0\r\n");
  lists.DeleteListLine(ListFile::kNetworkTasks, 1);
  EXPECT_EQ(Tasks(), "\r\n");
  lists.DeleteListLine(ListFile::kNetworkTasks, 0);
  EXPECT_EQ(Tasks(), "\r\n");
  EXPECT_EQ(views.shown.size(), 3U);
}

TEST_F(ListFilesTest, ReadsALineByTheNumberThePageLinksCarry) {
  folder.Write("date_f.dat", EncodeAnsi("\r\n电影|/m/电影|12\n"));
  EXPECT_EQ(lists.ReadListLine(ListFile::kLocalFiles, 2), "电影|/m/电影|12");
  EXPECT_EQ(lists.ReadListLine(ListFile::kLocalFiles, 1), "");
  EXPECT_EQ(lists.ReadListLine(ListFile::kLocalFiles, 3), "");
  EXPECT_EQ(lists.ReadListLine(ListFile::kLocalFiles, 0), "");
  EXPECT_EQ(lists.ReadListLine(ListFile::kNetworkTasks, 1), std::nullopt);
}

TEST_F(ListFilesTest, AMissingListFileIsLeftAlone) {
  lists.AddNetworkTask(1, "t", "e", "u", 0, 0, 0);
  lists.UpdateNetworkTaskPosition(1, 5);
  lists.AddLocalFile("a", "/a", 0);
  lists.UpdateLocalFilePosition("/a", 5);
  lists.DeleteListLine(ListFile::kNetworkTasks, 1);
  lists.ClearList(ListFile::kLocalFiles);
  lists.RenderListPages();
  EXPECT_EQ(folder.ListNames(), "");
  EXPECT_TRUE(views.shown.empty());
}

TEST_F(ListFilesTest, ClearLeavesOneEmptyLineAndRenders) {
  folder.Write("date_f.dat", "a|/a|3\r\n");
  lists.ClearList(ListFile::kLocalFiles);
  EXPECT_EQ(Locals(), "\r\n");
  EXPECT_TRUE(PageShown(ListFile::kLocalFiles));
  EXPECT_NE(DecodeAnsi(folder.Read("f.htm")).find("暂无记录"), std::string::npos);
}

TEST_F(ListFilesTest, StartUpCreatesMissingFilesAndRendersEveryPage) {
  folder.Write("date.dat", "1|kept|e|u|0|0|0\r\n");
  lists.CreateMissingListFiles();
  EXPECT_EQ(Tasks(), "1|kept|e|u|0|0|0\r\n");
  EXPECT_EQ(Locals(), "\r\n");
  EXPECT_TRUE(views.shown.empty());

  // A page left behind its list (a kill between the two renames) is
  // rendered again from the list.
  folder.Write("c.htm", "old page");
  lists.RenderListPages();
  EXPECT_NE(folder.Read("c.htm").find("kept"), std::string::npos);
  EXPECT_TRUE(views.shown.empty());  // the window loads its views itself
  EXPECT_EQ(folder.ListNames(), "c.htm date.dat date_f.dat f.htm");
}

TEST_F(ListFilesTest, AFailedWriteKeepsTheOldListAndPage) {
  // Records without titles: the list is large, any page of it small.
  std::string old_list;
  for (int id = 1; id <= 60; ++id) {
    old_list += std::to_string(id) + "||e|" + std::string(100, 'u') + "|0|0|0\r\n";
  }
  folder.Write("date.dat", old_list);
  folder.Write("c.htm", "old page");
  // A file-size limit that the page fits in but the list does not makes the
  // list's write fail as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit tight = saved;
  tight.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  lists.AddNetworkTask(99, "", "e", "u", 0, 0, 0);
  lists.DeleteListLine(ListFile::kNetworkTasks, 1);
  lists.UpdateNetworkTaskPosition(3, 8);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
  std::signal(SIGXFSZ, SIG_DFL);

  EXPECT_EQ(Tasks(), old_list);
  EXPECT_EQ(folder.Read("c.htm"), "old page");
  EXPECT_TRUE(views.shown.empty());
  EXPECT_EQ(folder.ListNames(), "c.htm date.dat");
}

TEST(LocalNeighbourLine, StepsOverLinesThatAreNoRecordsAndStopsAtTheEnds) {
  // Line numbers count every line, as the page's links do.
  const std::string list = "a.mp4|/m/a.mp4|0\r\n\r\nb.mp4|/m/b.mp4|0\r\nc.mp4|/m/c.mp4|7\r\n";
  EXPECT_EQ(LocalNeighbourLine(list, "/m/a.mp4", 1), 3);
  EXPECT_EQ(LocalNeighbourLine(list, "/m/c.mp4", -1), 3);
  EXPECT_EQ(LocalNeighbourLine(list, "/m/b.mp4", -1), 1);
  EXPECT_EQ(LocalNeighbourLine(list, "/m/a.mp4", -1), std::nullopt);
  EXPECT_EQ(LocalNeighbourLine(list, "/m/c.mp4", 1), std::nullopt);
  EXPECT_EQ(LocalNeighbourLine(list, "/m/gone.mp4", 1), std::nullopt);
}

}  // namespace
}  // namespace taviro
