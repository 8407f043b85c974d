#include "helper/stream_shape.h"

#include <gtest/gtest.h>

#include "helper/helper_protocol.h"

namespace taviro {
namespace {

constexpr std::string_view kProgramme =
    "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2.0,\nindex0.ts\n#EXTINF:2.0,\nindex1.ts\n#EXT-X-ENDLIST\n";
constexpr std::string_view kLive = "#EXTM3U\n#EXT-X-MEDIA-SEQUENCE:7\n#EXTINF:2.0,\nindex7.ts\n";

TEST(StreamShape, PlaylistsAreKnownByTypeOrFirstBytesWhateverTheServerCallsThem) {
  EXPECT_EQ(ClassifyStream({"application/vnd.apple.mpegurl", 90}, kProgramme), StreamShape::kProgramme);
  EXPECT_EQ(ClassifyStream({"text/plain", 90}, kProgramme), StreamShape::kProgramme);
  EXPECT_EQ(ClassifyStream({"application/octet-stream", std::nullopt}, kProgramme), StreamShape::kProgramme);
  EXPECT_EQ(ClassifyStream({"", 90}, "\xEF\xBB\xBF\r\n#EXTM3U\r\n#EXTINF:2,\r\na.ts\r\n#EXT-X-ENDLIST\r\n"),
            StreamShape::kProgramme);
  EXPECT_EQ(ClassifyStream({"Application/X-MpegURL", std::nullopt}, kLive), StreamShape::kLive);
  EXPECT_EQ(ClassifyStream({"text/plain", 40}, kLive), StreamShape::kLive);
  // A playlist type over something that is not one is not played.
  EXPECT_EQ(ClassifyStream({"audio/mpegurl", 10}, "\x47\x40\x11\x10"), StreamShape::kRefused);
  const std::string master =
      "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=800000\nlow/index.m3u8\n"
      "#EXT-X-STREAM-INF:BANDWIDTH=2000000\nhigh/index.m3u8\n";
  EXPECT_EQ(ClassifyStream({"application/vnd.apple.mpegurl", 1}, master), StreamShape::kMaster);
  EXPECT_EQ(FirstVariant(master), "low/index.m3u8");
  EXPECT_EQ(ClassifyStream({"application/dash+xml", 1}, "<x/>"), StreamShape::kManifest);
  EXPECT_EQ(ClassifyStream({"text/xml", 1}, "<?xml version=\"1.0\"?>\n<MPD type=\"static\">"),
            StreamShape::kManifest);
}

TEST(StreamShape, MediaIsAFileOnlyWhenItsLengthIsKnown) {
  const std::string_view mp4(
      "\0\0\0\x20"
      "ftypisom",
      12);
  EXPECT_EQ(ClassifyStream({"video/mp4", 181112}, mp4), StreamShape::kFile);
  EXPECT_EQ(ClassifyStream({"text/plain", 181112}, mp4), StreamShape::kFile);
  // Without a length, a channel's format makes it live; anything else may
  // yet end.
  EXPECT_EQ(ClassifyStream({"video/mp2t", std::nullopt}, "\x47\x40\x11\x10"), StreamShape::kLive);
  std::string packets(188 * 2, '\0');
  packets[0] = packets[188] = '\x47';
  EXPECT_EQ(ClassifyStream({"application/octet-stream", std::nullopt}, packets), StreamShape::kLive);
  EXPECT_EQ(ClassifyStream({"video/x-flv", 5000}, "FLV\x01"), StreamShape::kFile);
  EXPECT_EQ(ClassifyStream({"video/mp4", std::nullopt}, mp4), StreamShape::kUnbounded);
  EXPECT_FALSE(PlayedAtOrigin(StreamShape::kFile));
  EXPECT_FALSE(PlayedAtOrigin(StreamShape::kRefused));
  EXPECT_TRUE(PlayedAtOrigin(StreamShape::kLive));
  EXPECT_TRUE(PlayedAtOrigin(StreamShape::kProgramme));
}

TEST(StreamShape, APlaylistNamingAnotherProtocolIsRefused) {
  const char* refused[] = {
      "#EXTM3U\n#EXTINF:2,\nfile:///etc/passwd\n#EXT-X-ENDLIST\n",
      "#EXTM3U\n#EXTINF:2,\nFILE:/etc/passwd\n",
      "#EXTM3U\n#EXT-X-KEY:METHOD=AES-128,URI=\"file:///home/u/key\"\n#EXTINF:2,\na.ts\n",
      "#EXTM3U\n#EXTINF:2,\nsubfile,,start,0,end,0,,:http://h/a.ts\n",
      "#EXTM3U\n#EXTINF:2,\ndata:video/mp2t;base64,AAAA\n",
      "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nconcat:http://h/a|file:///etc/passwd\n",
  };
  for (const char* playlist : refused) {
    EXPECT_EQ(ClassifyStream({"text/plain", 1}, playlist), StreamShape::kRefused) << playlist;
  }
  EXPECT_EQ(ClassifyStream({"", 1},
                           "#EXTM3U\n#EXT-X-KEY:METHOD=AES-128,URI=\"https://k/key\"\n#EXTINF:2,\n"
                           "HTTP://h/a.ts\n#EXT-X-ENDLIST\n"),
            StreamShape::kProgramme);
}

TEST(StreamShape, ContentDispositionNamesTheFile) {
  EXPECT_EQ(DispositionFileName("attachment; filename=\"clip.mp4\""), "clip.mp4");
  EXPECT_EQ(DispositionFileName("inline;filename=clip.mp4"), "clip.mp4");
  EXPECT_EQ(DispositionFileName("attachment; filename=\"a.mp4\"; filename*=UTF-8''%E7%AC%AC1.mp4"),
            "第1.mp4");
  EXPECT_EQ(DispositionFileName("attachment; filename*=iso-8859-1''x.mp4"), "");
  EXPECT_EQ(DispositionFileName("attachment"), "");
  // Raw GBK, as many servers send it, and GBK spelt as such.
  EXPECT_EQ(DispositionFileName("attachment; filename=\"\xB5\xE7\xD3\xB0.mp4\""), "电影.mp4");
  EXPECT_EQ(DispositionFileName("attachment; filename*=GBK''%B5%E7%D3%B0.mp4"), "电影.mp4");
}

TEST(StreamShape, AFileIsSavedUnderTheNameItsServerOrFinalAddressGives) {
  EXPECT_EQ(SavedFileName("go-mp4", "clip.mp4", ""), "clip.mp4");
  EXPECT_EQ(SavedFileName("download", "download", "clip.mp4"), "clip.mp4");
  // A content server's bare key says less than the name asked for.
  EXPECT_EQ(SavedFileName("film.mp4", "8f7a6b", ""), "film.mp4");
  EXPECT_EQ(SavedFileName("film.mp4", "film.mp4", "../../x.mp4"), "film.mp4");
  EXPECT_EQ(SavedFileName("film.mp4", "", ".hidden"), "film.mp4");
  EXPECT_EQ(ProgrammeFileName("http://h/s/ep2/index.m3u8?t=1"), "ep2.mp4");
  EXPECT_EQ(ProgrammeFileName("http://h/films/%E7%94%B5%E5%BD%B1.m3u8"), "电影.mp4");
  EXPECT_EQ(ProgrammeFileName("http://h/index.m3u8"), "index.mp4");
  EXPECT_EQ(ProgrammeFileName("http://h/..%2F/index.m3u8"), "index.mp4");
  EXPECT_EQ(ProgrammeFileName("http://"), "programme.mp4");
  EXPECT_EQ(NumberedName("show.mp4", 2), "show (2).mp4");
  EXPECT_EQ(NumberedName(std::string(200, 'x'), 12).size(), 200u);
}

TEST(StreamShape, TheStatusReplySaysLiveAndWhyNotAndStillReadsTheOldForm) {
  const auto live = ParseStatusReply(FormatStatusReply({0, 12, true, HelperProblem::kNone}));
  ASSERT_TRUE(live);
  EXPECT_TRUE(live->live);
  EXPECT_EQ(FormatStatusReply({0, 0, false, HelperProblem::kCertificate}), "ok\t0\t0\tcertificate\n");
  EXPECT_EQ(ParseStatusReply("ok\t0\t0\tcertificate\n")->problem, HelperProblem::kCertificate);
  const auto old = ParseStatusReply("ok\t602\t130\n");
  ASSERT_TRUE(old);
  EXPECT_FALSE(old->live);
  EXPECT_EQ(old->problem, HelperProblem::kNone);
  // Words a later helper adds are passed over.
  EXPECT_EQ(ParseStatusReply("ok\t5\t1\tsomething\n")->thousandths, 5);
}

}  // namespace
}  // namespace taviro
