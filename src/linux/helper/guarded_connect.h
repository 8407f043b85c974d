#pragma once

#include <curl/curl.h>

#include <optional>

#include "helper/connect_rule.h"

namespace taviro::helper {

// A transfer's guard: the rule every connection asks, and whether it said no.
struct ConnectGuard {
  const ConnectRule* rule;
  bool refused = false;
};

// Makes every connection of `curl` (redirects too) ask the guard's rule
// first, at the moment the address is known; `guard` outlives the transfer.
void GuardConnections(CURL* curl, ConnectGuard& guard);

// The endpoint the finished transfer last talked to.
std::optional<NetEndpoint> PeerOf(CURL* curl);

}  // namespace taviro::helper
