// The window's own HTTP client fetches pictures from the service over HTTP/1.0.
#include <gtest/gtest.h>

#include <atomic>

#include "jpeg_decode.h"
#include "net/http_read_file.h"
#include "service/core/http_server.h"
#include "service/core/picture_store.h"
#include "service/core/request_handler.h"
#include "service/picture/greeting_painter.h"

namespace {

class HttpReadFileFromService : public testing::Test {
protected:
    void SetUp() override
    {
        ServerOptions options;
        options.endpoint = {boost::asio::ip::make_address("127.0.0.1"), 0};
        options.threads = 2;
        server_ = std::make_unique<HttpServer>(
            options,
            [this](const RequestHead& request) {
                lastVersion_ = request.version();
                return AnswerRequest(request, [this](const PictureRequest& picture) { return store_.Get(picture); });
            },
            nullptr);
        server_->Start();
    }

    std::string Url(const std::string& pathAndQuery) const
    {
        return "http://127.0.0.1:" + std::to_string(server_->LocalEndpoint().port()) + pathAndQuery;
    }

    PictureStore store_{16u << 20, DrawGreeting};
    std::atomic<unsigned> lastVersion_{0};
    std::unique_ptr<HttpServer> server_;  // last: stops before the rest goes away
};

TEST_F(HttpReadFileFromService, GetsThePictureTheWindowAsksFor)
{
    const ByteSet body = HttpReadFile(Url("/zb/hf/toutu.php?id=3&name=%E5%BC%A0%E4%B8%89"));
    EXPECT_EQ(lastVersion_, 10u);
    EXPECT_EQ(body, DrawGreeting(PictureRequest{3, "张三"}));
    const DecodedJpeg decoded = DecodeJpeg(body);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.width, 752);
    EXPECT_EQ(decoded.height, 288);
}

TEST_F(HttpReadFileFromService, GetsThePictureForAnEmptyNameAndEveryTemplate)
{
    for (int id = 1; id <= 4; ++id) {
        const ByteSet body = HttpReadFile(Url("/zb/hf/toutu.php?id=" + std::to_string(id) + "&name="));
        EXPECT_EQ(body, DrawGreeting(PictureRequest{id, ""})) << id;
    }
}

TEST_F(HttpReadFileFromService, GetsTheErrorPageOfABadRequest)
{
    // The window shows whatever comes back; for a bad request that is the page.
    const ByteSet body = HttpReadFile(Url("/zb/hf/toutu.php?id=0&name="));
    const std::string page(body.begin(), body.end());
    EXPECT_NE(page.find("400 Bad Request"), std::string::npos) << page;
}

}  // namespace
