"""A StatusNotifierWatcher with a host, as a panel runs it, on the session
bus: it owns org.kde.StatusNotifierWatcher and prints "registered <service>"
for every item that registers. "ready" once the name is owned.
With --no-host it starts as a watcher alone (kded5 under XFCE); a line
"host" or "no-host" on its input makes a host come or go."""

import sys

from gi.repository import Gio, GLib

XML = """<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
    <signal name="StatusNotifierHostUnregistered"/>
  </interface>
</node>"""

items = []
host = ["--no-host" not in sys.argv]


def on_call(connection, sender, path, interface, method, parameters, invocation):
    if method == "RegisterStatusNotifierItem":
        service = parameters.unpack()[0]
        # An item may name its object path instead; the bus name is the sender's.
        items.append(sender if service.startswith("/") else service)
        print("registered", items[-1], flush=True)
        connection.emit_signal(None, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
                               "StatusNotifierItemRegistered", GLib.Variant("(s)", (items[-1],)))
    invocation.return_value(None)


def on_get(connection, sender, path, interface, name):
    if name == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", items)
    if name == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", host[0])
    return GLib.Variant("i", 0)


def main():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    node = Gio.DBusNodeInfo.new_for_xml(XML)
    bus.register_object("/StatusNotifierWatcher", node.interfaces[0], on_call, on_get, None)
    loop = GLib.MainLoop()

    def on_input(channel, _condition):
        line = channel.readline()
        if not line:
            return False
        host[0] = line.strip() == "host"
        signal = "StatusNotifierHostRegistered" if host[0] else "StatusNotifierHostUnregistered"
        bus.emit_signal(None, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher", signal, None)
        print("host" if host[0] else "no-host", flush=True)
        return True
    GLib.io_add_watch(GLib.IOChannel.unix_new(sys.stdin.fileno()), GLib.IO_IN | GLib.IO_HUP, on_input)
    Gio.bus_own_name_on_connection(bus, "org.kde.StatusNotifierWatcher", Gio.BusNameOwnerFlags.NONE,
                                   lambda *_: print("ready", flush=True), lambda *_: loop.quit())
    loop.run()
    return 0


if __name__ == "__main__":
    sys.exit(main())
