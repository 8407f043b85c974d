#include "services/installation_identity.h"

#include <gtest/gtest.h>

#include <utility>

namespace taviro {
namespace {

class FakeAdapters final : public NetworkAdapterSource {
 public:
  explicit FakeAdapters(std::vector<NetworkAdapter> adapters) : adapters_(std::move(adapters)) {}
  std::vector<NetworkAdapter> List() override { return adapters_; }

 private:
  std::vector<NetworkAdapter> adapters_;
};

class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalDateTime now) : now_(now) {}
  LocalDateTime Now() override { return now_; }

 private:
  LocalDateTime now_;
};

NetworkAdapter Ethernet(std::string name, std::string address) {
  return {.name = std::move(name),
          .up = true,
          .loopback = false,
          .has_ip_address = true,
          .hardware_address = std::move(address)};
}

constexpr LocalDateTime kSep16 = {.year = 2011, .month = 9, .day = 16, .hour = 9, .minute = 5, .second = 7};

TEST(AdapterIdentity, WritesTheFirstUsableAdapterWithDashes) {
  FakeAdapters adapters({Ethernet("eth0", "52:54:00:AB:cd:0f"), Ethernet("eth1", "11:22:33:44:55:66")});
  EXPECT_EQ(AdapterIdentity(adapters), "52-54-00-AB-cd-0f");
}

TEST(AdapterIdentity, PassesOverLoopbackDownAndAddresslessAdapters) {
  NetworkAdapter lo = Ethernet("lo", "00:00:00:00:00:00");
  lo.loopback = true;
  NetworkAdapter down = Ethernet("eth0", "aa:aa:aa:aa:aa:aa");
  down.up = false;
  NetworkAdapter no_ip = Ethernet("eth1", "bb:bb:bb:bb:bb:bb");
  no_ip.has_ip_address = false;
  FakeAdapters adapters({lo, down, no_ip, Ethernet("wlan0", "cc:dd:ee:ff:00:11")});
  EXPECT_EQ(AdapterIdentity(adapters), "cc-dd-ee-ff-00-11");
}

TEST(AdapterIdentity, ARejectedFirstAdapterIsNotReplacedByALaterOne) {
  for (const char* rejected : {"00:53:45:00:00:00", "00:00:00:00:00:00", ""}) {
    FakeAdapters adapters({Ethernet("ppp0", rejected), Ethernet("eth0", "52:54:00:12:34:56")});
    EXPECT_EQ(AdapterIdentity(adapters), "") << rejected;
  }
  FakeAdapters none({});
  EXPECT_EQ(AdapterIdentity(none), "");
}

TEST(RandomIdentity, RunsTheUnpaddedDateAndTimeAndAThreeDigitNumberTogether) {
  // 2011, 9, 16, 9, 5, 7 and 457.
  EXPECT_EQ(RandomIdentity(kSep16, 0.397), "2011916957457");
  EXPECT_EQ(RandomIdentity(kSep16, 0.0), "2011916957100");
  EXPECT_EQ(RandomIdentity(kSep16, 0.9999999), "2011916957999");
  EXPECT_EQ(RandomIdentity(kSep16, 1.0), "2011916957999");
  EXPECT_EQ(RandomIdentity({.year = 2024, .month = 12, .day = 31, .hour = 23}, 0.5),
            "2024"
            "12"
            "31"
            "23"
            "0"
            "0"
            "550");
}

TEST(MakeInstallationIdentity, FallsBackToTheClockWhenNoAdapterServes) {
  FixedClock clock(kSep16);
  FakeAdapters good({Ethernet("eth0", "52:54:00:12:34:56")});
  EXPECT_EQ(MakeInstallationIdentity(good, clock), "52-54-00-12-34-56");

  FakeAdapters placeholder({Ethernet("ppp0", "00:53:45:00:00:00")});
  const std::string identity = MakeInstallationIdentity(placeholder, clock);
  ASSERT_EQ(identity.size(), 13U);
  EXPECT_EQ(identity.substr(0, 10), "2011916957");
  const int drawn = std::stoi(identity.substr(10));
  EXPECT_GE(drawn, 100);
  EXPECT_LE(drawn, 999);
}

}  // namespace
}  // namespace taviro
