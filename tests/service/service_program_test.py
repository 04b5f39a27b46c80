"""biaobai-service as a program, over loopback, with real clients: Python's
http.client (HTTP/1.1, keep-alive), raw sockets (HTTP/1.0 as the window sends
it) and curl. Pictures are decoded with Pillow, which uses libjpeg."""
import http.client
import io
import os
import re
import signal
import socket
import subprocess
import sys
import threading
import unittest
import urllib.parse

from PIL import Image

sys.path.insert(0, os.path.dirname(__file__))
from service_runner import RunningService  # noqa: E402

BINARY = None
PATH = "/zb/hf/toutu.php"


def picture_target(template, name):
    return f"{PATH}?id={template}&name=" + urllib.parse.quote(name, safe="-.")


def raw_exchange(port, request_bytes):
    """Sends the bytes and reads until the server closes the connection."""
    with socket.create_connection(("127.0.0.1", port), timeout=20) as sock:
        sock.sendall(request_bytes)
        received = b""
        while True:
            try:
                chunk = sock.recv(65536)
            except ConnectionResetError:
                break
            if not chunk:
                break
            received += chunk
    return received


def split_answer(received):
    head, _, body = received.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    headers = {}
    for line in lines[1:]:
        key, _, value = line.partition(":")
        headers[key.strip().lower()] = value.strip()
    return lines[0], headers, body


def decode_jpeg(body):
    image = Image.open(io.BytesIO(body))
    image.load()
    return image


class ServiceProgramTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.service = RunningService(BINARY)
        cls.port = cls.service.port

    @classmethod
    def tearDownClass(cls):
        cls.service.stop()

    def get(self, target, method="GET", headers=None):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=20)
        connection.request(method, target, headers=headers or {})
        response = connection.getresponse()
        body = response.read()
        connection.close()
        return response, body

    def test_pictures_decode_at_752_by_288_and_differ_by_template_and_name(self):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=20)
        bodies = {}
        first_socket = None
        for template in range(1, 5):
            for name in ["", "张三", "Tom Li", "欧阳娜娜 😀"]:
                connection.request("GET", picture_target(template, name))
                response = connection.getresponse()
                body = response.read()
                with self.subTest(template=template, name=name):
                    self.assertEqual(response.status, 200)
                    self.assertEqual(response.getheader("Content-Type"), "image/jpeg")
                    self.assertEqual(int(response.getheader("Content-Length")), len(body))
                    image = decode_jpeg(body)
                    self.assertEqual(image.format, "JPEG")
                    self.assertEqual(image.size, (752, 288))
                    self.assertEqual(image.mode, "RGB")
                    self.assertNotIn("progressive", image.info)
                bodies[(template, name)] = body
                # HTTP/1.1 keeps the one connection for every request.
                first_socket = first_socket or connection.sock
                self.assertIs(connection.sock, first_socket)
        connection.close()
        self.assertEqual(len(set(bodies.values())), len(bodies))

    def test_the_same_request_gives_the_same_bytes_and_entity_tag(self):
        target = picture_target(2, "李雷")
        first, first_body = self.get(target)
        second, second_body = self.get(target)
        self.assertEqual(first_body, second_body)
        self.assertEqual(first.getheader("ETag"), second.getheader("ETag"))
        self.assertIn("max-age=", first.getheader("Cache-Control"))
        revalidated, body = self.get(target, headers={"If-None-Match": first.getheader("ETag")})
        self.assertEqual(revalidated.status, 304)
        self.assertEqual(body, b"")

    def test_answers_the_window_request_over_http_10_and_closes(self):
        target = "/zb/hf/toutu.php?id=3&name=%E5%BC%A0%E4%B8%89"
        request = (f"GET {target} HTTP/1.0\r\n"
                   "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
                   f"Host: 127.0.0.1:{self.port}\r\nAccept: */*\r\n\r\n").encode()
        status, headers, body = split_answer(raw_exchange(self.port, request))
        self.assertEqual(status, "HTTP/1.0 200 OK")
        self.assertEqual(int(headers["content-length"]), len(body))
        self.assertNotEqual(headers.get("connection", "").lower(), "keep-alive")
        self.assertEqual(decode_jpeg(body).size, (752, 288))
        _, http11_body = self.get(target)
        self.assertEqual(body, http11_body)

    def test_head_gives_the_head_of_get_without_a_body(self):
        target = picture_target(4, "韩梅梅")
        result = subprocess.run(["curl", "-sS", "-I", f"http://127.0.0.1:{self.port}{target}"],
                                capture_output=True, timeout=30, check=True)
        status, headers, body = split_answer(result.stdout)
        self.assertEqual(status, "HTTP/1.1 200 OK")
        self.assertEqual(body, b"")
        get, get_body = self.get(target)
        self.assertEqual(int(headers["content-length"]), len(get_body))
        self.assertEqual(headers["etag"], get.getheader("ETag"))

    def test_bad_requests_get_their_status_and_a_small_page(self):
        cases = [
            ("unknown template", f"{PATH}?id=5&name=a", 400),
            ("template 0", f"{PATH}?id=0&name=", 400),
            ("missing id", f"{PATH}?name=a", 400),
            ("missing name", f"{PATH}?id=1", 400),
            ("malformed escape", f"{PATH}?id=1&name=%E5%BC%A", 400),
            ("not UTF-8", f"{PATH}?id=1&name=%D5%C5%C8%FD", 400),
            ("unknown path", "/zb/hf/other.php?id=1&name=a", 404),
        ]
        for label, target, status in cases:
            with self.subTest(label):
                response, body = self.get(target)
                self.assertEqual(response.status, status)
                self.assertIn("text/html", response.getheader("Content-Type"))
                self.assertLess(len(body), 512)
                self.assertIn(str(status).encode(), body)
        for method in ["POST", "PUT", "DELETE", "OPTIONS", "PATCH"]:
            with self.subTest(method):
                response, _ = self.get(picture_target(1, "a"), method=method)
                self.assertEqual(response.status, 405)
                self.assertEqual(response.getheader("Allow"), "GET, HEAD")
        health, body = self.get("/healthz")
        self.assertEqual((health.status, body), (200, b"ok\n"))

    def test_oversized_requests_get_414_or_431(self):
        long_target = picture_target(1, "长" * 2000)
        too_many_fields = "".join(f"X-Filler-{i}: {'v' * 100}\r\n" for i in range(100))
        cases = [
            ("long target", f"GET {long_target} HTTP/1.1\r\nHost: x\r\n\r\n", "414"),
            ("huge request line", f"GET /{'a' * 20000} HTTP/1.1\r\nHost: x\r\n\r\n", "414"),
            ("large head", f"GET /healthz HTTP/1.1\r\nHost: x\r\n{too_many_fields}\r\n", "431"),
            ("garbage", "\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\r\n\r\n", "400"),
        ]
        for label, request, status in cases:
            with self.subTest(label):
                line, _, _ = split_answer(raw_exchange(self.port, request.encode("utf-8", "surrogateescape")))
                self.assertEqual(line.split(" ")[1], status)

    def test_many_clients_at_once_all_get_their_pictures(self):
        failures = []

        def client(worker):
            try:
                connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=30)
                for i in range(12):
                    connection.request("GET", picture_target(1 + (i + worker) % 4, f"客人{worker}-{i % 3}"))
                    response = connection.getresponse()
                    body = response.read()
                    if response.status != 200 or decode_jpeg(body).size != (752, 288):
                        failures.append((worker, i, response.status))
                connection.close()
            except Exception as error:  # reported below
                failures.append((worker, repr(error)))

        threads = [threading.Thread(target=client, args=(w,)) for w in range(8)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join(120)
        self.assertEqual(failures, [])

    def test_logs_one_line_per_request(self):
        self.get("/healthz?log-check")
        self.get(f"{PATH}?id=9&name=log-check")
        self.assertTrue(self.service.wait_for_log(r"^GET /healthz\?log-check 200 3 bytes \d+\.\d+ ms$"),
                        self.service.log()[-5:])
        self.assertTrue(self.service.wait_for_log(
            r"^GET /zb/hf/toutu\.php\?id=9&name=log-check 400 \d+ bytes \d+\.\d+ ms$"))


class ServiceCommandLineTest(unittest.TestCase):
    def run_service(self, *arguments):
        return subprocess.run([BINARY, *arguments], capture_output=True, timeout=60, text=True)

    def test_version_and_help(self):
        version = self.run_service("--version")
        self.assertEqual((version.returncode, version.stdout), (0, "biaobai-service 1.0.0.0\n"))
        usage = self.run_service("--help")
        self.assertEqual(usage.returncode, 0)
        for option in ["--listen", "--threads", "--help", "--version", "127.0.0.1:8936"]:
            self.assertIn(option, usage.stdout)

    def test_bad_options_exit_with_2(self):
        for arguments in [["--listen", "nowhere"], ["--threads", "0"], ["--frobnicate"]]:
            with self.subTest(arguments=arguments):
                result = self.run_service(*arguments)
                self.assertEqual(result.returncode, 2)
                self.assertIn("biaobai-service:", result.stderr)

    def test_a_taken_port_exits_with_1(self):
        with socket.socket() as taken:
            taken.bind(("127.0.0.1", 0))
            taken.listen()
            port = taken.getsockname()[1]
            result = self.run_service("--listen", f"127.0.0.1:{port}")
        self.assertEqual(result.returncode, 1)
        self.assertIn("cannot listen", result.stderr)

    def test_sigint_and_sigterm_stop_it_gracefully(self):
        for sig in [signal.SIGINT, signal.SIGTERM]:
            with self.subTest(signal=sig.name):
                service = RunningService(BINARY, threads=1)
                # A keep-alive connection that has had its answer: surely accepted, now idle.
                idle = http.client.HTTPConnection("127.0.0.1", service.port, timeout=20)
                idle.request("GET", "/healthz")
                self.assertEqual(idle.getresponse().read(), b"ok\n")
                code = service.stop(sig)
                self.assertEqual(code, 0)
                self.assertTrue(any(line.endswith("stopped") for line in service.log()))
                self.assertEqual(idle.sock.recv(100), b"")  # the idle connection was closed
                idle.close()


if __name__ == "__main__":
    BINARY = sys.argv.pop(1)
    unittest.main(verbosity=2)
