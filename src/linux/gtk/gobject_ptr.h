#pragma once

#include <glib-object.h>

#include <utility>

namespace taviro::gtk {

// Owns one reference to a GObject.
template <typename T>
class GObjectPtr {
 public:
  GObjectPtr() = default;
  // Takes over a reference the caller already owns (a "transfer full" return).
  static GObjectPtr Adopt(T* object) { return GObjectPtr(object); }
  // Adds a reference of our own (a "transfer none" return); a floating
  // reference is sunk.
  static GObjectPtr Retain(T* object) {
    if (object != nullptr) {
      g_object_ref_sink(object);
    }
    return GObjectPtr(object);
  }

  GObjectPtr(const GObjectPtr&) = delete;
  GObjectPtr& operator=(const GObjectPtr&) = delete;
  GObjectPtr(GObjectPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  GObjectPtr& operator=(GObjectPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  ~GObjectPtr() { Reset(); }

  T* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  void Reset() {
    if (object_ != nullptr) {
      g_object_unref(object_);
      object_ = nullptr;
    }
  }

 private:
  explicit GObjectPtr(T* object) : object_(object) {}
  T* object_ = nullptr;
};

// Disconnects a signal handler when it goes away, so no callback reaches an
// object that has been destroyed.
class SignalConnection {
 public:
  SignalConnection() = default;
  SignalConnection(gpointer instance, gulong id) : instance_(instance), id_(id) {
    g_object_add_weak_pointer(G_OBJECT(instance_), &instance_);
  }
  SignalConnection(const SignalConnection&) = delete;
  SignalConnection& operator=(const SignalConnection&) = delete;
  SignalConnection(SignalConnection&& other) noexcept { *this = std::move(other); }
  SignalConnection& operator=(SignalConnection&& other) noexcept {
    if (this != &other) {
      Disconnect();
      if (other.instance_ != nullptr) {
        g_object_remove_weak_pointer(G_OBJECT(other.instance_), &other.instance_);
        instance_ = std::exchange(other.instance_, nullptr);
        id_ = std::exchange(other.id_, 0);
        g_object_add_weak_pointer(G_OBJECT(instance_), &instance_);
      }
    }
    return *this;
  }
  ~SignalConnection() { Disconnect(); }

  void Disconnect() {
    if (instance_ != nullptr) {
      g_signal_handler_disconnect(instance_, id_);
      g_object_remove_weak_pointer(G_OBJECT(instance_), &instance_);
      instance_ = nullptr;
    }
  }

 private:
  gpointer instance_ = nullptr;
  gulong id_ = 0;
};

// Connects a member-function-like lambda-free callback: `handler` is a plain
// function taking the signal's arguments and `data` last.
template <typename Handler>
SignalConnection Connect(gpointer instance, const char* signal, Handler handler, gpointer data) {
  const gulong id = g_signal_connect(instance, signal, G_CALLBACK(handler), data);
  return SignalConnection(instance, id);
}

}  // namespace taviro::gtk
