#!/usr/bin/env python3
"""The program as a person uses it, on a real X server with openbox, against a
picture server on loopback at the address compiled into this build.

Usage (under tests/x/with-xvfb.sh): test_end_to_end.py PATH-TO-PROGRAM PORT
"""
import io
import os
import sys
import unittest

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from picture_server import Answer, PictureServer  # noqa: E402
from window_driver import BESIDE_BOX, BOX_CENTRE, GENERATE, SAVE, Program, near, saved_pictures  # noqa: E402

PROGRAM = os.path.abspath(sys.argv.pop(1))
PORT = int(sys.argv.pop(1))
PROGRAM_DIRECTORY = os.path.dirname(PROGRAM)

USER_AGENT = 'User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)'


def jpeg(colour, size=(752, 288)):
    out = io.BytesIO()
    Image.new('RGB', size, colour).save(out, 'JPEG', quality=95)
    return out.getvalue()


RED, BLUE = jpeg((220, 20, 40)), jpeg((30, 60, 220))
HTML = b'<html><head><title>404</title></head><body>\xe6\x89\xbe\xe4\xb8\x8d\xe5\x88\xb0</body></html>'


class EndToEnd(unittest.TestCase):
    def setUp(self):
        self.server = PictureServer(PORT, default=Answer(RED))
        self.addCleanup(self.server.close)
        self.before = saved_pictures(PROGRAM_DIRECTORY)
        self.addCleanup(lambda: [os.remove(p) for p in saved_pictures(PROGRAM_DIRECTORY) - self.before])
        self.program = Program(PROGRAM)
        self.addCleanup(self.program.close)

    def new_pictures(self):
        return sorted(saved_pictures(PROGRAM_DIRECTORY) - self.before)

    def test_request_targets_for_typed_names_and_chosen_templates(self):
        rows = [  # template position, name typed, request target
            (None, '', '/zb/hf/toutu.php?id=1&name='),
            (2, '张三', '/zb/hf/toutu.php?id=3&name=%E5%BC%A0%E4%B8%89'),
            (1, '张三 a_b.c~', '/zb/hf/toutu.php?id=2&name=%E5%BC%A0%E4%B8%89%20a%5Fb.c%7E'),
            (3, 'a b&c=d', '/zb/hf/toutu.php?id=4&name=a%20b%26c%3Dd'),
            (3, 'A-1.5', '/zb/hf/toutu.php?id=4&name=A-1.5'),
        ]
        for count, (position, name, target) in enumerate(rows, start=1):
            with self.subTest(name=name):
                if position is not None:
                    self.program.choose_template(position)
                    self.program.type_name(name)
                self.program.click(GENERATE)
                request = self.server.wait_for_requests(count)[-1]
                self.assertEqual(request.request_line, f'GET {target} HTTP/1.0')
                self.assertEqual(sorted(request.headers),
                                 sorted([f'Host: 127.0.0.1:{PORT}', USER_AGENT, 'Accept: */*']))

    def test_answers_show_in_the_box_and_failures_empty_it(self):
        background = self.program.pixel(BESIDE_BOX)
        shows = lambda colour: lambda pixel: near(pixel, colour)  # noqa: E731
        self.assertTrue(near(self.program.pixel(BOX_CENTRE), background))
        self.program.click(GENERATE)
        self.assertTrue(self.program.wait_for_pixel(BOX_CENTRE, shows((220, 20, 40))))

        self.server.answer_next(Answer(drop=True))
        self.program.click(GENERATE)
        self.assertTrue(self.program.wait_for_pixel(BOX_CENTRE, shows(background)))

        self.server.answer_next(Answer(RED), Answer(HTML, status='404 Not Found', content_type='text/html'))
        self.program.click(GENERATE)
        self.assertTrue(self.program.wait_for_pixel(BOX_CENTRE, shows((220, 20, 40))))
        self.program.click(GENERATE)
        self.assertTrue(self.program.wait_for_pixel(BOX_CENTRE, shows(background)))
        self.server.wait_for_requests(4)
        self.program.click(SAVE)
        saved = self.new_pictures()
        self.assertEqual(len(saved), 1)
        with open(saved[0], 'rb') as f:
            self.assertEqual(f.read(), HTML)

    def test_saves_write_the_bytes_unchanged(self):
        self.program.click(SAVE)
        saved = self.new_pictures()
        self.assertEqual(len(saved), 1)
        self.assertRegex(os.path.basename(saved[0]), r'^[1-9][0-9]{4,6}\.jpg$')
        self.assertEqual(os.path.getsize(saved[0]), 0)
        os.remove(saved[0])

        self.program.click(GENERATE)
        self.server.wait_for_requests(1)
        self.program.click(SAVE)
        self.program.click(SAVE)
        saved = self.new_pictures()
        self.assertEqual(len(saved), 2)
        for path in saved:
            with open(path, 'rb') as f:
                self.assertEqual(f.read(), RED)

    def test_second_click_during_a_slow_answer_runs_afterwards(self):
        self.server.answer_next(Answer(RED, delay=1.5), Answer(BLUE))
        self.program.click(GENERATE, wait=0.2)
        self.program.click(GENERATE, wait=0.2)
        first, second = self.server.wait_for_requests(2)
        self.assertEqual(first.target, second.target)
        self.assertGreaterEqual(second.received, first.answered)
        self.assertTrue(self.program.wait_for_pixel(BOX_CENTRE, lambda pixel: near(pixel, (30, 60, 220))))

    def test_close_during_a_fetch_waits_for_the_answer(self):
        self.server.answer_next(Answer(BLUE, delay=1.5))
        self.program.click(GENERATE, wait=0.2)
        self.program.click(SAVE, wait=0.1)   # queued behind the fetch
        self.program.key('Escape')          # queued behind the save
        self.assertEqual(self.program.process.wait(timeout=20), 0)
        saved = self.new_pictures()
        self.assertEqual(len(saved), 1)
        with open(saved[0], 'rb') as f:
            self.assertEqual(f.read(), BLUE)


if __name__ == '__main__':
    unittest.main(verbosity=2)
