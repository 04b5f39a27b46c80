#include "net/url_split.h"

#include <gtest/gtest.h>

#include "net/url_canonical.h"

namespace {

TEST(UrlSplit, RemoveDotSegments)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/a/b/c/./../../g", "/a/g"},
        {"/./a", "/a"},
        {"/a/.", "/a/"},
        {"/a/..", "/"},
        {"/../../x", "/x"},
        {"/a/b/../../..", "/"},
        {"/a//b/../c", "/a//c"},
        {"/a/.b/..c/...", "/a/.b/..c/..."},
        {"/%2e%2e/a", "/%2e%2e/a"},
    };
    for (const auto& [path, resolved] : cases) EXPECT_EQ(RemoveDotSegments(path), resolved) << path;
}

TEST(UrlSplit, AllParts)
{
    const auto parts = SplitUrl("HTTPS://me:pa:ss@Example.COM:8443/x/../p%20q?a=1/../b#frag/../z  \n");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->scheme, "HTTPS");
    EXPECT_TRUE(IsHttpsScheme(parts->scheme));
    EXPECT_EQ(parts->userName, "me");
    EXPECT_EQ(parts->password, "pa:ss");
    EXPECT_EQ(parts->host, "Example.COM");
    EXPECT_EQ(parts->port, 8443);
    EXPECT_TRUE(parts->portGiven);
    EXPECT_EQ(parts->pathWithQuery, "/p%20q?a=1/../b#frag/../z");
    EXPECT_EQ(RequestTarget(*parts), "/p%20q?a=1/../b");
}

struct SplitCase {
    const char* url;
    const char* host;
    int port;
    const char* pathWithQuery;
};

TEST(UrlSplit, HostPortAndPath)
{
    const SplitCase cases[] = {
        {"http://h", "h", 80, "/"},
        {"https://h", "h", 443, "/"},
        {"http://h:/x", "h", 80, "/x"},
        {"http://h?q", "h", 80, "/?q"},
        {"http://h#f", "h", 80, "/#f"},
        {"http://[::1]:8080/x", "[::1]", 8080, "/x"},
        {"http://[::1]/x", "[::1]", 80, "/x"},
        {"http://u@h:1/", "h", 1, "/"},
        {"http://a@b@h/", "h", 80, "/"},
        {"http://h:65535/..", "h", 65535, "/"},
        {"ftp://h/f", "h", 0, "/f"},
        {"http://h/a b\t", "h", 80, "/a b"},
    };
    for (const auto& c : cases) {
        const auto parts = SplitUrl(c.url);
        ASSERT_TRUE(parts) << c.url;
        EXPECT_EQ(parts->host, c.host) << c.url;
        EXPECT_EQ(parts->port, c.port) << c.url;
        EXPECT_EQ(parts->pathWithQuery, c.pathWithQuery) << c.url;
    }
}

TEST(UrlSplit, UrlsThatCannotBeSplit)
{
    const std::string cases[] = {
        "",
        "   ",
        "h/x",
        "127.0.0.1:80/x",
        "1http://h/",
        "ht tp://h/",
        "http:h/x",
        "http:/h/x",
        " http://h/",
        "http:///x",
        "http://:80/x",
        "http://u:p@/x",
        "http://h:0/",
        "http://h:65536/",
        "http://h:-1/",
        "http://h:8o/",
        "http://h:99999999999999999999/",
        "http://[::1/",
        "http://[::1]x/",
        "http://[]/",
        "mailto:someone@example.org",
        "http://" + std::string(256, 'h') + "/",
        "http://" + std::string(128, 'u') + "@h/",
        "http://u:" + std::string(128, 'p') + "@h/",
        "http://h/" + std::string(2047, 'p'),
        "http://h/?" + std::string(2046, 'q'),
        "http://h/#" + std::string(2046, 'f'),
    };
    for (const auto& url : cases) EXPECT_FALSE(SplitUrl(url)) << url.substr(0, 60);
}

TEST(UrlSplit, LongestPartsThatFit)
{
    EXPECT_TRUE(SplitUrl("http://" + std::string(255, 'h') + "/"));
    EXPECT_TRUE(SplitUrl("http://" + std::string(127, 'u') + ":" + std::string(127, 'p') + "@h/"));
    const auto parts = SplitUrl("http://h/" + std::string(2046, 'p'));
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->pathWithQuery.size(), 2047u);
    // Dot segments are resolved before the room is measured.
    EXPECT_TRUE(SplitUrl("http://h/x/../" + std::string(2046, 'p')));
}

}  // namespace
