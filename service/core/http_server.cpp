#include "service/core/http_server.h"

#include <boost/asio/post.hpp>

#include "service/core/http_session.h"

namespace net = boost::asio;
using net::ip::tcp;

namespace {

// Waiting time before accepting again after accept() failed, for instance
// because the process ran out of file descriptors.
constexpr std::chrono::milliseconds kAcceptRetry{50};

constexpr std::string_view kBusyAnswer =
    "HTTP/1.1 503 Service Unavailable\r\nServer: biaobai-service\r\nContent-Type: text/plain\r\n"
    "Content-Length: 5\r\nRetry-After: 1\r\nConnection: close\r\n\r\nbusy\n";

std::vector<std::unique_ptr<net::io_context>> MakeContexts(int threads)
{
    std::vector<std::unique_ptr<net::io_context>> contexts;
    // Concurrency hint 1: each loop is run by one thread only.
    for (int i = 0; i < std::max(1, threads); ++i) contexts.push_back(std::make_unique<net::io_context>(1));
    return contexts;
}

}  // namespace

HttpServer::HttpServer(const ServerOptions& options, Handler handler, Logger logger)
    : options_(options),
      contexts_(MakeContexts(options.threads)),
      acceptor_(*contexts_.front()),
      retryTimer_(*contexts_.front()),
      drainTimer_(*contexts_.front()),
      sessionContext_(std::make_shared<SessionContext>())
{
    acceptor_.open(options_.endpoint.protocol());
    acceptor_.set_option(net::socket_base::reuse_address(true));
    acceptor_.bind(options_.endpoint);
    acceptor_.listen(net::socket_base::max_listen_connections);

    sessionContext_->options = options_;
    sessionContext_->handler = std::move(handler);
    sessionContext_->logger = std::move(logger);
    sessionContext_->onSessionEnd = [this](std::uint64_t id) { OnSessionEnd(id); };
}

HttpServer::~HttpServer()
{
    Stop();
    Wait();
    // Sessions that never ran are destroyed with the loops; they must not call back.
    sessionContext_->onSessionEnd = nullptr;
}

tcp::endpoint HttpServer::LocalEndpoint() const
{
    return acceptor_.local_endpoint();
}

std::size_t HttpServer::ActiveConnections() const
{
    std::lock_guard lock(sessionsMutex_);
    return sessions_.size();
}

void HttpServer::Start()
{
    Accept();
    for (auto& context : contexts_) {
        keepRunning_.push_back(net::make_work_guard(*context));
        threads_.emplace_back([&context] { context->run(); });
    }
}

void HttpServer::Stop()
{
    if (stopping_.exchange(true)) return;
    sessionContext_->stopping = true;
    net::post(*contexts_.front(), [this] { BeginStop(); });
}

void HttpServer::Wait()
{
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
    threads_.clear();
}

void HttpServer::Accept()
{
    // New connections go to the loops in turn.
    net::io_context& target = *contexts_[nextContext_];
    nextContext_ = (nextContext_ + 1) % contexts_.size();
    acceptor_.async_accept(target, [this](boost::system::error_code error, Socket socket) {
        OnAccept(error, std::move(socket));
    });
}

void HttpServer::OnAccept(boost::system::error_code error, Socket socket)
{
    if (stopping_ || error == net::error::operation_aborted) return;
    if (error) {
        retryTimer_.expires_after(kAcceptRetry);
        retryTimer_.async_wait([this](boost::system::error_code waitError) {
            if (!waitError && !stopping_) Accept();
        });
        return;
    }

    std::shared_ptr<HttpSession> session;
    {
        std::lock_guard lock(sessionsMutex_);
        if (sessions_.size() < options_.maxConnections) {
            const std::uint64_t id = nextSessionId_++;
            boost::system::error_code ignored;
            socket.set_option(tcp::no_delay(true), ignored);
            session = std::make_shared<HttpSession>(std::move(socket), sessionContext_, id);
            sessions_.emplace(id, session);
        }
    }
    if (session) {
        session->Start();
    } else {
        Reject(std::move(socket));
    }
    Accept();
}

void HttpServer::Reject(Socket socket)
{
    // The answer fits any socket buffer; without blocking it either goes out now
    // or not at all.
    boost::system::error_code ignored;
    socket.non_blocking(true, ignored);
    socket.write_some(net::buffer(kBusyAnswer.data(), kBusyAnswer.size()), ignored);
    socket.shutdown(tcp::socket::shutdown_both, ignored);
    socket.close(ignored);
}

void HttpServer::BeginStop()
{
    boost::system::error_code ignored;
    acceptor_.close(ignored);
    retryTimer_.cancel();

    std::vector<std::shared_ptr<HttpSession>> live;
    {
        std::lock_guard lock(sessionsMutex_);
        for (auto& [id, weak] : sessions_) {
            if (auto session = weak.lock()) live.push_back(std::move(session));
        }
    }
    if (live.empty()) {
        FinishStop();
        return;
    }
    for (auto& session : live) session->Shutdown();
    live.clear();

    drainTimer_.expires_after(options_.drainTimeout);
    drainTimer_.async_wait([this](boost::system::error_code error) {
        if (error) return;  // every session ended in time
        for (auto& context : contexts_) context->stop();  // answers still under way are cut off
    });
}

void HttpServer::FinishStop()
{
    // With no session left the loops run out of work and their threads end.
    drainTimer_.cancel();
    keepRunning_.clear();
}

void HttpServer::OnSessionEnd(std::uint64_t id)
{
    std::lock_guard lock(sessionsMutex_);
    sessions_.erase(id);
    if (stopping_ && sessions_.empty()) {
        net::post(*contexts_.front(), [this] { FinishStop(); });
    }
}
