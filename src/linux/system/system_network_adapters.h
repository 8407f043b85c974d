#pragma once

#include "ports/network_adapters.h"

namespace taviro {

// The interfaces getifaddrs() reports, in the order it first names them.
class SystemNetworkAdapters final : public NetworkAdapterSource {
 public:
  std::vector<NetworkAdapter> List() override;
};

}  // namespace taviro
