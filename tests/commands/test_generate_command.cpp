// The generate command against a real server on loopback at the address that
// this test binary compiles in (see CMakeLists.txt).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "commands/commands.h"

namespace {

constexpr int kPort = 18937;

// Answers every request with `body` and keeps the raw requests.
class RecordingServer {
public:
    explicit RecordingServer(std::string body) : body_(std::move(body))
    {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(kPort);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bound_ = bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                 listen(listener_, 8) == 0;
        if (bound_) thread_ = std::thread([this] { Serve(); });
    }
    ~RecordingServer()
    {
        shutdown(listener_, SHUT_RDWR);
        close(listener_);
        if (thread_.joinable()) thread_.join();
    }

    bool bound() const { return bound_; }
    std::vector<std::string> requests;

private:
    void Serve()
    {
        for (;;) {
            const int connection = accept(listener_, nullptr, nullptr);
            if (connection < 0) return;
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, static_cast<std::size_t>(n));
            }
            requests.push_back(request);
            const std::string answer =
                "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body_.size()) + "\r\n\r\n" + body_;
            send(connection, answer.data(), answer.size(), MSG_NOSIGNAL);
            close(connection);
        }
    }

    std::string body_;
    int listener_ = -1;
    bool bound_ = false;
    std::thread thread_;
};

// The three controls that the command reads and writes.
class FakeWindow : public PropertyAccess {
public:
    FakeWindow(std::int32_t selection, Text name) : selection_(selection), name_(std::move(name)) {}
    PropertyValue ReadProperty(ControlName control, int number) const override
    {
        if (control == ControlName::离婚 && number == PropertyListSelection) return selection_;
        if (control == ControlName::名字 && number == PropertyEditText) return name_;
        if (control == ControlName::表白 && number == PropertyPicture) return picture;
        return std::monostate{};
    }
    void WriteProperty(ControlName control, int number, const PropertyValue& value) override
    {
        if (control == ControlName::表白 && number == PropertyPicture) {
            picture = std::get<ByteSet>(value);
            ++pictureWrites;
        }
    }

    ByteSet picture = ToByteSet("old picture");
    int pictureWrites = 0;

private:
    std::int32_t selection_;
    Text name_;
};

std::string RequestLine(const std::string& request)
{
    return request.substr(0, request.find("\r\n"));
}

}  // namespace

TEST(GenerateCommand, SendsTheTemplateAndTheEncodedName)
{
    RecordingServer server("picture bytes");
    ASSERT_TRUE(server.bound()) << "port " << kPort << " is taken";
    const struct {
        std::int32_t selection;
        Text name;  // GBK
        const char* target;
    } rows[] = {
        {0, "", "/zb/hf/toutu.php?id=1&name="},
        {2, "\xD5\xC5\xC8\xFD", "/zb/hf/toutu.php?id=3&name=%E5%BC%A0%E4%B8%89"},
        {1, "\xD5\xC5\xC8\xFD a_b.c~", "/zb/hf/toutu.php?id=2&name=%E5%BC%A0%E4%B8%89%20a%5Fb.c%7E"},
        {3, "a b&c=d", "/zb/hf/toutu.php?id=4&name=a%20b%26c%3Dd"},
        {3, "A-1.5", "/zb/hf/toutu.php?id=4&name=A-1.5"},
        {-1, "", "/zb/hf/toutu.php?id=0&name="},  // nothing selected
    };
    for (const auto& row : rows) {
        FakeWindow window(row.selection, row.name);
        OnGenerateClicked(window);
        ASSERT_FALSE(server.requests.empty());
        EXPECT_EQ(RequestLine(server.requests.back()), std::string("GET ") + row.target + " HTTP/1.0");
        EXPECT_EQ(window.picture, ToByteSet("picture bytes"));
    }
    EXPECT_EQ(server.requests.size(), std::size(rows));
}

TEST(GenerateCommand, AFailedFetchEmptiesTheBox)
{
    // Nobody listens at the compiled-in address now.
    FakeWindow window(0, "x");
    OnGenerateClicked(window);
    EXPECT_EQ(window.pictureWrites, 1);
    EXPECT_TRUE(window.picture.empty());
}
