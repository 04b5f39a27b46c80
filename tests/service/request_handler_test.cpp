#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "service/core/request_handler.h"

namespace {

RequestHead Head(http::verb method, std::string target, unsigned version = 11)
{
    RequestHead request{method, target, version};
    return request;
}

std::string BodyOf(const Reply& reply)
{
    return std::string(reply.message.body().data(), reply.message.body().size());
}

// Pictures whose bytes name the request, so that tests can see what was asked for.
std::shared_ptr<const Picture> EchoPicture(const PictureRequest& request)
{
    return MakePicture(ToByteSet("picture " + std::to_string(request.templateId) + " " + request.name));
}

TEST(AnswerRequest, GivesThePictureWithCachingHeaders)
{
    const Reply reply = AnswerRequest(Head(http::verb::get, "/zb/hf/toutu.php?id=3&name=%E5%BC%A0%E4%B8%89"), EchoPicture);
    EXPECT_EQ(reply.message.result(), http::status::ok);
    EXPECT_EQ(reply.message[http::field::content_type], "image/jpeg");
    EXPECT_EQ(BodyOf(reply), "picture 3 张三");
    EXPECT_EQ(reply.message[http::field::content_length], std::to_string(BodyOf(reply).size()));
    EXPECT_EQ(reply.message[http::field::etag], EchoPicture({3, "张三"})->entityTag);
    EXPECT_NE(reply.message[http::field::cache_control].find("max-age="), std::string::npos);
    EXPECT_TRUE(reply.message.keep_alive());
}

TEST(AnswerRequest, AnswersHeadWithTheHeadOfGetAndNoBody)
{
    const Reply get = AnswerRequest(Head(http::verb::get, "/zb/hf/toutu.php?id=1&name=a"), EchoPicture);
    const Reply head = AnswerRequest(Head(http::verb::head, "/zb/hf/toutu.php?id=1&name=a"), EchoPicture);
    EXPECT_EQ(head.message.result(), http::status::ok);
    EXPECT_EQ(head.message[http::field::content_length], get.message[http::field::content_length]);
    EXPECT_EQ(head.message[http::field::etag], get.message[http::field::etag]);
    EXPECT_EQ(head.message.body().size(), 0u);
}

TEST(AnswerRequest, AnswersAMatchingIfNoneMatchWithNotModified)
{
    const std::string tag = EchoPicture({1, "a"})->entityTag;
    for (const std::string& condition : {tag, "W/" + tag, "\"other\", " + tag, std::string("*")}) {
        RequestHead request = Head(http::verb::get, "/zb/hf/toutu.php?id=1&name=a");
        request.set(http::field::if_none_match, condition);
        const Reply reply = AnswerRequest(request, EchoPicture);
        EXPECT_EQ(reply.message.result(), http::status::not_modified) << condition;
        EXPECT_EQ(reply.message[http::field::etag], tag);
        EXPECT_EQ(reply.message.body().size(), 0u);
    }
    RequestHead request = Head(http::verb::get, "/zb/hf/toutu.php?id=1&name=a");
    request.set(http::field::if_none_match, "\"stale\"");
    EXPECT_EQ(AnswerRequest(request, EchoPicture).message.result(), http::status::ok);
}

TEST(AnswerRequest, FollowsTheClientOnKeepAlive)
{
    EXPECT_FALSE(AnswerRequest(Head(http::verb::get, "/healthz", 10), EchoPicture).message.keep_alive());
    RequestHead keepAlive10 = Head(http::verb::get, "/healthz", 10);
    keepAlive10.set(http::field::connection, "keep-alive");
    EXPECT_TRUE(AnswerRequest(keepAlive10, EchoPicture).message.keep_alive());
    RequestHead close11 = Head(http::verb::get, "/healthz", 11);
    close11.set(http::field::connection, "close");
    EXPECT_FALSE(AnswerRequest(close11, EchoPicture).message.keep_alive());
    const Reply reply = AnswerRequest(Head(http::verb::get, "/healthz", 10), EchoPicture);
    EXPECT_EQ(reply.message.version(), 10u);
}

struct StatusCase {
    http::verb method;
    const char* target;
    http::status status;
};

class Statuses : public testing::TestWithParam<StatusCase> {};

TEST_P(Statuses, ComeWithASmallHtmlPageOrTheirBody)
{
    const Reply reply = AnswerRequest(Head(GetParam().method, GetParam().target), EchoPicture);
    EXPECT_EQ(reply.message.result(), GetParam().status);
    const std::string body = BodyOf(reply);
    if (reply.message.result() != http::status::ok) {
        EXPECT_EQ(reply.message[http::field::content_type], "text/html; charset=utf-8");
        EXPECT_NE(body.find(std::to_string(static_cast<unsigned>(GetParam().status))), std::string::npos);
        EXPECT_LT(body.size(), 512u);
        EXPECT_EQ(reply.message[http::field::cache_control], "no-store");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Statuses,
    testing::Values(StatusCase{http::verb::get, "/healthz", http::status::ok},
                    StatusCase{http::verb::head, "/healthz", http::status::ok},
                    StatusCase{http::verb::get, "http://example.test/zb/hf/toutu.php?id=2&name=b", http::status::ok},
                    StatusCase{http::verb::get, "/zb/hf/toutu.php?id=9&name=b", http::status::bad_request},
                    StatusCase{http::verb::get, "/zb/hf/toutu.php?name=b", http::status::bad_request},
                    StatusCase{http::verb::get, "/zb/hf/toutu.php?id=1", http::status::bad_request},
                    StatusCase{http::verb::get, "/zb/hf/toutu.php?id=1&name=%E5%BC", http::status::bad_request},
                    StatusCase{http::verb::get, "/zb/hf/toutu.php?id=1&name=%ZZ", http::status::bad_request},
                    StatusCase{http::verb::get, "/zb/hf/toutu.php", http::status::bad_request},
                    StatusCase{http::verb::get, "/", http::status::not_found},
                    StatusCase{http::verb::get, "/zb/hf/toutu.php/x?id=1&name=", http::status::not_found},
                    StatusCase{http::verb::post, "/zb/hf/toutu.php?id=1&name=", http::status::method_not_allowed},
                    StatusCase{http::verb::put, "/healthz", http::status::method_not_allowed},
                    StatusCase{http::verb::delete_, "/", http::status::method_not_allowed},
                    StatusCase{http::verb::options, "*", http::status::method_not_allowed}));

TEST(AnswerRequest, NamesTheAllowedMethodsIn405)
{
    const Reply reply = AnswerRequest(Head(http::verb::post, "/healthz"), EchoPicture);
    EXPECT_EQ(reply.message[http::field::allow], "GET, HEAD");
}

TEST(AnswerRequest, Gives500WhenThePictureCannotBeDrawn)
{
    const PictureSource throwing = [](const PictureRequest&) -> std::shared_ptr<const Picture> {
        throw std::runtime_error("no fonts");
    };
    const PictureSource empty = [](const PictureRequest&) { return std::shared_ptr<const Picture>(); };
    for (const PictureSource& source : {throwing, empty}) {
        const Reply reply = AnswerRequest(Head(http::verb::get, "/zb/hf/toutu.php?id=1&name=a"), source);
        EXPECT_EQ(reply.message.result(), http::status::internal_server_error);
    }
}

TEST(AnswerRequest, NeverEchoesTheRequestIntoItsPages)
{
    const Reply reply = AnswerRequest(Head(http::verb::get, "/<script>?id=1"), EchoPicture);
    EXPECT_EQ(BodyOf(reply).find("<script>"), std::string::npos);
}

}  // namespace
