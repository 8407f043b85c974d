"""The program's window as the accessibility bus shows it: its controls by
role and name, links to click with the real pointer and the texts of its
labels."""

import subprocess

import harness
import pyatspi


CONTROL_ROLES = ("push button", "toggle button", "page tab", "slider")


class Screen:
    """The program's accessible links, labels and window regions, clicked with the real pointer."""

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

    def showing(self, role_name, window=None, pages=True):
        """(name, node, box) of every node of that role shown inside the
        window (the main one unless another is given); without `pages`, only
        the window's own widgets, not what its web views show."""
        return [(name, node, box) for _, name, node, box in self.shown((role_name,), window, pages)]

    def shown(self, roles, window=None, pages=True):
        """(role, name, node, box) of every node of those roles shown inside the window."""
        left, top, width, height = harness.window_geometry(window or self.window)
        found = []
        stack = [self.app]
        while stack:
            node = stack.pop()
            try:
                role = node.getRoleName()
                inside = pages or role not in ("document web", "document frame")
                children = [node.getChildAtIndex(i) for i in range(node.childCount)] if inside else []
            except Exception:
                continue
            if role in roles and node.getState().contains(pyatspi.STATE_SHOWING):
                try:
                    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                except Exception:
                    box = None
                if (box is not None and box.width > 0 and box.height > 0 and box.x >= left
                        and box.y >= top and box.x + box.width <= left + width
                        and box.y + box.height <= top + height):
                    found.append((role, node.name, node, (box.x, box.y, box.width, box.height)))
            stack.extend(reversed([child for child in children if child is not None]))
        return found

    def window_nodes(self):
        """Every node of the window's own widgets, depth first: what the web
        views show holds none of them."""
        stack = [self.app]
        while stack:
            node = stack.pop()
            yield node
            try:
                if node.getRoleName() not in ("document web", "document frame"):
                    stack.extend(node.getChildAtIndex(i) for i in range(node.childCount))
            except Exception:
                continue

    def region(self, region_id, seconds=30):
        """The (x, y, width, height) on the screen of the window's region with
        that accessible id ("QvodC", "adp", "Web3"), once it is shown: for
        what is no control and so has no name to find it by."""
        def find():
            for node in self.window_nodes():
                try:
                    if node.accessibleId == region_id and node.getState().contains(pyatspi.STATE_SHOWING):
                        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                        if box.width > 0 and box.height > 0:
                            return (box.x, box.y, box.width, box.height)
                except Exception:
                    continue
            return None
        return harness.wait_for(find, seconds, f"the region {region_id!r} shown")

    def controls(self):
        """(role, name, node, box) of every control shown in the window:
        buttons, toggles, tabs and sliders."""
        return self.shown(CONTROL_ROLES, pages=False)

    def control(self, role, name, seconds=30):
        """The node of the shown control of that role and name."""
        def find():
            return next((node for name_, node, _ in self.showing(role, pages=False) if name_ == name), None)
        try:
            return harness.wait_for(find, seconds, f"the {role} {name!r}")
        except harness.Timeout as error:
            shown = [(role_, name_) for role_, name_, _, _ in self.controls()]
            raise harness.Timeout(f"{error}; controls shown: {shown}") from None

    def control_box(self, role, name, seconds=30):
        node = self.control(role, name, seconds)
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return (box.x, box.y, box.width, box.height)

    def click_control(self, role, name, button=1):
        """Clicks the middle of a control with the real pointer."""
        self.click_box(self.control_box(role, name), button)

    def focused(self):
        """(role, name) of the control the keyboard focus is on, or None."""
        for node in self.window_nodes():
            try:
                role = node.getRoleName()
                if role in CONTROL_ROLES and node.getState().contains(pyatspi.STATE_FOCUSED):
                    return (role, node.name)
            except Exception:
                continue
        return None

    def in_window(self, box):
        """A box on the screen in the window's own pixels."""
        left, top, _, _ = harness.window_geometry(self.window)
        x, y, width, height = box
        return (x - left, y - top, width, height)

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
    def click_box(box, button=1):
        x, y, width, height = box
        Screen.click_at(x + width // 2, y + height // 2, button)

    @staticmethod
    def click_at(x, y, button=1):
        """Clicks a point of the screen with the real pointer."""
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", str(button)], check=True)
