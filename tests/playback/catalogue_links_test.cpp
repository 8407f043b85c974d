#include "playback/catalogue_links.h"

#include <gtest/gtest.h>

#include "playback/episode_reply.h"
#include "util/script_escape.h"

namespace taviro {
namespace {

TEST(CatalogueLinks, ACatalogueEntryLosesItsSchemeAndOneTrailingSlash) {
  const CatalogueLink link = ParseCatalogueLink("mivuvod://12-0-3-abc/");
  EXPECT_EQ(link.id, 12);
  EXPECT_EQ(link.source, "0");
  EXPECT_EQ(link.episode, "3");
  EXPECT_EQ(link.title, "abc");
  // Only one slash goes; the scheme goes wherever it stands.
  EXPECT_EQ(ParseCatalogueLink("x mivuvod://5-1-2-t//").title, "t/");
  EXPECT_EQ(ParseCatalogueLink("mivuvod://5-1-2-amivuvod://b").title, "ab");
}

TEST(CatalogueLinks, MissingFieldsAreEmptyAndExtraFieldsAreDropped) {
  const CatalogueLink short_link = ParseCatalogueLink("mivuvod://x7");
  EXPECT_EQ(short_link.id, 0);
  EXPECT_EQ(short_link.source, "");
  EXPECT_EQ(short_link.title, "");
  EXPECT_EQ(ParseCatalogueLink("mivuvod://1-2-3-a-b-c").title, "a");
}

TEST(CatalogueLinks, APlayLinkHasItsFieldsInOrder) {
  const PlayLink link = ParsePlayLink("miqvod://qvod&&&qvod%3A//1%7Cx&&&%u4E2D&&&ep&&&42&&&1&&&7&&&n&&&1/");
  EXPECT_EQ(link.kind, "qvod");
  EXPECT_EQ(link.media_url, "qvod%3A//1%7Cx");
  EXPECT_EQ(link.title, "%u4E2D");
  EXPECT_EQ(link.name, "ep");
  EXPECT_EQ(link.id, 42);
  EXPECT_EQ(link.source, "1");
  EXPECT_EQ(link.episode, "7");
  EXPECT_EQ(link.flag, "n");
  const PlayLink seven = ParsePlayLink("miqvod://web&&&u&&&t&&&n&&&3&&&0&&&2");
  EXPECT_EQ(seven.episode, "2");
  EXPECT_EQ(seven.flag, "");
}

TEST(CatalogueLinks, AResolvedLinkKeepsItsFieldsWhateverTheReplyHolds) {
  // A reply's kind and name, and a catalogue entry's title, go between the
  // link's fields as the service and the page sent them.
  const CatalogueLink entry{12, "1&&&9", "3", "t&&&666&&&6"};
  const std::string uri = ResolvedPlayLink("web&&&x", "u", entry, "a&&&b&&&99&&&miqvod://n") + "/";
  const PlayLink link = ParsePlayLink(uri);
  EXPECT_EQ(link.kind, "web%26%26%26x");
  EXPECT_EQ(link.media_url, "u");
  EXPECT_EQ(link.title, "t%26%26%26666%26%26%266");
  EXPECT_EQ(link.name, "a%26%26%26b%26%26%2699%26%26%26miqvod%3A//n");
  EXPECT_EQ(link.id, 12);
  EXPECT_EQ(link.source, "1%26%26%269");
  EXPECT_EQ(link.episode, "3");
  EXPECT_EQ(link.flag, "");
  EXPECT_EQ(ScriptUnescape(link.name), "a&&&b&&&99&&&miqvod://n");

  // What the service sends in escape() form is passed on unchanged.
  EXPECT_EQ(ResolvedPlayLink("qvod", "http%3A//m/1.ts", CatalogueLink{7, "0", "2", "%u4E2D"}, "%u7B2C2-e"),
            "miqvod://qvod&&&http%3A//m/1.ts&&&%u4E2D&&&%u7B2C2-e&&&7&&&0&&&2");
}

TEST(CatalogueLinks, ASavedCopyIsNamedByTitleAndEpisode) {
  const std::string title = ScriptEscape("凡人修仙传");
  EXPECT_EQ(SavedItemTitle(title, ScriptEscape("大结局"), "9"), "凡人修仙传 大结局");
  EXPECT_EQ(SavedItemTitle(title, "12", "11"), "凡人修仙传 第12集");
  EXPECT_EQ(SavedItemTitle(title, "", "0"), "凡人修仙传 第1集");  // links count from 0
  EXPECT_EQ(SavedItemTitle(title, " ", ""), "凡人修仙传");
  EXPECT_EQ(SavedItemTitle("", ScriptEscape("第1集"), "0"), "");
}

TEST(CatalogueLinks, AChannelLinkCountsOnlyAtTheStart) {
  EXPECT_TRUE(IsChannelLink("mitvs://cctv1"));
  EXPECT_FALSE(IsChannelLink(" mitvs://cctv1"));
  EXPECT_FALSE(IsChannelLink("MITVS://cctv1"));
  EXPECT_EQ(ChannelCode("mitvs://a/mitvs://b"), "a/b");
}

TEST(EpisodeReply, FailureCodesAreOneZeroAndNothing) {
  for (const char* failed : {"", "1", "0", "00", " 0\r\n", "1\r\n"}) {
    EXPECT_TRUE(IsFailedEpisodeReply(failed)) << '"' << failed << '"';
  }
  for (const char* answered : {"10", "2", "a$b$c", "<html>error</html>", "0$u$qvod"}) {
    EXPECT_FALSE(IsFailedEpisodeReply(answered)) << answered;
  }
}

TEST(EpisodeReply, ARecordNeedsADollarSign) {
  EXPECT_FALSE(ParseEpisodeRecord("0"));
  EXPECT_FALSE(ParseEpisodeRecord("<html>Error</html>"));
  const auto record = ParseEpisodeRecord("%u7B2C1%u96C6$http://h/a.mp4$qvod");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->name, "%u7B2C1%u96C6");
  EXPECT_EQ(record->media_url, "http://h/a.mp4");
  EXPECT_EQ(record->kind, "qvod");
  const auto partial = ParseEpisodeRecord("name$");
  ASSERT_TRUE(partial);
  EXPECT_EQ(partial->media_url, "");
  EXPECT_EQ(partial->kind, "");
}

}  // namespace
}  // namespace taviro
