"""The program's window as the accessibility bus shows it: links to click
with the real pointer and the texts of its labels."""

import subprocess

import harness
import pyatspi


class Screen:
    """The program's accessible links and labels, links clicked with the real pointer."""

    def __init__(self, program, window):
        self.program = program
        self.window = window
        self.app = harness.wait_for(self.find_app, 30, "the program on the accessibility bus")

    def find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == self.program.process.pid:
                    return app
            except Exception:
                continue
        return None

    def showing(self, role_name):
        """(name, node, box) of every node of that role shown inside the window."""
        left, top, width, height = harness.window_geometry(self.window)
        found = []
        stack = [self.app]
        while stack:
            node = stack.pop()
            try:
                role = node.getRoleName()
                children = [node.getChildAtIndex(i) for i in range(node.childCount)]
            except Exception:
                continue
            if role == role_name and node.getState().contains(pyatspi.STATE_SHOWING):
                try:
                    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                except Exception:
                    box = None
                if (box is not None and box.width > 0 and box.height > 0 and box.x >= left
                        and box.y >= top and box.x + box.width <= left + width
                        and box.y + box.height <= top + height):
                    found.append((node.name, node, (box.x, box.y, box.width, box.height)))
            stack.extend(reversed([child for child in children if child is not None]))
        return found

    def visible_links(self):
        return self.showing("link")

    def label_texts(self):
        """The texts of the labels shown in the window."""
        return [name for name, _, _ in self.showing("label")]

    def wait_links(self, predicate, what, seconds=30):
        def matching():
            return [entry for entry in self.visible_links() if predicate(entry)]
        try:
            return harness.wait_for(matching, seconds, what)
        except harness.Timeout as error:
            names = [entry[0] for entry in self.visible_links()]
            raise harness.Timeout(f"{error}; links shown: {names}") from None

    def wait_label(self, predicate, what, seconds=30):
        """The first label text that satisfies the predicate."""
        def matching():
            return next((text for text in self.label_texts() if text and predicate(text)), None)
        try:
            return harness.wait_for(matching, seconds, what)
        except harness.Timeout as error:
            raise harness.Timeout(f"{error}; labels shown: {self.label_texts()}") from None

    @staticmethod
    def uri(link):
        try:
            return link.queryHyperlink().getURI(0)
        except Exception:
            return None

    @staticmethod
    def click_box(box):
        x, y, width, height = box
        subprocess.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2),
                        "click", "1"], check=True)
