"""A picture service stand-in on loopback for end-to-end tests: records every
request exactly as it arrived and answers from a queue of scripted answers."""
import socket
import threading
import time
from dataclasses import dataclass


@dataclass
class Answer:
    body: bytes = b''
    status: str = '200 OK'
    content_type: str = 'image/jpeg'
    delay: float = 0.0          # seconds before answering
    drop: bool = False          # close the connection without any answer


@dataclass
class Request:
    raw: bytes
    received: float
    answered: float = 0.0

    @property
    def request_line(self):
        return self.raw.split(b'\r\n', 1)[0].decode('latin-1')

    @property
    def target(self):
        return self.request_line.split(' ')[1]

    @property
    def headers(self):
        lines = self.raw.decode('latin-1').split('\r\n')[1:]
        return [line for line in lines if line]


class PictureServer:
    def __init__(self, port, default=Answer()):
        self.default = default
        self.answers = []
        self.requests = []
        self.arrived = threading.Condition()
        self.listener = socket.create_server(('127.0.0.1', port), reuse_port=False)
        self.listener.settimeout(0.2)
        self.running = True
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def close(self):
        self.running = False
        self.thread.join()
        self.listener.close()

    def answer_next(self, *answers):
        self.answers.extend(answers)

    def wait_for_requests(self, count, timeout=20):
        with self.arrived:
            if not self.arrived.wait_for(lambda: len(self.requests) >= count and
                                         all(r.answered for r in self.requests[:count]), timeout):
                raise AssertionError(f'expected {count} requests, got {len(self.requests)}')
        return self.requests[:count]

    def _serve(self):
        # One connection at a time, as the client sends one request at a time.
        while self.running:
            try:
                connection, _ = self.listener.accept()
            except socket.timeout:
                continue
            with connection:
                self._handle(connection)

    def _handle(self, connection):
        connection.settimeout(10)
        raw = b''
        while b'\r\n\r\n' not in raw:
            chunk = connection.recv(65536)
            if not chunk:
                return
            raw += chunk
        request = Request(raw, time.monotonic())
        with self.arrived:
            self.requests.append(request)
        answer = self.answers.pop(0) if self.answers else self.default
        time.sleep(answer.delay)
        if not answer.drop:
            head = (f'HTTP/1.0 {answer.status}\r\nContent-Type: {answer.content_type}\r\n'
                    f'Content-Length: {len(answer.body)}\r\nConnection: close\r\n\r\n')
            try:
                connection.sendall(head.encode() + answer.body)
            except OSError:
                pass
        with self.arrived:
            request.answered = time.monotonic()
            self.arrived.notify_all()
