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

}  // namespace

HttpServer::HttpServer(const ServerOptions& options, Handler handler, Logger logger)
    : options_(options),
      context_(std::max(1, options.threads)),
      strand_(net::make_strand(context_)),
      acceptor_(strand_),
      retryTimer_(strand_),
      drainTimer_(strand_),
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
    // Sessions that never ran are destroyed with the context; they must not call back.
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
    const int count = std::max(1, options_.threads);
    for (int i = 0; i < count; ++i) threads_.emplace_back([this] { context_.run(); });
}

void HttpServer::Stop()
{
    if (stopping_.exchange(true)) return;
    sessionContext_->stopping = true;
    net::post(strand_, [this] { BeginStop(); });
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
    acceptor_.async_accept(net::make_strand(context_), [this](boost::system::error_code error, tcp::socket socket) {
        OnAccept(error, std::move(socket));
    });
}

void HttpServer::OnAccept(boost::system::error_code error, tcp::socket socket)
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

void HttpServer::Reject(tcp::socket socket)
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
        if (sessions_.empty()) return;
    }
    for (auto& session : live) session->Shutdown();
    live.clear();

    drainTimer_.expires_after(options_.drainTimeout);
    drainTimer_.async_wait([this](boost::system::error_code error) {
        if (!error) context_.stop();  // answers still under way are cut off
    });
}

void HttpServer::OnSessionEnd(std::uint64_t id)
{
    std::lock_guard lock(sessionsMutex_);
    sessions_.erase(id);
    if (stopping_ && sessions_.empty()) {
        net::post(strand_, [this] { drainTimer_.cancel(); });
    }
}
