#pragma once

#include <string>
#include <vector>

namespace taviro {

struct NetworkAdapter {
  std::string name;
  bool up = false;
  bool loopback = false;
  bool has_ip_address = false;
  // Hardware address as the system writes it, e.g. "52:54:00:ab:cd:ef";
  // empty when the adapter has none.
  std::string hardware_address;
};

// The machine's network adapters in the system's order.
class NetworkAdapterSource {
 public:
  virtual ~NetworkAdapterSource() = default;
  virtual std::vector<NetworkAdapter> List() = 0;
};

}  // namespace taviro
