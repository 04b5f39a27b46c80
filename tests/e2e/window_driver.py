"""Drives the program's window on an X server as a person would: xdotool for the
mouse and keyboard, screenshots for what the picture box shows."""
import glob
import io
import os
import subprocess
import sys
import time

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'x'))
from x_keyboard import type_text  # noqa: E402

# Client-area points of the controls, as a person aims at them.
NAME_BOX = (492, 32)
GENERATE = (428, 128)
SAVE = (516, 128)
BOX_CENTRE = (196, 80)
BESIDE_BOX = (388, 4)   # window background, between the box and the labels


def xdotool(*args):
    return subprocess.run(['xdotool', *args], check=True, capture_output=True, text=True, timeout=30).stdout


def saved_pictures(directory):
    return set(glob.glob(os.path.join(directory, '*.jpg')))


def near(a, b, tolerance=24):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


class Program:
    def __init__(self, path):
        self.process = subprocess.Popen([path])
        self.window = xdotool('search', '--sync', '--onlyvisible', '--pid', str(self.process.pid)).split()[0]
        xdotool('windowactivate', '--sync', self.window)
        time.sleep(0.3)

    def click(self, point, wait=0.3):
        xdotool('mousemove', '--window', self.window, str(point[0]), str(point[1]), 'click', '1')
        time.sleep(wait)

    def key(self, *keys):
        xdotool('key', '--delay', '60', *keys)
        time.sleep(0.2)

    def type_name(self, name):
        self.click(NAME_BOX)
        self.key('ctrl+a', 'BackSpace')
        if name:
            type_text(name)

    def choose_template(self, position):
        self.click(NAME_BOX)
        self.key('Tab', 'Home', *['Down'] * position)

    def pixel(self, point):
        shot = subprocess.run(['import-im6.q16', '-window', self.window, 'png:-'],
                              check=True, capture_output=True, timeout=30).stdout
        return Image.open(io.BytesIO(shot)).convert('RGB').getpixel(point)

    def wait_for_pixel(self, point, wanted, timeout=15):
        """Polls until the pixel at `point` satisfies `wanted`; returns whether it did.
        The window repaints only once the command that changed it has returned."""
        deadline = time.monotonic() + timeout
        while True:
            if wanted(self.pixel(point)):
                return True
            if time.monotonic() > deadline:
                return False
            time.sleep(0.2)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
