#include "helper/connect_rule.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <string>

namespace taviro::helper {
namespace {

NetEndpoint At(const std::string& ip, std::uint16_t port = 80) {
  NetEndpoint endpoint;
  endpoint.port = port;
  if (::inet_pton(AF_INET, ip.c_str(), endpoint.address.data()) == 1) return endpoint;
  endpoint.v6 = true;
  EXPECT_EQ(::inet_pton(AF_INET6, ip.c_str(), endpoint.address.data()), 1) << ip;
  return endpoint;
}

TEST(ConnectRuleTest, InsideThisMachineAndItsNetworkInEitherFamilyIsInternal) {
  for (const char* inside :
       {"127.0.0.1", "127.255.0.9", "10.1.2.3", "172.16.0.1", "172.31.255.255", "192.168.1.1",
        "169.254.169.254", "0.0.0.0", "100.64.0.1", "::1", "::", "fe80::1", "fc00::5", "fd12:3456::1",
        "::ffff:127.0.0.1", "::ffff:10.0.0.1", "::127.0.0.1", "64:ff9b::192.168.0.1"}) {
    EXPECT_TRUE(IsInternalAddress(At(inside))) << inside;
  }
  for (const char* outside : {"8.8.8.8", "172.32.0.1", "172.15.255.255", "192.169.0.1", "100.128.0.1",
                              "2001:db8::1", "::ffff:93.184.216.34", "64:ff9b::8.8.8.8"}) {
    EXPECT_FALSE(IsInternalAddress(At(outside))) << outside;
  }
}

TEST(ConnectRuleTest, OnlyTheAllowedEndpointsInsideAreReached) {
  ConnectRule rule;
  rule.Allow(At("127.0.0.1", 8000));
  for (const NetEndpoint& service : EndpointsOfAddress("http://localhost:18080/base/")) rule.Allow(service);
  EXPECT_TRUE(rule.Permits(At("127.0.0.1", 8000)));
  EXPECT_TRUE(rule.Permits(At("::ffff:127.0.0.1", 8000)));  // the same endpoint, written as IPv6
  EXPECT_TRUE(rule.Permits(At("::1", 18080)));
  EXPECT_TRUE(rule.Permits(At("93.184.216.34", 22)));  // outside: anywhere
  EXPECT_FALSE(rule.Permits(At("127.0.0.1", 22)));
  EXPECT_FALSE(rule.Permits(At("::ffff:127.0.0.1", 22)));
  EXPECT_FALSE(rule.Permits(At("192.168.1.1", 8000)));

  EXPECT_EQ(EndpointsOfAddress("https://user@[::1]/x").size(), 1U);
  EXPECT_EQ(EndpointsOfAddress("https://user@[::1]/x")[0].port, 443);
  EXPECT_EQ(EndpointsOfAddress("http://127.0.0.1/")[0], At("127.0.0.1", 80));
  EXPECT_TRUE(EndpointsOfAddress("http://service.example:80/").empty());
  EXPECT_TRUE(EndpointsOfAddress("ftp://127.0.0.1/").empty());
  EXPECT_TRUE(EndpointsOfAddress("http://127.0.0.1:99999/").empty());
}

}  // namespace
}  // namespace taviro::helper
