#include "helper/connect_rule.h"

#include <algorithm>
#include <charconv>

namespace taviro::helper {
namespace {

using Bytes = std::array<std::uint8_t, 16>;

bool StartsWith(const Bytes& bytes, std::initializer_list<std::uint8_t> prefix) {
  return std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

bool InternalV4(std::uint8_t a, std::uint8_t b) {
  return a == 0 || a == 10 || a == 127 || (a == 100 && (b & 0xc0) == 64) || (a == 169 && b == 254) ||
         (a == 172 && (b & 0xf0) == 16) || (a == 192 && b == 168);
}

// An IPv6 address that carries an IPv4 one in its last four bytes: mapped
// (::ffff:a.b.c.d), compatible (::a.b.c.d) or the NAT64 prefix.
std::optional<NetEndpoint> CarriedV4(const NetEndpoint& endpoint) {
  const Bytes& a = endpoint.address;
  const bool zeros = std::all_of(a.begin(), a.begin() + 10, [](std::uint8_t byte) { return byte == 0; });
  const bool mapped = zeros && a[10] == 0xff && a[11] == 0xff;
  const bool compatible = zeros && a[10] == 0 && a[11] == 0 && (a[12] | a[13] | a[14]) != 0;
  const bool nat64 = StartsWith(a, {0x00, 0x64, 0xff, 0x9b, 0, 0, 0, 0, 0, 0, 0, 0});
  if (!mapped && !compatible && !nat64) return std::nullopt;
  NetEndpoint v4;
  v4.port = endpoint.port;
  std::copy(a.begin() + 12, a.end(), v4.address.begin());
  return v4;
}

// IPv4 inside IPv6 compares as the IPv4 address it is.
NetEndpoint Plain(const NetEndpoint& endpoint) {
  if (!endpoint.v6) return endpoint;
  return CarriedV4(endpoint).value_or(endpoint);
}

std::optional<Bytes> ParseV4(std::string_view text) {
  Bytes bytes{};
  for (std::size_t i = 0; i < 4; ++i) {
    unsigned value = 256;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value > 255 || end == text.data()) return std::nullopt;
    bytes[i] = static_cast<std::uint8_t>(value);
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (i < 3) {
      if (!text.starts_with('.')) return std::nullopt;
      text.remove_prefix(1);
    }
  }
  if (!text.empty()) return std::nullopt;
  return bytes;
}

}  // namespace

bool IsInternalAddress(const NetEndpoint& endpoint) {
  const NetEndpoint plain = Plain(endpoint);
  const Bytes& a = plain.address;
  if (!plain.v6) return InternalV4(a[0], a[1]);
  const bool low_zeros = std::all_of(a.begin(), a.begin() + 15, [](std::uint8_t byte) { return byte == 0; });
  // :: and ::1; fc00::/7 unique local; fe80::/10 link-local; fec0::/10 site-local.
  return (low_zeros && a[15] <= 1) || (a[0] & 0xfe) == 0xfc || (a[0] == 0xfe && (a[1] & 0x80) == 0x80);
}

std::vector<NetEndpoint> EndpointsOfHost(std::string_view host, std::uint16_t port) {
  if (host == "localhost") {
    NetEndpoint v4{false, {127, 0, 0, 1}, port};
    NetEndpoint v6{true, {}, port};
    v6.address[15] = 1;
    return {v4, v6};
  }
  if (const std::optional<Bytes> v4 = ParseV4(host)) return {NetEndpoint{false, *v4, port}};
  if (host.starts_with('[') && host.ends_with(']')) host = host.substr(1, host.size() - 2);
  if (host == "::1") {
    NetEndpoint v6{true, {}, port};
    v6.address[15] = 1;
    return {v6};
  }
  return {};
}

std::vector<NetEndpoint> EndpointsOfAddress(std::string_view address) {
  std::uint16_t port = 0;
  if (address.starts_with("http://")) {
    port = 80;
  } else if (address.starts_with("https://")) {
    port = 443;
  } else {
    return {};
  }
  address.remove_prefix(address.find("//") + 2);
  std::string_view authority = address.substr(0, address.find_first_of("/?#"));
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
    authority.remove_prefix(at + 1);
  const std::size_t colon = authority.rfind(':');
  if (colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos) {
    const std::string_view digits = authority.substr(colon + 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (error != std::errc() || end != digits.data() + digits.size()) return {};
    authority = authority.substr(0, colon);
  }
  return EndpointsOfHost(authority, port);
}

void ConnectRule::Allow(const NetEndpoint& endpoint) { allowed_.push_back(Plain(endpoint)); }

bool ConnectRule::Permits(const NetEndpoint& endpoint) const {
  if (!IsInternalAddress(endpoint)) return true;
  return std::find(allowed_.begin(), allowed_.end(), Plain(endpoint)) != allowed_.end();
}

}  // namespace taviro::helper
