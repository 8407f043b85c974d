"""A stand-in desktop notification server on the test's own session bus,
so that a test can read the balloons the program shows."""

import threading

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

INTERFACE = """
<node>
  <interface name="org.freedesktop.Notifications">
    <method name="Notify">
      <arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/>
    </method>
    <method name="CloseNotification"><arg type="u" direction="in"/></method>
    <method name="GetCapabilities"><arg type="as" direction="out"/></method>
    <method name="GetServerInformation">
      <arg type="s" direction="out"/><arg type="s" direction="out"/>
      <arg type="s" direction="out"/><arg type="s" direction="out"/>
    </method>
  </interface>
</node>
"""


class NotificationServer:
    """Keeps (summary, body) of every notification, in order, and beside
    it what ties the notification to its program: (app icon, hints)."""

    def __init__(self):
        self.shown = []
        self.sources = []
        self._lock = threading.Lock()
        self._loop = GLib.MainLoop(GLib.MainContext.new())
        self._ready = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()
        if not self._ready.wait(10):
            raise RuntimeError("the notification server did not start")

    def texts(self):
        with self._lock:
            return list(self.shown)

    def source_of(self, index):
        with self._lock:
            return self.sources[index]

    def stop(self):
        self._loop.quit()
        self._thread.join(10)

    def _run(self):
        context = self._loop.get_context()
        context.push_thread_default()
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        info = Gio.DBusNodeInfo.new_for_xml(INTERFACE).interfaces[0]
        registration = bus.register_object("/org/freedesktop/Notifications", info, self._call, None, None)
        owner = Gio.bus_own_name_on_connection(bus, "org.freedesktop.Notifications", Gio.BusNameOwnerFlags.NONE,
                                               lambda *_: self._ready.set(), None)
        self._loop.run()
        # Gone with the server, so that the next test's can take its place.
        Gio.bus_unown_name(owner)
        bus.unregister_object(registration)
        context.pop_thread_default()

    def _call(self, _bus, _sender, _path, _interface, method, parameters, invocation):
        if method == "Notify":
            values = parameters.unpack()
            with self._lock:
                self.shown.append((values[3], values[4]))
                self.sources.append((values[2], values[6]))
                number = len(self.shown)
            invocation.return_value(GLib.Variant("(u)", (number,)))
        elif method == "GetCapabilities":
            invocation.return_value(GLib.Variant("(as)", (["body"],)))
        elif method == "GetServerInformation":
            invocation.return_value(GLib.Variant("(ssss)", ("tests", "taviro", "1", "1.2")))
        else:
            invocation.return_value(None)
