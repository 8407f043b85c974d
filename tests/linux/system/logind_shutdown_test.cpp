#include "linux/system/logind_shutdown.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace taviro {
namespace {

struct PowerOffCall {
  bool interactive = false;
  bool may_prompt = false;  // the message's allow-interactive-authorisation flag
  bool operator==(const PowerOffCall&) const = default;
};

constexpr const char* kManagerXml =
    "<node><interface name='org.freedesktop.login1.Manager'>"
    "<method name='PowerOff'><arg type='b' name='interactive' direction='in'/></method>"
    "</interface></node>";

struct Unref {
  void operator()(gpointer object) const { g_object_unref(object); }
};

// A stand-in for logind on a private bus, serving on its own thread and
// main context, that records every PowerOff and accepts or refuses it.
class FakeLogind {
 public:
  FakeLogind(std::string address, bool refuse)
      : address_(std::move(address)), refuse_(refuse), thread_([this] { Serve(); }) {}
  FakeLogind(const FakeLogind&) = delete;
  FakeLogind& operator=(const FakeLogind&) = delete;
  ~FakeLogind() {
    stop_ = true;
    g_main_context_wakeup(context_);
    thread_.join();
    g_main_context_unref(context_);
  }

  // True once the fake owns the logind name, waiting at most a few seconds.
  bool WaitUntilServing() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(10), [this] { return started_; });
    return serving_;
  }

  std::vector<PowerOffCall> Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }

 private:
  void Serve() {
    g_main_context_push_thread_default(context_);
    std::unique_ptr<GDBusConnection, Unref> connection(g_dbus_connection_new_for_address_sync(
        address_.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr));
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kManagerXml, nullptr);
    const guint registration =
        connection ? g_dbus_connection_register_object(connection.get(), "/org/freedesktop/login1",
                                                       node->interfaces[0], &vtable_, this, nullptr, nullptr)
                   : 0;
    const bool serving = registration != 0 && OwnName(connection.get());
    {
      std::lock_guard lock(mutex_);
      started_ = true;
      serving_ = serving;
    }
    changed_.notify_all();
    while (!stop_) {
      g_main_context_iteration(context_, TRUE);
    }
    if (registration != 0) {
      g_dbus_connection_unregister_object(connection.get(), registration);
    }
    g_dbus_node_info_unref(node);
    connection.reset();
    g_main_context_pop_thread_default(context_);
  }

  static bool OwnName(GDBusConnection* connection) {
    constexpr guint32 kDoNotQueue = 4;
    constexpr guint32 kPrimaryOwner = 1;
    GVariant* reply = g_dbus_connection_call_sync(
        connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
        g_variant_new("(su)", "org.freedesktop.login1", kDoNotQueue), G_VARIANT_TYPE("(u)"),
        G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    if (reply == nullptr) {
      return false;
    }
    guint32 result = 0;
    g_variant_get(reply, "(u)", &result);
    g_variant_unref(reply);
    return result == kPrimaryOwner;
  }

  static void OnCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                     GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self_pointer) {
    auto* self = static_cast<FakeLogind*>(self_pointer);
    gboolean interactive = FALSE;
    g_variant_get(parameters, "(b)", &interactive);
    const GDBusMessageFlags flags =
        g_dbus_message_get_flags(g_dbus_method_invocation_get_message(invocation));
    {
      std::lock_guard lock(self->mutex_);
      self->calls_.push_back(
          {interactive != FALSE, (flags & G_DBUS_MESSAGE_FLAGS_ALLOW_INTERACTIVE_AUTHORIZATION) != 0});
    }
    if (self->refuse_ || std::string(method) != "PowerOff") {
      g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.DBus.Error.AccessDenied",
                                                 "not allowed");
    } else {
      g_dbus_method_invocation_return_value(invocation, nullptr);
    }
  }

  const std::string address_;
  const bool refuse_;
  const GDBusInterfaceVTable vtable_{&OnCall, nullptr, nullptr, {}};
  GMainContext* context_ = g_main_context_new();
  std::atomic<bool> stop_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool started_ = false;
  bool serving_ = false;
  std::vector<PowerOffCall> calls_;
  std::thread thread_;
};

// Every test gets its own private bus daemon; no test goes near the
// system bus.
class LogindShutdownTest : public ::testing::Test {
 protected:
  LogindShutdownTest() : bus_(g_test_dbus_new(G_TEST_DBUS_NONE)) { g_test_dbus_up(bus_.get()); }
  ~LogindShutdownTest() override { g_test_dbus_down(bus_.get()); }

  std::string Address() const { return g_test_dbus_get_bus_address(bus_.get()); }

  std::unique_ptr<GDBusConnection, Unref> Connect() const {
    return std::unique_ptr<GDBusConnection, Unref>(g_dbus_connection_new_for_address_sync(
        Address().c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr));
  }

 private:
  std::unique_ptr<GTestDBus, Unref> bus_;
};

TEST_F(LogindShutdownTest, ForcedPowerOffNeverAsksForAuthorisation) {
  FakeLogind logind(Address(), /*refuse=*/false);
  ASSERT_TRUE(logind.WaitUntilServing());
  auto connection = Connect();
  ASSERT_TRUE(connection);
  LogindShutdown backend(connection.get());
  connection.reset();  // the backend holds its own reference

  EXPECT_TRUE(backend.PowerOff(true));
  EXPECT_EQ(logind.Calls(), (std::vector<PowerOffCall>{{false, false}}));
}

TEST_F(LogindShutdownTest, UnforcedPowerOffMayAskForAuthorisation) {
  FakeLogind logind(Address(), /*refuse=*/false);
  ASSERT_TRUE(logind.WaitUntilServing());
  auto connection = Connect();
  ASSERT_TRUE(connection);

  LogindShutdown(connection.get()).PowerOff(false);
  EXPECT_EQ(logind.Calls(), (std::vector<PowerOffCall>{{true, true}}));
}

TEST_F(LogindShutdownTest, RefusalMissingServiceAndMissingBusAreReportedAsRefused) {
  auto connection = Connect();
  ASSERT_TRUE(connection);
  LogindShutdown backend(connection.get());
  EXPECT_FALSE(backend.PowerOff(true));  // nobody owns the logind name yet

  FakeLogind logind(Address(), /*refuse=*/true);
  ASSERT_TRUE(logind.WaitUntilServing());
  EXPECT_FALSE(backend.PowerOff(true));
  EXPECT_EQ(logind.Calls().size(), 1U);

  EXPECT_FALSE(LogindShutdown(nullptr).PowerOff(true));
}

}  // namespace
}  // namespace taviro
