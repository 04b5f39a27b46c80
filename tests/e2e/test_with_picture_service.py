#!/usr/bin/env python3
"""The program as built for users, against the bundled picture service at the
address compiled into it: type a Chinese name, choose a template, see the
picture, save it.

Usage (under tests/x/with-xvfb.sh):
  test_with_picture_service.py PATH-TO-biaobai PATH-TO-biaobai-service HOST:PORT
"""
import os
import socket
import subprocess
import sys
import time
import unittest
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_driver import BESIDE_BOX, BOX_CENTRE, GENERATE, SAVE, Program, near, saved_pictures  # noqa: E402

PROGRAM, SERVICE, ADDRESS = sys.argv[1:4]
del sys.argv[1:4]
HOST, PORT = ADDRESS.rsplit(':', 1)


def port_is_free():
    with socket.socket() as probe:
        return probe.connect_ex((HOST, int(PORT))) != 0


def service_is_healthy():
    try:
        with urllib.request.urlopen(f'http://{ADDRESS}/healthz', timeout=2) as answer:
            return answer.status == 200
    except OSError:
        return False


class WithPictureService(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if HOST not in ('127.0.0.1', 'localhost') or not port_is_free():
            raise unittest.SkipTest(f'{ADDRESS} is not a free loopback address here')
        cls.service = subprocess.Popen([SERVICE, '--listen', ADDRESS], stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 60
        while not service_is_healthy():
            if time.monotonic() > deadline or cls.service.poll() is not None:
                cls.service.kill()
                raise AssertionError(f'{SERVICE} did not come up on {ADDRESS}')
            time.sleep(0.1)

    @classmethod
    def tearDownClass(cls):
        cls.service.terminate()
        cls.service.wait(timeout=10)

    def test_a_person_makes_and_saves_a_picture(self):
        directory = os.path.dirname(os.path.abspath(PROGRAM))
        before = saved_pictures(directory)
        self.addCleanup(lambda: [os.remove(p) for p in saved_pictures(directory) - before])
        program = Program(PROGRAM)
        self.addCleanup(program.close)

        program.type_name('张三')
        program.choose_template(2)  # 我爱你
        background = program.pixel(BESIDE_BOX)
        program.click(GENERATE)
        self.assertTrue(program.wait_for_pixel(BOX_CENTRE, lambda pixel: not near(pixel, background, tolerance=8)))

        program.click(SAVE)
        saved = sorted(saved_pictures(directory) - before)
        self.assertEqual(len(saved), 1)
        url = f'http://{ADDRESS}/zb/hf/toutu.php?id=3&name=%E5%BC%A0%E4%B8%89'
        with urllib.request.urlopen(url, timeout=10) as answer, open(saved[0], 'rb') as f:
            self.assertEqual(f.read(), answer.read())
        program.key('Escape')
        self.assertEqual(program.process.wait(timeout=10), 0)


if __name__ == '__main__':
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(77 if result.wasSuccessful() and result.skipped else (0 if result.wasSuccessful() else 1))
