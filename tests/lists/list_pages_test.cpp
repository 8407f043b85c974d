#include <gtest/gtest.h>

#include <string>

#include "lists/list_page.h"
#include "lists/media_lists.h"
#include "support/recording_list_views.h"
#include "support/temp_folder.h"
#include "util/ansi_text.h"

namespace taviro {
namespace {

using testing::RecordingListViews;
using testing::TempFolder;

// The page exactly as the list views expect it, around `rows`.
std::string Page(const std::string& rows) {
  return R"(<html><head><title></title><style type="text/css">*{margin:0;padding:0;border:0px;}body{overflow:auto;background:#212121;}html{scrollbar-face-color:#2A2929;scrollbar-highlight-color:#353434;scrollbar-shadow-color:#000000;scrollbar-3dlight-color:#000000;scrollbar-arrow-color:#515151;scrollbar-track-color:#1F1D1C;scrollbar-darkshadow-color:#201F1E;}a:link,a:visited,a:active,a:hover{color:#DBDBDB;text-decoration:none;display:block}td{padding-left:3px;height:25px;line-height:25px;font-size:12px;border-bottom:1px solid #161616;color:#DBDBDB;}td img{width:11px;height:11px;margin-top:2px;}</style></head><body oncontextmenu="return false" ondragstart="return false"><table id="v1" width="99%" cellpadding="0" cellspacing="0" border="0">)" +
         rows +
         R"(</table><div style='dispaly:none' id='vd'></div><script type="text/javascript">)"
         "\r\n"
         R"(var obj=document.getElementById("v1");)"
         "\r\n"
         R"(var obj1=document.getElementById("vd");)"
         "\r\n"
         R"(for(var i=0;i<obj.rows.length;i++){)"
         "\r\n"
         R"(obj.rows[i].onmouseover=function(){obj1.style.background=this.style.backgroundColor;this.style.background='#312D26';this.cells[1].style.display ='block';this.cells[2].style.display = 'none';})"
         "\r\n"
         R"(obj.rows[i].onmouseout=function(){this.style.background=obj1.style.background;this.cells[1].style.display = 'none';this.cells[2].style.display = 'block';}})"
         "\r\n"
         "</script></body></html>\r\n"
         "\r\n";
}

std::string Row(const std::string& title, int n, const std::string& label) {
  const std::string number = std::to_string(n);
  return "<tr><td align=left width=95%><a title=\"" + title + "\" href=open://" + number + ">·" + label +
         "</a></td><td width=4% style='display:none'><a href=delk://" + number +
         "><img src=\"i.gif\" alt=\"删除\"></a></td><td>&nbsp;</td></tr>";
}

const std::string kNoRecordsRow = "<tr><td colspan=2 align=center>暂无记录</td></tr>";

TEST(ListPage, AnEmptyListShowsTheNoRecordsRow) {
  EXPECT_EQ(BuildListPage(ListFile::kNetworkTasks, "\r\n"), Page(kNoRecordsRow));
  EXPECT_EQ(BuildListPage(ListFile::kLocalFiles, ""), Page(kNoRecordsRow));
  EXPECT_EQ(BuildListPage(ListFile::kLocalFiles, "no record here\r\n"), Page(kNoRecordsRow));
}

TEST(ListPage, RowsCarryTheirLineNumbersAndUnescapedTitles) {
  const std::string list =
      "\r\n"
      "12|a%20b|ep|qvod%3A//x|0|1|30\r\n"
      "13|%u7B2C1%u96C6|ep|u|0|0|0\r\n"
      "14||ep|u|0|0|0\r\n"  // no title: no row, but the number is used up
      "15|%41|ep|u|0|0|0\r\n";
  EXPECT_EQ(BuildListPage(ListFile::kNetworkTasks, list),
            Page(Row("a b", 2, "a b") + Row("第1集", 3, "第1集") + Row("A", 5, "A")));
}

TEST(ListPage, LongTitlesAreCutToTwelveChineseCharactersInTheRowOnly) {
  std::string escaped;
  std::string full;
  for (int i = 0; i < 30; ++i) {
    escaped += "%u4E2D";
    full += "中";
  }
  std::string twelve;
  for (int i = 0; i < 12; ++i) {
    twelve += "中";
  }
  EXPECT_EQ(BuildListPage(ListFile::kNetworkTasks, "1|" + escaped + "|e|u|0|0|0\r\n"),
            Page(Row(full, 1, twelve)));
  // ASCII counts one: 24 letters fit, the 25th is cut.
  EXPECT_EQ(BuildListPage(ListFile::kLocalFiles, "abcdefghijklmnopqrstuvwxyz|/p|0\r\n"),
            Page(Row("abcdefghijklmnopqrstuvwxyz", 1, "abcdefghijklmnopqrstuvwx")));
}

TEST(ListPage, LocalRowsShowTheDisplayNameUnescaped) {
  const std::string list =
      "|/no/name.mp4|0\r\n"
      "movie%41.mp4|/m/movie%41.mp4|0\r\n"
      "电影 1.mkv|/m/电影 1.mkv|0\r\n";
  EXPECT_EQ(BuildListPage(ListFile::kLocalFiles, list),
            Page(Row("movieA.mp4", 2, "movieA.mp4") + Row("电影 1.mkv", 3, "电影 1.mkv")));
}

TEST(ListPage, TitlesNeverBecomeMarkup) {
  const std::string list =
      "1|%3Cimg%20src%3Dx%20onerror%3Dalert%281%29%3E|e|u|0|0|0\r\n"
      "2|a%22%20onmouseover%3D%22x%27%26|e|u|0|0|0\r\n";
  EXPECT_EQ(BuildListPage(ListFile::kNetworkTasks, list),
            Page(Row("&lt;img src=x onerror=alert(1)&gt;", 1, "&lt;img src=x onerror=alert") +
                 Row("a&quot; onmouseover=&quot;x&#39;&amp;", 2, "a&quot; onmouseover=&quot;x&#39;&amp;")));
  // Cut first, escaped afterwards, so no reference is split.
  const std::string long_name = std::string(23, 'x') + "&yz";
  EXPECT_EQ(BuildListPage(ListFile::kLocalFiles, long_name + "|/p|0\r\n"),
            Page(Row(std::string(23, 'x') + "&amp;yz", 1, std::string(23, 'x') + "&amp;")));
}

class ListPageFilesTest : public ::testing::Test {
 protected:
  TempFolder folder;
  RecordingListViews views;
  MediaLists lists{folder.path(), views};
};

// Start-up writes the pages and leaves showing them to the window.
TEST_F(ListPageFilesTest, StartUpWritesTheGb18030PagesOfTheListsThereAre) {
  folder.Write("date.dat", "\r\n7|%u7B2C1%u96C6|e|u|0|0|0\r\n");
  lists.RenderListPages();
  const std::string page = folder.Read("c.htm");
  EXPECT_EQ(page, EncodeAnsi(Page(Row("第1集", 2, "第1集"))));
  // 第 in GB18030, and the middle dot before it.
  EXPECT_NE(page.find("\xA1\xA4\xB5\xDA"
                      "1"),
            std::string::npos);
  EXPECT_TRUE(views.shown.empty());
  EXPECT_FALSE(folder.Exists("f.htm"));
}

TEST_F(ListPageFilesTest, AddAndDeleteRenderTheListJustWritten) {
  folder.Write("date_f.dat", EncodeAnsi("旧.mp4|/m/旧.mp4|0\r\n"));
  lists.AddLocalFile("新.mp4", "/m/新.mp4", 0);
  EXPECT_EQ(folder.Read("f.htm"), EncodeAnsi(Page(Row("新.mp4", 1, "新.mp4") + Row("旧.mp4", 2, "旧.mp4"))));
  lists.DeleteListLine(ListFile::kLocalFiles, 1);
  EXPECT_EQ(folder.Read("f.htm"), EncodeAnsi(Page(Row("旧.mp4", 1, "旧.mp4"))));
  EXPECT_EQ(views.shown, (std::vector<RecordingListViews::Shown>{{ListFile::kLocalFiles, folder / "f.htm"},
                                                                 {ListFile::kLocalFiles, folder / "f.htm"}}));
}

TEST_F(ListPageFilesTest, AMissingListKeepsTheOldPage) {
  folder.Write("f.htm", "old page");
  lists.RenderListPages();
  EXPECT_EQ(folder.Read("f.htm"), "old page");
  EXPECT_TRUE(views.shown.empty());
}

}  // namespace
}  // namespace taviro
