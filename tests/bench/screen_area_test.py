"""bench/screen_area.py finds the picture and the video area the player
comparison measures at, on synthetic screenshots."""
import pathlib
import subprocess
import sys
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "bench" / "screen_area.py"
BLACK, GREY, RED = (0, 0, 0), (60, 60, 60), (230, 20, 10)


def screen(width, height, rects):
    """A PPM of a black screen with (colour, x, y, w, h) rectangles painted in order."""
    pixels = bytearray(bytes(BLACK) * width * height)
    for colour, x0, y0, w, h in rects:
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                pixels[(y * width + x) * 3:(y * width + x) * 3 + 3] = bytes(colour)
    return b"P6\n# test\n%d %d\n255\n" % (width, height) + bytes(pixels)


def find(ppm, *window):
    done = subprocess.run([sys.executable, str(SCRIPT), *map(str, window)], input=ppm,
                          capture_output=True, check=True)
    return done.stdout.decode().split()


class ScreenAreaTest(unittest.TestCase):
    def test_letterboxed_picture_in_a_window_on_a_black_screen(self):
        ppm = screen(200, 150, [
            (GREY, 10, 10, 120, 100),   # the player's window
            (BLACK, 20, 20, 64, 50),    # its video area
            (RED, 20, 27, 64, 36),      # the 16:9 picture, bars above and below
            (RED, 100, 15, 3, 3),       # a red icon of the player's own
        ])
        self.assertEqual(find(ppm, 10, 10, 120, 100),
                         ["picture", "64", "36", "20", "27", "area", "64", "50", "20", "20"])

    def test_area_stops_at_the_window_when_the_screen_around_is_black(self):
        ppm = screen(200, 150, [(RED, 30, 40, 48, 27)])  # a borderless window, all picture
        self.assertEqual(find(ppm, 30, 40, 48, 27),
                         ["picture", "48", "27", "30", "40", "area", "48", "27", "30", "40"])

    def test_no_red_prints_nothing(self):
        self.assertEqual(find(screen(40, 30, [(GREY, 5, 5, 20, 10)])), [])


if __name__ == "__main__":
    unittest.main()
