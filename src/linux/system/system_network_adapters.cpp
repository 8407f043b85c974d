#include "linux/system/system_network_adapters.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/socket.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>

namespace taviro {
namespace {

struct IfaddrsFree {
  void operator()(ifaddrs* list) const { freeifaddrs(list); }
};
using IfaddrsList = std::unique_ptr<ifaddrs, IfaddrsFree>;

// "aa:bb:cc:dd:ee:ff", lower case, as the kernel writes it in /sys.
std::string FormatHardwareAddress(const sockaddr_ll& link) {
  constexpr std::string_view kHex = "0123456789abcdef";
  const std::size_t length = std::min<std::size_t>(link.sll_halen, sizeof link.sll_addr);
  std::string out;
  for (std::size_t i = 0; i < length; ++i) {
    if (i != 0) out.push_back(':');
    out.push_back(kHex[link.sll_addr[i] >> 4U]);
    out.push_back(kHex[link.sll_addr[i] & 0xFU]);
  }
  return out;
}

NetworkAdapter& AdapterNamed(std::vector<NetworkAdapter>& adapters, std::string_view name) {
  const auto found = std::find_if(adapters.begin(), adapters.end(),
                                  [name](const NetworkAdapter& a) { return a.name == name; });
  if (found != adapters.end()) return *found;
  NetworkAdapter added;
  added.name = name;
  return adapters.emplace_back(std::move(added));
}

void AddEntry(std::vector<NetworkAdapter>& adapters, const ifaddrs& entry) {
  NetworkAdapter& adapter = AdapterNamed(adapters, entry.ifa_name);
  adapter.up = (entry.ifa_flags & IFF_UP) != 0;
  adapter.loopback = (entry.ifa_flags & IFF_LOOPBACK) != 0;
  if (entry.ifa_addr == nullptr) return;
  switch (entry.ifa_addr->sa_family) {
    case AF_INET:
    case AF_INET6: adapter.has_ip_address = true; break;
    case AF_PACKET: {
      sockaddr_ll link{};
      std::copy_n(reinterpret_cast<const unsigned char*>(entry.ifa_addr), sizeof link,
                  reinterpret_cast<unsigned char*>(&link));
      adapter.hardware_address = FormatHardwareAddress(link);
      break;
    }
    default: break;
  }
}

}  // namespace

std::vector<NetworkAdapter> SystemNetworkAdapters::List() {
  std::vector<NetworkAdapter> adapters;
  ifaddrs* raw = nullptr;
  // Without the list there is no adapter to name; callers fall back then.
  if (getifaddrs(&raw) != 0) return adapters;
  const IfaddrsList list(raw);
  for (const ifaddrs* entry = list.get(); entry != nullptr; entry = entry->ifa_next) {
    AddEntry(adapters, *entry);
  }
  return adapters;
}

}  // namespace taviro
