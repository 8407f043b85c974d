#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "linux/system/system_clock.h"
#include "linux/system/system_network_adapters.h"

namespace taviro {
namespace {

std::string SysfsAddress(const std::string& interface) {
  std::ifstream in("/sys/class/net/" + interface + "/address");
  std::string address;
  std::getline(in, address);
  return address;
}

TEST(SystemNetworkAdapters, ListsTheLoopbackAsUpWithAnAddress) {
  const std::vector<NetworkAdapter> adapters = SystemNetworkAdapters().List();
  const auto lo =
      std::find_if(adapters.begin(), adapters.end(), [](const NetworkAdapter& a) { return a.name == "lo"; });
  ASSERT_NE(lo, adapters.end());
  EXPECT_TRUE(lo->up);
  EXPECT_TRUE(lo->loopback);
  EXPECT_TRUE(lo->has_ip_address);
  EXPECT_EQ(lo->hardware_address, "00:00:00:00:00:00");
}

TEST(SystemNetworkAdapters, ReportsEachInterfaceOnceWithTheKernelsAddress) {
  const std::vector<NetworkAdapter> adapters = SystemNetworkAdapters().List();
  for (const NetworkAdapter& adapter : adapters) {
    EXPECT_EQ(std::count_if(adapters.begin(), adapters.end(),
                            [&](const NetworkAdapter& a) { return a.name == adapter.name; }),
              1)
        << adapter.name;
    if (!adapter.hardware_address.empty()) {
      EXPECT_EQ(adapter.hardware_address, SysfsAddress(adapter.name)) << adapter.name;
    }
  }
}

TEST(SystemClock, GivesAPlausibleLocalDateAndTime) {
  const LocalDateTime now = SystemClock().Now();
  EXPECT_GE(now.year, 2024);
  EXPECT_LE(now.year, 2100);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LT(now.hour, 24);
  EXPECT_LT(now.minute, 60);
  EXPECT_LE(now.second, 60);
}

}  // namespace
}  // namespace taviro
