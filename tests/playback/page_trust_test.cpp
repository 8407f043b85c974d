#include "playback/page_trust.h"

#include <gtest/gtest.h>

namespace taviro {
namespace {

TEST(PageTrust, OnlyTheServicesPagesAndOursUsePrivateLinks) {
  const char* base = "http://127.0.0.1:8/site";
  EXPECT_TRUE(IsTrustedPage("http://127.0.0.1:8/site/index.htm", base));
  EXPECT_TRUE(IsTrustedPage("HTTP://127.0.0.1:8/site/", base));
  EXPECT_TRUE(IsTrustedPage("about:blank", base));
  EXPECT_TRUE(IsTrustedPage("", base));
  EXPECT_TRUE(IsTrustedPage("file:///opt/taviro/list.htm", base));
  EXPECT_FALSE(IsTrustedPage("http://127.0.0.1:8/sitex/", base));
  EXPECT_FALSE(IsTrustedPage("http://127.0.0.1:80/site/", "http://127.0.0.1:8/"));
  EXPECT_FALSE(IsTrustedPage("http://127.0.0.1:8.evil/site/", base));
  EXPECT_FALSE(IsTrustedPage("https://ads.example/", base));
  EXPECT_FALSE(IsTrustedPage("http://h/", ""));
  // The folder's own letters are the folder's.
  EXPECT_FALSE(IsTrustedPage("http://127.0.0.1:8/SITE/", base));
  EXPECT_FALSE(IsTrustedPage("http://127.0.0.1:8?/site/", base));
}

}  // namespace
}  // namespace taviro
