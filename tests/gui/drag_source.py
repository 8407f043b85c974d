"""A small window that offers files for dragging, as a file manager does:
a drag that starts on it carries their file: addresses (text/uri-list).
Usage: drag_source.py X Y FILE... ; prints "ready" once it is on screen."""

import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import GLib, Gtk  # noqa: E402

SIZE = (160, 90)


def main():
    x, y = int(sys.argv[1]), int(sys.argv[2])
    uris = [GLib.filename_to_uri(path, None) for path in sys.argv[3:]]
    window = Gtk.Window(title="drag-source")
    window.set_default_size(*SIZE)
    window.move(x, y)
    box = Gtk.EventBox()
    box.add(Gtk.Label(label="drag me"))
    window.add(box)
    box.drag_source_set(gi.repository.Gdk.ModifierType.BUTTON1_MASK, [], gi.repository.Gdk.DragAction.COPY)
    box.drag_source_add_uri_targets()
    box.connect("drag-data-get", lambda _w, _c, data, _i, _t: data.set_uris(uris))
    box.connect("drag-end", lambda *_: print("dropped", flush=True))
    window.connect("destroy", Gtk.main_quit)

    def announce(*_):
        print("ready", flush=True)
        return False
    window.connect("map-event", announce)
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    main()
