#include "loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxRequestHead = 64 * 1024;

// Reads up to the end of the request head ("\r\n\r\n"), for at most 5 seconds.
std::string ReadRequestHead(int socket)
{
    std::string head;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxRequestHead &&
           std::chrono::steady_clock::now() < deadline) {
        pollfd readable{socket, POLLIN, 0};
        if (poll(&readable, 1, 100) <= 0) continue;
        char buffer[4096];
        const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        head.append(buffer, static_cast<std::size_t>(got));
    }
    return head;
}

}  // namespace

std::string ServerConnection::Target() const
{
    const std::size_t start = request_.find(' ');
    if (start == std::string::npos) return {};
    const std::size_t end = request_.find(' ', start + 1);
    return request_.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

bool ServerConnection::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t sent = send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void ServerConnection::Pause(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    while (!stopping_ && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

LoopbackServer::LoopbackServer(Script script, std::uint16_t port) : script_(std::move(script))
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0) return;
    const int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(listener);
        return;
    }
    listener_ = listener;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer()
{
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) close(listener_);
}

std::string LoopbackServer::Url(std::string_view pathAndMore) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(pathAndMore);
}

std::vector<std::string> LoopbackServer::Requests() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void LoopbackServer::Serve()
{
    while (!stopping_) {
        pollfd incoming{listener_, POLLIN, 0};
        if (poll(&incoming, 1, 50) <= 0) continue;
        const int socket = accept(listener_, nullptr, nullptr);
        if (socket < 0) continue;
        ++connections_;
        std::string request = ReadRequestHead(socket);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(request);
        }
        ServerConnection connection(socket, std::move(request), stopping_);
        script_(connection);
        close(socket);
    }
}

std::string HttpResponse(std::string_view statusLine, std::vector<std::string> headers, std::string_view body)
{
    std::string response(statusLine);
    response += "\r\n";
    for (const std::string& header : headers) response += header + "\r\n";
    response += "\r\n";
    response += body;
    return response;
}
