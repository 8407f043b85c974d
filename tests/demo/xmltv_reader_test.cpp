#include "channels_source/xmltv_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace taviro::demo::testing {
namespace {

constexpr channels::UnixTime kNow = 1'733'767'200;  // 2024-12-09 18:00:00 UTC

std::string Gzip(const std::string& text) {
  z_stream stream{};
  deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, text.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// Entities in the title (one naming a local file), a channel named only by
// its display name, and the guide breaking off after its second programme.
constexpr std::string_view kHostileGuide = R"(<?xml version="1.0"?>
<!DOCTYPE tv [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
<!ENTITY ext SYSTEM "file:///etc/passwd">]>
<tv><channel id="n1"><display-name>新闻频道</display-name></channel>
<programme start="20241209173000 +0000" stop="20241209183000 +0000" channel="n1"><title>晚间&b;新闻&ext;</title></programme>
<programme start="20241209183000 +0000" stop="20241209190000 +0000" channel="n1"><title><![CDATA[天气 & 预报]]></title></programme>
<!--PADDING-->
<programme start="20241209190000 +0000" stop="20241209200000 +0000" channel="n1"><title>broken</ti
)";

// The reader loses the chunk it found the fault in; what came before stays.
std::string BrokenGuide() {
  std::string guide(kHostileGuide);
  guide.replace(guide.find("PADDING"), 7, std::string(4096, 'x'));
  return guide;
}

TEST(XmltvReader, PlainAndGzipGuidesGiveNowAndNextWithEntitiesLeftOut) {
  for (const std::string& bytes : {BrokenGuide(), Gzip(BrokenGuide())}) {
    channels::ProgrammeGuide guide(kNow);
    EXPECT_FALSE(ReadXmltv(bytes, guide));  // it breaks off
    channels::Channel channel;
    channel.name = "新闻频道";  // matched by the guide's display name
    const auto on = guide.Find(channel, kNow);
    ASSERT_TRUE(on);
    EXPECT_EQ(on->title, "晚间新闻");
    EXPECT_EQ(on->next_title, "天气 & 预报");
    EXPECT_EQ(guide.programme_count(), 2U);
  }
}

TEST(XmltvReader, BombsAndGarbageAreRefusedNotExpanded) {
  std::string laughs = R"(<?xml version="1.0"?><!DOCTYPE tv [<!ENTITY l0 "ha">)";
  for (int level = 1; level < 10; ++level) {
    const std::string previous = "&l" + std::to_string(level - 1) + ";";
    std::string value;
    for (int i = 0; i < 10; ++i) value += previous;
    laughs += "<!ENTITY l" + std::to_string(level) + " \"" + value + "\">";
  }
  laughs +=
      R"(]><tv><programme start="20241209173000" stop="20241209183000" channel="n1"><title>&l9;</title>)"
      R"(</programme></tv>)";
  channels::ProgrammeGuide guide(kNow);
  EXPECT_FALSE(ReadXmltv(laughs, guide));
  EXPECT_EQ(guide.programme_count(), 0U);
  const std::string padding(4 << 20, ' ');
  EXPECT_FALSE(ReadXmltv(Gzip("<tv>" + padding + "</tv>"), guide, {1 << 20, std::chrono::seconds(10)}));
  EXPECT_FALSE(ReadXmltv("not xml at all", guide));
}

}  // namespace
}  // namespace taviro::demo::testing
