#include "service/core/http_session.h"

#include <algorithm>

#include <boost/asio/dispatch.hpp>
#include <boost/asio/post.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>

#include "service/core/error_page.h"

namespace beast = boost::beast;
namespace net = boost::asio;

namespace {

// After an answer that leaves unread input behind, the connection is not closed
// at once: a close with unread data resets the connection, and the client might
// lose the answer. This much input and time are read and dropped first.
constexpr std::size_t kLingerBytes = 64 * 1024;
constexpr std::chrono::seconds kLingerTime{2};

// A malformed or oversized request, as opposed to a connection that ended, broke
// or timed out.
bool IsParseError(beast::error_code error)
{
    return error.category() == beast::http::make_error_code(http::error::bad_target).category() &&
           error != http::error::end_of_stream && error != http::error::partial_message;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

HttpSession::HttpSession(Socket socket, std::shared_ptr<SessionContext> context, std::uint64_t id)
    : stream_(std::move(socket)),
      context_(std::move(context)),
      id_(id),
      // Room for a full head plus some pipelined bytes; the parser's header limit
      // is what bounds a head.
      buffer_(context_->options.headerLimit + 4096)
{
}

HttpSession::~HttpSession()
{
    if (context_->onSessionEnd) context_->onSessionEnd(id_);
}

void HttpSession::Start()
{
    net::dispatch(stream_.get_executor(), [self = shared_from_this()] { self->ReadRequest(); });
}

void HttpSession::Shutdown()
{
    net::post(stream_.get_executor(), [self = shared_from_this()] {
        self->stopping_ = true;
        if (self->waitingForInput_) self->stream_.socket().cancel();
    });
}

void HttpSession::ReadRequest()
{
    if (stopping_ || context_->stopping) {
        LingerAndClose();
        return;
    }
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(context_->options.headerLimit));
    method_ = "-";
    target_ = "-";
    waitingForInput_ = true;
    stream_.expires_after(context_->options.requestTimeout);
    http::async_read_header(stream_, buffer_, *parser_,
                            [self = shared_from_this()](beast::error_code error, std::size_t) {
                                self->OnHeaderRead(error);
                            });
}

void HttpSession::OnHeaderRead(beast::error_code error)
{
    waitingForInput_ = false;
    started_ = std::chrono::steady_clock::now();
    if (error) {
        // Timeouts, resets, a client that went away, a stop: nothing to answer.
        if (IsParseError(error)) AnswerBadHead(error);
        return;
    }

    const RequestHead& request = parser_->get();
    method_ = std::string(request.method_string());
    target_ = std::string(request.target());
    const unsigned version = request.version();
    // The body of a request is never read, so the connection cannot go on after it.
    const bool hasBody = !parser_->is_done();

    if (target_.size() > context_->options.targetLimit) {
        Send(MakeErrorReply(http::status::uri_too_long, "The request target is too long.", version), true, true);
        return;
    }
    const bool readsOnly = request.method() == http::verb::get || request.method() == http::verb::head;
    if (hasBody && readsOnly) {
        Send(MakeErrorReply(http::status::bad_request, "A request body is not accepted.", version), true, true);
        return;
    }

    Reply reply = context_->handler(request);
    const bool closeAfter = hasBody || stopping_ || context_->stopping || !reply.message.keep_alive();
    Send(std::move(reply), closeAfter, hasBody);
}

void HttpSession::AnswerBadHead(beast::error_code error)
{
    if (error == http::error::header_limit || error == http::error::buffer_overflow) {
        // Without a complete first line the request line alone is too long.
        const auto data = static_cast<const char*>(buffer_.data().data());
        const bool firstLineComplete = std::find(data, data + buffer_.size(), '\n') != data + buffer_.size();
        if (firstLineComplete) {
            Send(MakeErrorReply(http::status::request_header_fields_too_large, "The request head is too large.", 11),
                 true, true);
        } else {
            Send(MakeErrorReply(http::status::uri_too_long, "The request line is too long.", 11), true, true);
        }
        return;
    }
    Send(MakeErrorReply(http::status::bad_request, "The request is malformed.", 11), true, true);
}

void HttpSession::Send(Reply reply, bool closeAfter, bool inputLeft)
{
    reply_ = std::move(reply);
    closeAfterWrite_ = closeAfter;
    inputLeft_ = inputLeft;
    if (closeAfter) reply_.message.keep_alive(false);
    stream_.expires_after(context_->options.writeTimeout);
    http::async_write(stream_, reply_.message, [self = shared_from_this()](beast::error_code error, std::size_t) {
        self->OnWritten(error);
    });
}

void HttpSession::OnWritten(beast::error_code error)
{
    if (context_->logger) {
        context_->logger(RequestRecord{method_, target_, reply_.message.result_int(), reply_.message.body().size(),
                                       MillisecondsSince(started_)});
    }
    reply_ = Reply{};
    if (error) return;
    if (closeAfterWrite_ || stopping_) {
        LingerAndClose();
        return;
    }
    ReadRequest();
}

void HttpSession::LingerAndClose()
{
    beast::error_code ignored;
    stream_.socket().shutdown(net::ip::tcp::socket::shutdown_send, ignored);
    if (!inputLeft_ || stopping_) return;  // the socket closes as the session ends
    waitingForInput_ = true;
    lingered_ = 0;
    buffer_.clear();
    stream_.expires_after(kLingerTime);
    stream_.async_read_some(buffer_.prepare(4096), [self = shared_from_this()](beast::error_code e, std::size_t n) {
        self->OnLingerRead(e, n);
    });
}

void HttpSession::OnLingerRead(beast::error_code error, std::size_t bytes)
{
    lingered_ += bytes;
    if (error || lingered_ >= kLingerBytes) return;
    stream_.async_read_some(buffer_.prepare(4096), [self = shared_from_this()](beast::error_code e, std::size_t n) {
        self->OnLingerRead(e, n);
    });
}
