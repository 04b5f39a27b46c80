// The HTTP/1.0 and HTTP/1.1 server: a listening socket, a pool of threads running
// Asio, and one session per connection, up to a bound.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>

#include "service/core/reply.h"
#include "service/core/request_log.h"
#include "service/core/server_options.h"

class HttpSession;
struct SessionContext;

class HttpServer {
public:
    using Handler = std::function<Reply(const RequestHead&)>;
    using Logger = std::function<void(const RequestRecord&)>;

    // Binds and listens at once; throws boost::system::system_error when it cannot.
    HttpServer(const ServerOptions& options, Handler handler, Logger logger);
    // Stops and waits.
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // The address actually bound: port 0 in the options asks for a free port.
    boost::asio::ip::tcp::endpoint LocalEndpoint() const;
    std::size_t ActiveConnections() const;

    // Starts the worker threads.
    void Start();
    // Graceful stop, from any thread: no new connections, answers under way are
    // finished (within the drain time), idle connections are closed.
    void Stop();
    // Returns once every worker thread has ended.
    void Wait();

private:
    void Accept();
    void OnAccept(boost::system::error_code error, boost::asio::ip::tcp::socket socket);
    void Reject(boost::asio::ip::tcp::socket socket);
    void BeginStop();
    void OnSessionEnd(std::uint64_t id);

    ServerOptions options_;
    boost::asio::io_context context_;
    // Accepting, the timers and the stop run on this strand, one at a time.
    boost::asio::strand<boost::asio::io_context::executor_type> strand_;
    boost::asio::ip::tcp::acceptor acceptor_;
    boost::asio::steady_timer retryTimer_;
    boost::asio::steady_timer drainTimer_;
    std::shared_ptr<SessionContext> sessionContext_;
    std::vector<std::thread> threads_;

    mutable std::mutex sessionsMutex_;
    std::unordered_map<std::uint64_t, std::weak_ptr<HttpSession>> sessions_;
    std::uint64_t nextSessionId_ = 0;
    std::atomic<bool> stopping_{false};
};
