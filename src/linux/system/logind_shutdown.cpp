#include "linux/system/logind_shutdown.h"

#include <cstdio>
#include <cstdlib>

namespace taviro {
namespace {

constexpr const char* kBusName = "org.freedesktop.login1";
constexpr const char* kObjectPath = "/org/freedesktop/login1";
constexpr const char* kManagerInterface = "org.freedesktop.login1.Manager";
// An interactive request may sit behind an authorisation prompt; a forced
// one is answered at once. Either way the program must not hang for ever.
constexpr int kCallTimeoutMs = 30'000;

struct ErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

// Failures are part of normal life here (no logind, not allowed), so they
// are only shown to someone who asked for debug output.
void LogFailure(const char* what, const GError* error) {
  if (std::getenv("TAVIRO_DEBUG") == nullptr) {
    return;
  }
  std::fprintf(stderr, "taviro: %s: %s\n", what, error != nullptr ? error->message : "no connection");
}

}  // namespace

LogindShutdown::LogindShutdown(GDBusConnection* connection)
    : connection_(connection != nullptr ? static_cast<GDBusConnection*>((g_object_ref)(connection))
                                        : nullptr) {}

bool LogindShutdown::PowerOff(bool force) {
  if (!connection_) {
    LogFailure("power-off not requested", nullptr);
    return false;
  }
  // A forced request must never wait on a prompt nobody may be there to answer.
  const gboolean interactive = force ? FALSE : TRUE;
  GError* raw_error = nullptr;
  GVariant* reply = g_dbus_connection_call_sync(
      connection_.get(), kBusName, kObjectPath, kManagerInterface, "PowerOff",
      g_variant_new("(b)", interactive), nullptr,
      interactive ? G_DBUS_CALL_FLAGS_ALLOW_INTERACTIVE_AUTHORIZATION : G_DBUS_CALL_FLAGS_NONE,
      kCallTimeoutMs, nullptr, &raw_error);
  const ErrorPtr error(raw_error);
  if (reply != nullptr) {
    g_variant_unref(reply);
    return true;
  }
  LogFailure("power-off refused", error.get());
  return false;
}

std::unique_ptr<ShutdownBackend> ConnectSystemShutdown() {
  GError* raw_error = nullptr;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, &raw_error);
  const ErrorPtr error(raw_error);
  if (bus == nullptr) {
    LogFailure("no system bus", error.get());
    return std::make_unique<LogindShutdown>(nullptr);
  }
  // The shared bus connection would otherwise end the whole program
  // should the system bus go away.
  g_dbus_connection_set_exit_on_close(bus, FALSE);
  auto backend = std::make_unique<LogindShutdown>(bus);
  g_object_unref(bus);
  return backend;
}

}  // namespace taviro
