// One client connection: reads request heads, answers them, keeps the connection
// open while the client wants that, and enforces the time and size limits.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <boost/beast/core/flat_buffer.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/parser.hpp>

#include "service/core/reply.h"
#include "service/core/request_log.h"
#include "service/core/server_options.h"

// What all sessions of one server share. Sessions hold it by shared pointer, so it
// outlives the last of them.
struct SessionContext {
    ServerOptions options;
    std::function<Reply(const RequestHead&)> handler;
    std::function<void(const RequestRecord&)> logger;
    // Called by each session as it ends, from the thread it ends on.
    std::function<void(std::uint64_t id)> onSessionEnd;
    // Set when the server stops: answers from then on close their connection.
    std::atomic<bool> stopping{false};
};

class HttpSession : public std::enable_shared_from_this<HttpSession> {
public:
    // The connection lives on one single-threaded loop, whose executor it names
    // directly rather than through a type-erased one.
    using Executor = boost::asio::io_context::executor_type;
    using Socket = boost::asio::basic_stream_socket<boost::asio::ip::tcp, Executor>;
    using Stream = boost::beast::basic_stream<boost::asio::ip::tcp, Executor>;

    HttpSession(Socket socket, std::shared_ptr<SessionContext> context, std::uint64_t id);
    ~HttpSession();

    void Start();
    // May be called from any thread: the answer under way is finished, then the
    // connection is closed; a connection waiting for a request is closed at once.
    void Shutdown();

private:
    void ReadRequest();
    void OnHeaderRead(boost::beast::error_code error);
    void AnswerBadHead(boost::beast::error_code error);
    void Send(Reply reply, bool closeAfter, bool inputLeft);
    void OnWritten(boost::beast::error_code error);
    void LingerAndClose();
    void OnLingerRead(boost::beast::error_code error, std::size_t bytes);

    Stream stream_;
    std::shared_ptr<SessionContext> context_;
    const std::uint64_t id_;
    boost::beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::empty_body>> parser_;
    Reply reply_;
    std::string method_;
    std::string target_;
    std::chrono::steady_clock::time_point started_;
    std::size_t lingered_ = 0;
    bool waitingForInput_ = false;  // for a request, or lingering before the close
    bool stopping_ = false;
    bool closeAfterWrite_ = false;
    bool inputLeft_ = false;
};
