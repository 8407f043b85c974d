#pragma once

#include <gio/gio.h>

#include <memory>

#include "ports/shutdown_backend.h"

namespace taviro {

// Powers off through logind (org.freedesktop.login1.Manager.PowerOff) on
// the D-Bus connection it is given. Without a connection, or when logind
// refuses, nothing happens and the answer is false; TAVIRO_DEBUG=1 in the
// environment writes the reason to stderr.
class LogindShutdown final : public ShutdownBackend {
 public:
  // Takes its own reference; `connection` may be null.
  explicit LogindShutdown(GDBusConnection* connection);

  bool PowerOff(bool force) override;

 private:
  struct Unref {
    void operator()(GDBusConnection* connection) const { g_object_unref(connection); }
  };
  std::unique_ptr<GDBusConnection, Unref> connection_;
};

// A logind backend on the system bus; one that does nothing when there is
// no system bus.
std::unique_ptr<ShutdownBackend> ConnectSystemShutdown();

}  // namespace taviro
