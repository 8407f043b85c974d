#include "playback/media_address.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace taviro {
namespace {

TEST(MediaAddress, WebAddressesAndAbsolutePathsReachThePlayer) {
  for (const std::string& address : std::initializer_list<std::string>{
           "http://127.0.0.1:8080/qvod/a.mp4", "HTTPS://example.com/a b.ts", "http://[::1]:9/x?y=%u4E2D",
           "/home/u/影片|第1集.mkv", "qvod://123|ab|a.rmvb|", "/media/a\nb.mkv", "/x"}) {
    EXPECT_TRUE(MayReachPlayer(address)) << address;
  }
}

TEST(MediaAddress, EverythingElseTheLibraryWouldOpenIsRefused) {
  for (const std::string& address : std::initializer_list<std::string>{"fdclose://7",
                                                                       "fd://0",
                                                                       "FD://3",
                                                                       "av://v4l2:/dev/video0",
                                                                       "av://x11grab::0",
                                                                       "lavfi://anullsrc",
                                                                       "memory://abc",
                                                                       "file:///etc/passwd",
                                                                       "ytdl://x",
                                                                       "a.mkv",
                                                                       "./a.mkv",
                                                                       "",
                                                                       "/",
                                                                       "http://",
                                                                       " http://x/a.mp4",
                                                                       "http://x/a.mp4\nfdclose://7",
                                                                       "http://x/\x7f",
                                                                       "edl://fdclose://7",
                                                                       std::string("/a\0b", 4),
                                                                       "\\\\server\\share\\a.mkv"}) {
    EXPECT_FALSE(MayReachPlayer(address)) << address;
  }
}

}  // namespace
}  // namespace taviro
