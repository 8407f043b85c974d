#include "services/installation_identity.h"

#include <algorithm>
#include <random>
#include <string_view>

namespace taviro {
namespace {

bool Qualifies(const NetworkAdapter& adapter) {
  return adapter.up && adapter.has_ip_address && !adapter.loopback;
}

// An all-zero address and the one dial-up (WAN miniport) adapters share
// identify no computer.
bool IsPlaceholder(std::string_view address) {
  return address.empty() || address.find("00-00-00-00-00-00") != std::string_view::npos ||
         address.find("00-53-45-00-00-00") != std::string_view::npos;
}

}  // namespace

std::string AdapterIdentity(NetworkAdapterSource& adapters) {
  const std::vector<NetworkAdapter> listed = adapters.List();
  const auto first = std::find_if(listed.begin(), listed.end(), Qualifies);
  if (first == listed.end()) return {};
  std::string address = first->hardware_address;
  std::replace(address.begin(), address.end(), ':', '-');
  return IsPlaceholder(address) ? std::string() : address;
}

std::string RandomIdentity(const LocalDateTime& now, double fraction) {
  // A distribution may round up to exactly 1.0; keep the number three digits.
  const int drawn = std::clamp(static_cast<int>(fraction * 900), 0, 899) + 100;
  std::string out;
  for (int part : {now.year, now.month, now.day, now.hour, now.minute, now.second, drawn}) {
    out += std::to_string(part);
  }
  return out;
}

std::string RandomIdentity(Clock& clock) {
  std::random_device seed;
  std::mt19937 generator(seed());
  std::uniform_real_distribution<double> fraction(0.0, 1.0);
  return RandomIdentity(clock.Now(), fraction(generator));
}

std::string MakeInstallationIdentity(NetworkAdapterSource& adapters, Clock& clock) {
  std::string identity = AdapterIdentity(adapters);
  return identity.empty() ? RandomIdentity(clock) : identity;
}

}  // namespace taviro
