// HttpReadFile over TLS against nginx on 127.0.0.1, with a test CA in the system
// certificate store (see tls_fixture.sh, run by ctest around these tests).
#include "net/http_read_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "proxy_environment.h"

namespace {

const std::filesystem::path kTlsDir = BIAOBAI_TLS_DIR;

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

ByteSet Bytes(std::string_view text) { return ByteSet(text.begin(), text.end()); }

class HttpsFetch : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearProxyEnvironment();
        if (std::filesystem::exists(kTlsDir / "skip")) GTEST_SKIP() << ReadFile(kTlsDir / "skip");
        if (!std::filesystem::exists(kTlsDir / "servers")) {
            GTEST_SKIP() << "the https servers are not running; run these tests through ctest, "
                            "whose fixture net.tls_setup starts them";
        }
        std::istringstream lines(ReadFile(kTlsDir / "servers"));
        std::string name;
        int value = 0;
        while (lines >> name >> value) servers_[name] = value;
    }

    std::string Url(const char* scheme, const char* server, std::string_view target)
    {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(servers_[server]) + std::string(target);
    }

    std::vector<std::string> LoggedRequests()
    {
        std::istringstream log(ReadFile(kTlsDir / "access.log"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);) lines.push_back(line);
        return lines;
    }

    // nginx logs a request after it has sent the answer, so the line may come a
    // little after the fetch has returned.
    std::string RequestLoggedAfter(std::size_t earlierLines)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::vector<std::string> lines = LoggedRequests();
            if (lines.size() > earlierLines) return lines[earlierLines];
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return "(nothing logged)";
    }

    std::map<std::string, int> servers_;
};

TEST_F(HttpsFetch, TrustedServerGivesTheBody)
{
    const std::size_t logged = LoggedRequests().size();
    EXPECT_EQ(HttpReadFile(Url("https", "trusted", "/hello.txt?x=1#part")), Bytes("Hello over TLS\n"));
    EXPECT_EQ(RequestLoggedAfter(logged), "GET /hello.txt?x=1 HTTP/1.0|127.0.0.1:" + std::to_string(servers_["trusted"]) +
                                       "|Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)|*/*|-");
    EXPECT_EQ(HttpReadFile(Url("https", "trusted", "/picture.bin")), Bytes(ReadFile(kTlsDir / "www" / "picture.bin")));
}

TEST_F(HttpsFetch, WithoutPortConnectsTo443)
{
    if (servers_["default443"] != 1) GTEST_SKIP() << "127.0.0.1:443 was taken, so nginx does not listen there";
    const std::size_t logged = LoggedRequests().size();
    EXPECT_EQ(HttpReadFile("https://127.0.0.1/hello.txt"), Bytes("Hello over TLS\n"));
    EXPECT_EQ(RequestLoggedAfter(logged).substr(0, 40), "GET /hello.txt HTTP/1.0|127.0.0.1|Mozill");
}

TEST_F(HttpsFetch, CertificateThatDoesNotVerifyGivesEmpty)
{
    EXPECT_EQ(HttpReadFile(Url("https", "stranger", "/hello.txt")), ByteSet());
}

TEST_F(HttpsFetch, RedirectsUpToTlsButNeverDown)
{
    EXPECT_EQ(HttpReadFile(Url("http", "plain", "/to-https")), Bytes("Hello over TLS\n"));
    EXPECT_EQ(HttpReadFile(Url("https", "trusted", "/to-http")), ByteSet());
}

}  // namespace
