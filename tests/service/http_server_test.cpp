// The server over real loopback sockets, with a stand-in for the drawing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/connect.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>

#include "service/core/http_server.h"
#include "service/core/request_handler.h"

namespace net = boost::asio;
using net::ip::tcp;
using namespace std::chrono_literals;

namespace {

using Answer = http::response<http::string_body>;

class ServerTest : public testing::Test {
protected:
    void StartServer(ServerOptions options = {})
    {
        options.endpoint = {net::ip::make_address("127.0.0.1"), 0};
        options.threads = 2;
        server_ = std::make_unique<HttpServer>(
            options,
            [this](const RequestHead& request) {
                return AnswerRequest(request, [this](const PictureRequest& picture) {
                    std::this_thread::sleep_for(drawTime_);
                    return MakePicture(ToByteSet("picture " + std::to_string(picture.templateId) + " " + picture.name));
                });
            },
            [this](const RequestRecord& record) {
                std::lock_guard lock(logMutex_);
                log_.push_back(std::string(record.method) + " " + std::string(record.target) + " " +
                               std::to_string(record.status) + " " + std::to_string(record.bodyBytes));
            });
        server_->Start();
    }

    tcp::socket Connect()
    {
        tcp::socket socket(io_);
        socket.connect(server_->LocalEndpoint());
        // No test may hang on a server that does not answer.
        timeval timeout{10, 0};
        setsockopt(socket.native_handle(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        return socket;
    }

    static Answer ReadAnswer(tcp::socket& socket, boost::beast::flat_buffer& buffer)
    {
        Answer answer;
        http::read(socket, buffer, answer);
        return answer;
    }

    // Everything the server sends until it closes the connection.
    static std::string ReadToClose(tcp::socket& socket)
    {
        std::string received;
        boost::system::error_code error;
        char chunk[4096];
        while (!error) {
            const std::size_t n = socket.read_some(net::buffer(chunk), error);
            received.append(chunk, n);
        }
        EXPECT_TRUE(error == net::error::eof || error == net::error::connection_reset) << error.message();
        return received;
    }

    std::vector<std::string> Log()
    {
        std::lock_guard lock(logMutex_);
        return log_;
    }

    net::io_context io_;
    std::chrono::milliseconds drawTime_{0};
    std::mutex logMutex_;
    std::vector<std::string> log_;
    // Last, so that it stops before what its threads use goes away.
    std::unique_ptr<HttpServer> server_;
};

TEST_F(ServerTest, KeepsAnHttp11ConnectionForSeveralAndPipelinedRequests)
{
    StartServer();
    tcp::socket socket = Connect();
    boost::beast::flat_buffer buffer;
    net::write(socket, net::buffer(std::string("GET /zb/hf/toutu.php?id=1&name=a HTTP/1.1\r\nHost: x\r\n\r\n")));
    EXPECT_EQ(ReadAnswer(socket, buffer).body(), "picture 1 a");
    net::write(socket, net::buffer(std::string("GET /zb/hf/toutu.php?id=2&name=b HTTP/1.1\r\nHost: x\r\n\r\n"
                                               "HEAD /healthz HTTP/1.1\r\nHost: x\r\n\r\n"
                                               "GET /zb/hf/toutu.php?id=3&name=c HTTP/1.1\r\nHost: x\r\n\r\n")));
    EXPECT_EQ(ReadAnswer(socket, buffer).body(), "picture 2 b");
    http::response_parser<http::string_body> head;
    head.skip(true);  // a HEAD answer has a Content-Length but no body
    http::read(socket, buffer, head);
    EXPECT_EQ(head.get().result(), http::status::ok);
    EXPECT_EQ(head.get()[http::field::content_length], "3");
    const Answer last = ReadAnswer(socket, buffer);
    EXPECT_EQ(last.body(), "picture 3 c");
    EXPECT_TRUE(last.keep_alive());
}

TEST_F(ServerTest, AnswersHttp10ThenCloses)
{
    StartServer();
    tcp::socket socket = Connect();
    net::write(socket, net::buffer(std::string("GET /zb/hf/toutu.php?id=4&name=%E5%BC%A0 HTTP/1.0\r\nAccept: */*\r\n\r\n")));
    const std::string received = ReadToClose(socket);
    EXPECT_EQ(received.rfind("HTTP/1.0 200 OK\r\n", 0), 0u) << received;
    EXPECT_NE(received.find("Content-Length: 13\r\n"), std::string::npos);
    EXPECT_EQ(received.substr(received.size() - 13), "picture 4 张");
}

struct BadRequest {
    std::string name;
    std::string bytes;
    int status;
};

TEST_F(ServerTest, AnswersBadRequestsWithTheirStatusAndCloses)
{
    StartServer();
    const std::string longTarget = "/zb/hf/toutu.php?id=1&name=" + std::string(5000, 'a');
    const std::string hugeTarget = "/zb/hf/toutu.php?id=1&name=" + std::string(20000, 'a');
    std::string manyFields;
    for (int i = 0; i < 200; ++i) manyFields += "X-Field-" + std::to_string(i) + ": " + std::string(60, 'v') + "\r\n";
    const std::vector<BadRequest> cases = {
        {"target over the target limit", "GET " + longTarget + " HTTP/1.1\r\nHost: x\r\n\r\n", 414},
        {"request line over the head limit", "GET " + hugeTarget + " HTTP/1.1\r\nHost: x\r\n\r\n", 414},
        {"header fields over the head limit", "GET /healthz HTTP/1.1\r\n" + manyFields + "\r\n", 431},
        {"not HTTP", "HELLO THERE\r\n\r\n", 400},
        {"broken version", "GET /healthz HTTP/1.x\r\n\r\n", 400},
        {"space in target", "GET /zb hf HTTP/1.1\r\n\r\n", 400},
        {"bad header line", "GET /healthz HTTP/1.1\r\nno colon here\r\n\r\n", 400},
        {"GET with a body", "GET /healthz HTTP/1.1\r\nContent-Length: 4\r\n\r\nbody", 400},
        {"POST with a body", "POST /zb/hf/toutu.php HTTP/1.1\r\nContent-Length: 11\r\n\r\nid=1&name=a", 405},
        {"chunked PUT", "PUT /healthz HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nbody\r\n0\r\n\r\n", 405},
    };
    for (const BadRequest& bad : cases) {
        SCOPED_TRACE(bad.name);
        tcp::socket socket = Connect();
        boost::system::error_code ignored;
        net::write(socket, net::buffer(bad.bytes), ignored);
        const std::string received = ReadToClose(socket);
        EXPECT_EQ(received.substr(0, 12), "HTTP/1.1 " + std::to_string(bad.status)) << received.substr(0, 200);
        EXPECT_NE(received.find("Connection: close"), std::string::npos);
        EXPECT_NE(received.find("<html>"), std::string::npos);
    }
}

TEST_F(ServerTest, CutsOffAClientThatSendsItsRequestTooSlowly)
{
    ServerOptions options;
    options.requestTimeout = 500ms;
    StartServer(options);
    tcp::socket socket = Connect();
    // One byte every 100 ms would take 3 s for the whole request; the server
    // ends the connection long before.
    const std::string request = "GET /healthz HTTP/1.1\r\nHost: x\r\nX-Slow: " + std::string(10, 'z') + "\r\n\r\n";
    boost::system::error_code error;
    std::size_t sent = 0;
    const auto start = std::chrono::steady_clock::now();
    for (; sent < request.size() && !error; ++sent) {
        net::write(socket, net::buffer(&request[sent], 1), error);
        std::this_thread::sleep_for(100ms);
        if (std::chrono::steady_clock::now() - start > 5s) break;
    }
    if (!error) {
        EXPECT_EQ(ReadToClose(socket), "");
    }
    EXPECT_LT(sent, request.size());
}

TEST_F(ServerTest, ClosesIdleKeepAliveConnections)
{
    ServerOptions options;
    options.requestTimeout = 300ms;
    StartServer(options);
    tcp::socket socket = Connect();
    boost::beast::flat_buffer buffer;
    net::write(socket, net::buffer(std::string("GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n")));
    EXPECT_EQ(ReadAnswer(socket, buffer).body(), "ok\n");
    EXPECT_EQ(ReadToClose(socket), "");
}

TEST_F(ServerTest, TurnsAwayConnectionsBeyondItsBound)
{
    ServerOptions options;
    options.maxConnections = 2;
    StartServer(options);
    std::vector<tcp::socket> held;
    for (int i = 0; i < 2; ++i) {
        held.push_back(Connect());
        boost::beast::flat_buffer buffer;
        net::write(held.back(), net::buffer(std::string("GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n")));
        ASSERT_EQ(ReadAnswer(held.back(), buffer).result(), http::status::ok);
    }
    tcp::socket extra = Connect();
    EXPECT_EQ(ReadToClose(extra).substr(0, 12), "HTTP/1.1 503");

    held.front().close();  // a freed place is given to the next client
    for (int attempt = 0; attempt < 200 && server_->ActiveConnections() > 1; ++attempt) std::this_thread::sleep_for(10ms);
    tcp::socket next = Connect();
    boost::beast::flat_buffer buffer;
    net::write(next, net::buffer(std::string("GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n")));
    EXPECT_EQ(ReadAnswer(next, buffer).result(), http::status::ok);
}

TEST_F(ServerTest, StopsGracefullyFinishingTheAnswerUnderWay)
{
    drawTime_ = 400ms;
    StartServer();
    tcp::socket idle = Connect();
    tcp::socket busy = Connect();
    net::write(busy, net::buffer(std::string("GET /zb/hf/toutu.php?id=1&name=slow HTTP/1.1\r\nHost: x\r\n\r\n")));
    std::this_thread::sleep_for(100ms);  // the drawing is under way
    server_->Stop();
    server_->Wait();

    const std::string received = ReadToClose(busy);
    EXPECT_EQ(received.rfind("HTTP/1.1 200 OK", 0), 0u) << received;
    EXPECT_NE(received.find("Connection: close"), std::string::npos);
    EXPECT_NE(received.find("picture 1 slow"), std::string::npos);
    EXPECT_EQ(ReadToClose(idle), "");
    EXPECT_THROW(Connect(), boost::system::system_error);
}

TEST_F(ServerTest, LogsEveryAnsweredRequest)
{
    StartServer();
    tcp::socket socket = Connect();
    boost::beast::flat_buffer buffer;
    net::write(socket, net::buffer(std::string("GET /zb/hf/toutu.php?id=2&name=x HTTP/1.1\r\nHost: x\r\n\r\n"
                                               "GET /zb/hf/toutu.php?id=0&name=x HTTP/1.1\r\nHost: x\r\n\r\n")));
    ReadAnswer(socket, buffer);
    ReadAnswer(socket, buffer);
    socket.close();
    tcp::socket bad = Connect();
    net::write(bad, net::buffer(std::string("NONSENSE\r\n\r\n")));
    ReadToClose(bad);
    server_->Stop();
    server_->Wait();
    const std::vector<std::string> log = Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "GET /zb/hf/toutu.php?id=2&name=x 200 11");
    EXPECT_EQ(log[1].substr(0, 37), "GET /zb/hf/toutu.php?id=0&name=x 400 ");
    EXPECT_EQ(log[2].substr(0, 8), "- - 400 ");
}

}  // namespace
