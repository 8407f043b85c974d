// Which connections an address from a playlist may make: the endpoints an
// address or host names by itself are literals only, keep the port asked
// for, and a rule lets through what it was told and everything outside
// this machine and its network.
#include <cstdint>
#include <string>
#include <string_view>

#include "helper/connect_rule.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;
using taviro::helper::ConnectRule;
using taviro::helper::EndpointsOfAddress;
using taviro::helper::EndpointsOfHost;
using taviro::helper::IsInternalAddress;
using taviro::helper::NetEndpoint;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::uint16_t port = size >= 2 ? static_cast<std::uint16_t>(data[0] << 8U | data[1]) : 80;
  for (const NetEndpoint& endpoint : EndpointsOfHost(text, port)) {
    Check(endpoint.port == port, "a host keeps the port asked for", text);
  }
  ConnectRule nothing_allowed;
  ConnectRule rule;
  for (const NetEndpoint& endpoint : EndpointsOfAddress(text)) {
    Check(text.starts_with("http://") || text.starts_with("https://"), "only web addresses name endpoints",
          text);
    rule.Allow(endpoint);
    Check(rule.Permits(endpoint), "an allowed endpoint is let through", text);
  }
  // The input's first bytes as an endpoint of either family.
  NetEndpoint endpoint;
  endpoint.v6 = size > 0 && (data[0] & 1U) != 0;
  for (std::size_t i = 0; i < endpoint.address.size() && i + 1 < size; ++i) endpoint.address[i] = data[i + 1];
  endpoint.port = port;
  Check(nothing_allowed.Permits(endpoint) == !IsInternalAddress(endpoint),
        "with nothing allowed, only what lies outside is let through", text);
  if (!endpoint.v6 && endpoint.address[0] == 127) {
    Check(IsInternalAddress(endpoint), "loopback is inside", text);
  }
  return 0;
}
