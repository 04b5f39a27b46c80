// The HTTP/1.0 and HTTP/1.1 server: a listening socket, one Asio event loop per
// worker thread, and one session per connection, up to a bound.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

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
    using WorkGuard = boost::asio::executor_work_guard<boost::asio::io_context::executor_type>;

    void Accept();
    using Socket = boost::asio::basic_stream_socket<boost::asio::ip::tcp, boost::asio::io_context::executor_type>;

    void OnAccept(boost::system::error_code error, Socket socket);
    void Reject(Socket socket);
    void BeginStop();
    void FinishStop();
    void OnSessionEnd(std::uint64_t id);

    ServerOptions options_;
    // Each worker thread runs a loop of its own, and each connection stays on one
    // loop: its handlers never run on two threads, so they need no locking. The
    // first loop also accepts and runs the timers below.
    std::vector<std::unique_ptr<boost::asio::io_context>> contexts_;
    std::vector<WorkGuard> keepRunning_;
    std::size_t nextContext_ = 0;
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
