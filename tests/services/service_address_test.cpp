#include "services/service_address.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace taviro {
namespace {

const std::string kKey = "0123456789abcdef0123456789abcdef";

TEST(ServiceAddress, OnlyAKeyedLoopbackAddressIsTakenFromTheOwnService) {
  const std::string base = "http://127.0.0.1:41234/" + kKey + "/";
  EXPECT_EQ(ParseOwnServiceAddress(base + "\n"), base);
  EXPECT_EQ(ParseOwnServiceAddress("http://127.0.0.1:1/" + kKey + kKey + "/"),
            "http://127.0.0.1:1/" + kKey + kKey + "/");
  for (const std::string& bad : std::vector<std::string>{
           "http://127.0.0.1:41234/" + kKey,                  // no folder
           "http://127.0.0.1:41234/" + kKey + "/x/",          // more path
           "http://127.0.0.1:41234/" + kKey.substr(1) + "/",  // a short key
           "http://127.0.0.1:41234/0123456789ABCDEF0123456789ABCDEF/",
           "http://127.0.0.1:0/" + kKey + "/",
           "http://127.0.0.1:041234/" + kKey + "/",
           "http://127.0.0.1:65536/" + kKey + "/",
           "http://127.0.0.1:/" + kKey + "/",
           "http://127.0.0.10:4123/" + kKey + "/",
           "http://evil.example:41234/" + kKey + "/",
           "https://127.0.0.1:41234/" + kKey + "/",
           "http://127.0.0.1:41234/" + kKey + "/\r\n",
           std::string(),
       }) {
    EXPECT_EQ(ParseOwnServiceAddress(bad), std::nullopt) << bad;
  }
}

TEST(ServiceAddress, AGivenBaseEndsInAFolderAndAnEmptyOneMeansTheOwnService) {
  EXPECT_EQ(GivenServiceBase(" http://127.0.0.1:18080\n"), "http://127.0.0.1:18080/");
  EXPECT_EQ(GivenServiceBase("https://v.example/site/"), "https://v.example/site/");
  EXPECT_EQ(GivenServiceBase(""), std::nullopt);
  EXPECT_EQ(GivenServiceBase("  "), std::nullopt);
  EXPECT_EQ(GivenServiceBase("file:///etc/"), std::nullopt);
  EXPECT_EQ(EndOfPlayAddress("http://h/k/"), "http://h/k/taviro-end/");
}

}  // namespace
}  // namespace taviro
