"""deploy/nginx/biaobai-service.conf on loopback: nginx in front of two service
instances spreads the requests, answers repeated ones from its cache and passes
over an instance that is gone."""
import http.client
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse

sys.path.insert(0, os.path.dirname(__file__))
from service_runner import RunningService  # noqa: E402

BINARY = None
DEPLOY = None
NGINX = shutil.which("nginx") or "/usr/sbin/nginx"


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def replace_once(text, pattern, replacement):
    changed, count = re.subn(pattern, replacement, text)
    if count == 0:
        raise AssertionError(f"the deploy configuration no longer has {pattern!r}")
    return changed


class NginxCacheTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.services = [RunningService(BINARY, threads=1), RunningService(BINARY, threads=1)]
        cls.directory = tempfile.mkdtemp(prefix="biaobai-nginx-")
        os.chmod(cls.directory, 0o755)
        cls.nginx = None
        for _ in range(3):  # another program may take the free port first
            cls.port = free_port()
            cls.write_configuration()
            cls.nginx = subprocess.Popen(
                [NGINX, "-p", cls.directory, "-c", os.path.join(cls.directory, "nginx.conf"),
                 "-e", os.path.join(cls.directory, "error.log")],
                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if cls.wait_for_nginx():
                return
            cls.stop_nginx()
        cls.tearDownClass()
        raise RuntimeError("nginx did not start: " + open(os.path.join(cls.directory, "error.log")).read())

    @classmethod
    def write_configuration(cls):
        with open(os.path.join(DEPLOY, "nginx", "biaobai-service.conf"), encoding="utf-8") as source:
            site = source.read()
        site = replace_once(site, r"listen 80;", f"listen 127.0.0.1:{cls.port};")
        site = replace_once(site, r"server 127\.0\.0\.1:8936 ", f"server 127.0.0.1:{cls.services[0].port} ")
        site = replace_once(site, r"server 127\.0\.0\.1:8937 ", f"server 127.0.0.1:{cls.services[1].port} ")
        site = replace_once(site, r"/var/cache/nginx/biaobai", os.path.join(cls.directory, "cache"))
        with open(os.path.join(cls.directory, "biaobai-service.conf"), "w", encoding="utf-8") as target:
            target.write(site)
        d = cls.directory
        user = "user root;\n" if os.geteuid() == 0 else ""
        with open(os.path.join(d, "nginx.conf"), "w", encoding="utf-8") as main:
            main.write(f"""{user}daemon off;
worker_processes 1;
pid {d}/nginx.pid;
error_log {d}/error.log;
events {{ worker_connections 256; }}
http {{
    access_log {d}/access.log;
    client_body_temp_path {d}/client_body;
    proxy_temp_path {d}/proxy;
    fastcgi_temp_path {d}/fastcgi;
    uwsgi_temp_path {d}/uwsgi;
    scgi_temp_path {d}/scgi;
    include {d}/biaobai-service.conf;
}}
""")

    @classmethod
    def wait_for_nginx(cls):
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if cls.nginx.poll() is not None:
                return False
            connection = http.client.HTTPConnection("127.0.0.1", cls.port, timeout=5)
            try:
                connection.request("GET", "/healthz")
                if connection.getresponse().status == 200:
                    return True
            except OSError:
                time.sleep(0.1)
            finally:
                connection.close()
        return False

    @classmethod
    def stop_nginx(cls):
        if cls.nginx and cls.nginx.poll() is None:
            cls.nginx.terminate()
            try:
                cls.nginx.wait(15)
            except subprocess.TimeoutExpired:
                cls.nginx.kill()
                cls.nginx.wait()

    @classmethod
    def tearDownClass(cls):
        cls.stop_nginx()
        for service in cls.services:
            service.stop()
        shutil.rmtree(cls.directory, ignore_errors=True)

    def get(self, target, port=None, headers=None):
        connection = http.client.HTTPConnection("127.0.0.1", port or self.port, timeout=20)
        connection.request("GET", target, headers=headers or {})
        response = connection.getresponse()
        body = response.read()
        connection.close()
        return response, body

    def upstream_hits(self, target):
        """How often the instances were asked for the target, from their logs."""
        line = re.compile("^GET " + re.escape(target) + " ")
        time.sleep(0.2)  # the log line follows the answer
        return sum(1 for service in self.services for entry in service.log() if line.match(entry))

    @staticmethod
    def picture(template, name):
        return f"/zb/hf/toutu.php?id={template}&name=" + urllib.parse.quote(name, safe="-.")

    def test_repeated_requests_come_from_the_cache(self):
        target = self.picture(1, "缓存测试")
        first, first_body = self.get(target)
        self.assertEqual(first.status, 200)
        self.assertEqual(first.getheader("X-Cache-Status"), "MISS")
        second, second_body = self.get(target)
        self.assertEqual(second.getheader("X-Cache-Status"), "HIT")
        self.assertEqual(second_body, first_body)
        self.assertEqual(second.getheader("ETag"), first.getheader("ETag"))
        self.assertEqual(self.upstream_hits(target), 1)
        _, direct = self.get(target, port=self.services[0].port)
        self.assertEqual(direct, first_body)

    def test_the_window_http_10_request_gets_the_cached_picture(self):
        target = self.picture(3, "张三")
        _, body = self.get(target)
        request = (f"GET {target} HTTP/1.0\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
                   f"Host: 127.0.0.1:{self.port}\r\nAccept: */*\r\n\r\n").encode()
        with socket.create_connection(("127.0.0.1", self.port), timeout=20) as sock:
            sock.sendall(request)
            received = b""
            while chunk := sock.recv(65536):
                received += chunk
        head, _, answer_body = received.partition(b"\r\n\r\n")
        self.assertTrue(head.startswith(b"HTTP/1.1 200"), head)
        self.assertIn(b"X-Cache-Status: HIT", head)
        self.assertEqual(answer_body, body)
        self.assertEqual(self.upstream_hits(target), 1)

    def test_errors_are_not_cached(self):
        target = "/zb/hf/toutu.php?id=9&name=uncached"
        for _ in range(2):
            response, _ = self.get(target)
            self.assertEqual(response.status, 400)
            self.assertNotEqual(response.getheader("X-Cache-Status"), "HIT")
        self.assertEqual(self.upstream_hits(target), 2)

    def test_requests_are_spread_and_survive_a_stopped_instance(self):
        names = [f"分担{i}" for i in range(6)]
        for name in names:
            self.assertEqual(self.get(self.picture(2, name))[0].status, 200)
        for service in self.services:
            self.assertTrue(any("name=%E5%88%86%E6%8B%85" in line for line in service.log()))

        stopped = self.services[1]
        stopped.stop()
        try:
            for name in [f"余下{i}" for i in range(4)]:
                response, body = self.get(self.picture(4, name))
                self.assertEqual(response.status, 200)
                self.assertGreater(len(body), 1000)
        finally:
            # Back on its port for the other tests; nginx takes it up again.
            self.services[1] = RunningService(BINARY, threads=1, port=stopped.port)


if __name__ == "__main__":
    BINARY = sys.argv.pop(1)
    DEPLOY = sys.argv.pop(1)
    if not os.path.exists(NGINX):
        print("nginx is not installed; skipping")
        sys.exit(77)
    unittest.main(verbosity=2)
