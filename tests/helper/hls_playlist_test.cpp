#include "helper/hls_playlist.h"

#include <gtest/gtest.h>

namespace taviro::helper {
namespace {

HlsMediaPlaylist Media(const HlsPlaylist& playlist) {
  const auto* media = std::get_if<HlsMediaPlaylist>(&playlist);
  EXPECT_NE(media, nullptr);
  return media ? *media : HlsMediaPlaylist{};
}

TEST(HlsPlaylistTest, RelativeAddressesResolveAgainstThePlaylistsFinalAddress) {
  const std::string base = "https://cdn.example/show/v1/index.m3u8?token=a";
  EXPECT_EQ(ResolveHlsAddress(base, "seg1.ts"), "https://cdn.example/show/v1/seg1.ts");
  EXPECT_EQ(ResolveHlsAddress(base, "../v2/seg1.ts?x=1#f"), "https://cdn.example/show/v2/seg1.ts?x=1");
  EXPECT_EQ(ResolveHlsAddress(base, "/root/./a/../seg.ts"), "https://cdn.example/root/seg.ts");
  EXPECT_EQ(ResolveHlsAddress(base, "//mirror.example/s.ts"), "https://mirror.example/s.ts");
  EXPECT_EQ(ResolveHlsAddress(base, "HTTP://Other.example/s.ts"), "http://Other.example/s.ts");
  EXPECT_EQ(ResolveHlsAddress(base, "?token=b"), "https://cdn.example/show/v1/index.m3u8?token=b");
  for (const char* refused :
       {"file:///etc/passwd", "data:video/mp2t;base64,AAAA", "ftp://h/s.ts", "seg 1.ts"}) {
    EXPECT_EQ(ResolveHlsAddress(base, refused), std::nullopt) << refused;
  }
  EXPECT_EQ(ResolveHlsAddress("file:///tmp/index.m3u8", "seg1.ts"), std::nullopt);
}

TEST(HlsPlaylistTest, KeysTakeTheSequenceNumberAsIvUnlessTheyNameOne) {
  const HlsMediaPlaylist media = Media(ParseHlsPlaylist(
      "#EXTM3U\n#EXT-X-MEDIA-SEQUENCE:258\n#EXT-X-KEY:METHOD=AES-128,URI=\"k.bin\"\n#EXTINF:1,\na.ts\n"
      "#EXT-X-KEY:METHOD=AES-128,URI=\"k.bin\",IV=0x0F\n#EXTINF:1,\nb.ts\n"
      "#EXT-X-KEY:METHOD=NONE\n#EXTINF:1,\nc.ts\n#EXT-X-ENDLIST\n",
      "http://h/p/index.m3u8"));
  ASSERT_EQ(media.segments.size(), 3u);
  EXPECT_TRUE(media.ended);
  EXPECT_EQ(media.segments[0].key.url, "http://h/p/k.bin");
  const HlsIv from_sequence = SegmentIv(media.segments[0]);
  EXPECT_EQ(from_sequence[14], 1);
  EXPECT_EQ(from_sequence[15], 2);  // 258 = 0x0102
  const HlsIv named = SegmentIv(media.segments[1]);
  EXPECT_EQ(named[15], 0x0F);
  EXPECT_EQ(named[14], 0);
  EXPECT_EQ(media.segments[2].key.method, HlsKeyMethod::kNone);
}

TEST(HlsPlaylistTest, ByteRangesWithoutOffsetFollowThePreviousOne) {
  const HlsMediaPlaylist media = Media(ParseHlsPlaylist(
      "#EXTM3U\n#EXT-X-MAP:URI=\"main.mp4\",BYTERANGE=\"700@0\"\n#EXTINF:4,\n#EXT-X-BYTERANGE:1000@700\nmain."
      "mp4\n"
      "#EXTINF:4,\n#EXT-X-BYTERANGE:500\nmain.mp4\n#EXT-X-DISCONTINUITY\n#EXTINF:4,\nother.ts\n",
      "http://h/index.m3u8"));
  ASSERT_EQ(media.segments.size(), 3u);
  EXPECT_FALSE(media.ended);
  EXPECT_EQ(media.segments[0].range->offset, 700);
  EXPECT_EQ(media.segments[1].range->offset, 1700);
  EXPECT_EQ(media.segments[1].range->length, 500);
  EXPECT_EQ(media.segments[0].map->range->length, 700);
  EXPECT_TRUE(media.segments[2].discontinuity);
  EXPECT_FALSE(media.segments[2].range.has_value());
  // An offset to follow needs a range before it.
  EXPECT_EQ(std::get<HlsRefusal>(ParseHlsPlaylist("#EXTM3U\n#EXT-X-BYTERANGE:10\ns.ts\n", "http://h/i.m3u8")),
            HlsRefusal::kMalformed);
}

TEST(HlsPlaylistTest, TheHighestBandwidthIsChosenAndLoopsAreRefused) {
  const HlsPlaylist playlist = ParseHlsPlaylist(
      "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=300,CODECS=\"a,b\"\nlow.m3u8\n#EXT-X-STREAM-INF:BANDWIDTH="
      "900\nhigh.m3u8\n",
      "http://h/master.m3u8");
  ASSERT_TRUE(std::holds_alternative<HlsMasterPlaylist>(playlist));
  EXPECT_EQ(BestVariant(std::get<HlsMasterPlaylist>(playlist))->url, "http://h/high.m3u8");

  HlsPlaylistTrail loop;
  EXPECT_EQ(loop.Enter("http://h/a"), std::nullopt);
  EXPECT_EQ(loop.RedirectedTo("http://h/a2"), std::nullopt);
  EXPECT_EQ(loop.Enter("http://h/a2"), HlsRefusal::kPointsToItself);
  // Redirects on the way make a chain no deeper.
  HlsPlaylistTrail trail;
  for (int i = 0; i < kDeepestPlaylistChain; ++i) {
    EXPECT_EQ(trail.Enter("http://h/" + std::to_string(i)), std::nullopt);
    EXPECT_EQ(trail.RedirectedTo("http://h/moved/" + std::to_string(i)), std::nullopt);
  }
  EXPECT_EQ(trail.Enter("http://h/deeper"), HlsRefusal::kTooDeep);
}

}  // namespace
}  // namespace taviro::helper
