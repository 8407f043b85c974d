#include "helper/media_request.h"

#include <gtest/gtest.h>

#include "helper/ranges_file.h"

namespace taviro::helper {
namespace {

constexpr const char* kToken = "0123456789abcdef0123456789ABCDEF";

std::string Head(const std::string& line, const std::string& headers = "Host: 127.0.0.1:8\r\n") {
  return line + "\r\n" + headers + "\r\n";
}

TEST(MediaRequest, OnlyAnItemPathWithAWholeTokenIsTakenAndItsRangeIsClippedToTheItem) {
  const auto request = ParseMediaRequest(Head(std::string("GET /item/") + kToken + "/a%20b.mp4 HTTP/1.1",
                                              "host:  127.0.0.1:8 \r\nRange: bytes=10-19\r\n"));
  ASSERT_TRUE(request);
  EXPECT_EQ(request->token, kToken);
  EXPECT_EQ(request->host, "127.0.0.1:8");
  EXPECT_FALSE(request->head_only);
  EXPECT_EQ(RequestedSpan(*request, 15)->begin, 10);
  EXPECT_EQ(RequestedSpan(*request, 15)->end, 15);
  EXPECT_FALSE(RequestedSpan(*request, 10));

  for (const char* bad : {"POST /item/%s/a HTTP/1.1", "GET /item/%s/a HTTP/2", "GET /other/%s/a HTTP/1.1",
                          "GET /item/0123/a HTTP/1.1", "GET /item/%sx/a HTTP/1.1", "GET  HTTP/1.1"}) {
    std::string line = bad;
    if (const std::size_t at = line.find("%s"); at != std::string::npos) line.replace(at, 2, kToken);
    EXPECT_FALSE(ParseMediaRequest(Head(line))) << line;
  }
  EXPECT_FALSE(ParseMediaRequest(
      Head(std::string("GET /item/") + kToken + " HTTP/1.1", "Host: 127.0.0.1:8\r\nHost: evil:8\r\n")));

  const auto whole =
      ParseMediaRequest(Head(std::string("HEAD /item/") + kToken + " HTTP/1.0", "Range: bytes=5-2\r\n"));
  ASSERT_TRUE(whole);
  EXPECT_TRUE(whole->head_only);
  EXPECT_EQ(whole->host, "");
  EXPECT_FALSE(RequestedSpan(*whole, 9)->partial);
  const auto tail =
      ParseMediaRequest(Head(std::string("GET /item/") + kToken + " HTTP/1.1", "Range: bytes=-4\r\n"));
  EXPECT_EQ(RequestedSpan(*tail, 9)->begin, 5);
  // Found by fuzzing: a second Range once kept the first one's end.
  const auto twice = ParseMediaRequest(
      Head(std::string("GET /item/") + kToken + " HTTP/1.1", "Range: bytes=5-9\r\nRange: bytes=20-\r\n"));
  EXPECT_EQ(RequestedSpan(*twice, 100)->end, 100);
}

TEST(RangesFile, KeepsTheSizeAndTheSourceAndRefusesWhatAnOlderHelperWrote) {
  ByteRanges present;
  present.Add(0, 10);
  present.Add(20, 30);
  const std::string text = FormatRangesFile(40, "http://h/a-1.mp4", present);
  EXPECT_EQ(text, "size 40\nsource http://h/a-1.mp4\n0-10\n20-30\n");
  const auto parsed = ParseRangesFile(text);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->size, 40);
  EXPECT_EQ(parsed->source, "http://h/a-1.mp4");
  EXPECT_EQ(parsed->present.Serialize(), "0-10\n20-30\n");
  EXPECT_FALSE(ParseRangesFile("size 40\n0-40\n"));
  EXPECT_FALSE(ParseRangesFile("size -1\nsource x\n"));
  EXPECT_EQ(ParseRangesFile("size 5\nsource x\n0-99\n")->present.Covered(), 5);
}

}  // namespace
}  // namespace taviro::helper
