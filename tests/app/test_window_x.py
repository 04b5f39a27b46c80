#!/usr/bin/env python3
"""The main window on a real X server with openbox, driven by xdotool as a person
would: placement, title, closing in every way, typing Chinese, focus.

Usage (under tests/x/with-xvfb.sh): test_window_x.py PATH-TO-biaobai-probe
"""
import os
import queue
import re
import subprocess
import sys
import tempfile
import threading
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'x'))
from x_keyboard import type_text  # noqa: E402

PROBE = os.path.abspath(sys.argv.pop(1))
OUTER = (567, 189)


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True, timeout=20).stdout


def xdotool(*args):
    return run('xdotool', *args)


class Program:
    """One run of the probe program and its window."""

    def __init__(self, cwd=None):
        self.process = subprocess.Popen([PROBE], cwd=cwd, stdout=subprocess.PIPE, text=True)
        self.lines = queue.Queue()
        threading.Thread(target=lambda: [self.lines.put(l.strip()) for l in self.process.stdout],
                         daemon=True).start()
        self.window = xdotool('search', '--sync', '--onlyvisible', '--pid', str(self.process.pid)).split()[0]
        # Activation gives the focus to the name box; wait until the window has it.
        xdotool('windowactivate', '--sync', self.window)
        time.sleep(0.3)

    def key(self, *keys):
        xdotool('key', '--delay', '60', *keys)
        time.sleep(0.2)

    def click(self, x, y):
        """Clicks at a point of the client area."""
        xdotool('mousemove', '--window', self.window, str(x), str(y), 'click', '1')
        time.sleep(0.3)

    def line(self, timeout=20):
        """The next line the probe printed: what a command read from the window."""
        return self.lines.get(timeout=timeout)

    def exit_status(self, timeout=10):
        return self.process.wait(timeout=timeout)

    def running_after(self, seconds):
        try:
            self.process.wait(timeout=seconds)
            return False
        except subprocess.TimeoutExpired:
            return True

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class WindowUnderX(unittest.TestCase):
    def start(self, cwd=None):
        program = Program(cwd)
        self.addCleanup(program.close)
        return program

    def test_window_is_centred_with_its_outer_size_and_no_title(self):
        program = self.start()
        extents = run('xprop', '-id', program.window, '_NET_FRAME_EXTENTS')
        left, right, top, bottom = map(int, re.findall(r'\d+', extents.split('=')[1]))
        info = run('xwininfo', '-id', program.window)
        x, y, width, height = (int(re.search(pattern + r':\s+(-?\d+)', info).group(1))
                               for pattern in ('Absolute upper-left X', 'Absolute upper-left Y', 'Width', 'Height'))
        self.assertEqual((width + left + right, height + top + bottom), OUTER)
        screen = tuple(map(int, re.search(r'dimensions:\s+(\d+)x(\d+)', run('xdpyinfo')).groups()))
        self.assertEqual((x - left, y - top), ((screen[0] - OUTER[0]) // 2, (screen[1] - OUTER[1]) // 2))
        # The title is empty; the window manager's name property holds a blank so
        # that openbox draws no "Unnamed Window" either.
        self.assertEqual(run('xprop', '-id', program.window, 'WM_NAME').split('=')[1].strip(), '')
        self.assertEqual(run('xprop', '-id', program.window, '_NET_WM_NAME').split('=')[1].strip(), '" "')
        actions = run('xprop', '-id', program.window, '_NET_WM_ALLOWED_ACTIONS')
        self.assertIn('_NET_WM_ACTION_MINIMIZE', actions)
        self.assertIn('_NET_WM_ACTION_CLOSE', actions)
        self.assertNotIn('_NET_WM_ACTION_MAXIMIZE', actions)
        self.assertNotIn('_NET_WM_ACTION_RESIZE', actions)
        # Double-clicking the title bar maximises other windows, not this one.
        xdotool('mousemove', str(x + 100), str(y - top // 2), 'click', '--repeat', '2', '1')
        time.sleep(0.5)
        self.assertIn(f'Width: {width}', run('xwininfo', '-id', program.window))

    def test_escape_closes_from_every_control(self):
        for tabs in range(4):  # 名字, 离婚, 按钮1, 按钮2
            with self.subTest(tabs=tabs):
                program = self.start()
                for _ in range(tabs):
                    program.key('Tab')
                program.key('Escape')
                self.assertEqual(program.exit_status(), 0)

    def test_escape_closes_while_the_list_is_open(self):
        program = self.start()
        program.key('Tab', 'alt+Down')
        self.assertTrue(program.running_after(0.3))
        program.key('Escape')
        self.assertEqual(program.exit_status(), 0)

    def test_escape_with_a_modifier_does_not_close(self):
        program = self.start()
        program.key('ctrl+Escape', 'shift+Escape')
        self.assertTrue(program.running_after(0.5))
        xdotool('windowactivate', '--sync', program.window)
        program.key('Escape')
        self.assertEqual(program.exit_status(), 0)

    def test_window_manager_closes(self):
        program = self.start()
        program.key('alt+F4')
        self.assertEqual(program.exit_status(), 0)
        program = self.start()
        run('wmctrl', '-i', '-c', program.window)
        self.assertEqual(program.exit_status(), 0)

    def test_typed_chinese_name_and_chosen_template_reach_the_command(self):
        program = self.start()
        type_text('张三 a_b.c~')
        program.key('Tab', 'Down', 'Down', 'Down')  # 离婚: 我喜欢你
        program.click(392 + 36, 112 + 16)  # 生成
        self.assertRegex(program.line(), r'^generate name=D5C5C8FD20615F622E637E selection=3 ')
        program.key('Tab', 'space')  # focus was on 生成 after the click; Tab reaches 保存
        self.assertEqual(program.line(), 'save')

    def test_focus_returns_to_its_control_after_reactivation(self):
        program = self.start()
        program.key('Tab', 'Tab')  # 按钮1
        other = self.start()  # another program takes the focus for a while
        xdotool('windowactivate', '--sync', other.window)
        xdotool('windowactivate', '--sync', program.window)
        time.sleep(0.3)
        program.key('space')
        self.assertTrue(program.line().startswith('generate '))

    def test_no_display_is_a_fatal_error(self):
        environment = {k: v for k, v in os.environ.items()
                       if k not in ('DISPLAY', 'WAYLAND_DISPLAY', 'QT_QPA_PLATFORM')}
        result = subprocess.run([PROBE], env=environment, capture_output=True, text=True, timeout=20)
        self.assertEqual(result.returncode, 255)
        self.assertIn('no graphical display', result.stderr)
        # A display that cannot be opened ends the same way, not in an abort.
        result = subprocess.run([PROBE], env={**environment, 'DISPLAY': ':4321'},
                                capture_output=True, text=True, timeout=20)
        self.assertEqual(result.returncode, 255)
        self.assertIn('biaobai: fatal error', result.stderr)

    def test_working_directory_is_the_programs_own(self):
        with tempfile.TemporaryDirectory() as elsewhere:
            program = self.start(cwd=elsewhere)
            program.key('Tab', 'Tab', 'space')
            fields = dict(f.split('=', 1) for f in program.line().split()[1:])
            self.assertEqual(fields['cwd'], os.path.dirname(PROBE))
            self.assertEqual(fields['dir'], os.path.dirname(PROBE))


if __name__ == '__main__':
    unittest.main(verbosity=2)
