"""Starts biaobai-service on a free loopback port and collects what it logs."""
import os
import re
import signal
import subprocess
import threading
import time


class RunningService:
    def __init__(self, binary, threads=2, port=0, extra_env=None):
        env = dict(os.environ)
        env.update(extra_env or {})
        self.process = subprocess.Popen(
            [binary, "--listen", f"127.0.0.1:{port}", "--threads", str(threads)],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env)
        self.lines = []
        self._lock = threading.Lock()
        self._listening = threading.Event()
        self.port = None
        self._reader = threading.Thread(target=self._read_log, daemon=True)
        self._reader.start()
        if not self._listening.wait(60):
            self.stop()
            raise RuntimeError("the service did not start: " + "".join(self.lines))

    def _read_log(self):
        for raw in self.process.stderr:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            with self._lock:
                self.lines.append(line)
            match = re.search(r"listening on 127\.0\.0\.1:(\d+)", line)
            if match:
                self.port = int(match.group(1))
                self._listening.set()

    def log(self):
        with self._lock:
            return list(self.lines)

    def wait_for_log(self, pattern, timeout=10):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if any(re.search(pattern, line) for line in self.log()):
                return True
            time.sleep(0.02)
        return False

    def stop(self, sig=signal.SIGTERM):
        if self.process.poll() is None:
            self.process.send_signal(sig)
        try:
            code = self.process.wait(20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            code = self.process.wait()
        self._reader.join(5)
        self.process.stderr.close()
        return code
