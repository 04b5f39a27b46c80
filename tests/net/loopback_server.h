// A scriptable HTTP server on 127.0.0.1 for tests: it records the exact bytes of
// every request head and answers each connection with a script that can send
// anything, pause, or stop in the middle.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class ServerConnection {
public:
    ServerConnection(int socket, std::string request, const std::atomic<bool>& stopping)
        : socket_(socket), request_(std::move(request)), stopping_(stopping)
    {
    }
    const std::string& Request() const { return request_; }
    // The request target of the request line ("GET <target> HTTP/1.0").
    std::string Target() const;
    // Sends all of `bytes`; false when the peer has gone.
    bool Send(std::string_view bytes);
    // Waits, but returns early when the server stops.
    void Pause(std::chrono::milliseconds duration);

private:
    int socket_;
    std::string request_;
    const std::atomic<bool>& stopping_;
};

class LoopbackServer {
public:
    using Script = std::function<void(ServerConnection&)>;

    // Listens on 127.0.0.1:`port` (0: any free port). Started() tells whether it
    // could bind. Connections are served one after another; the server closes
    // each when its script returns.
    explicit LoopbackServer(Script script, std::uint16_t port = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool Started() const { return listener_ >= 0; }
    std::uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by `pathAndMore`.
    std::string Url(std::string_view pathAndMore) const;

    // Request heads received so far, in order; connections accepted so far.
    std::vector<std::string> Requests() const;
    int Connections() const { return connections_; }

private:
    void Serve();

    Script script_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A whole response: status line, the given header lines, an empty line, body.
std::string HttpResponse(std::string_view statusLine, std::vector<std::string> headers, std::string_view body);
