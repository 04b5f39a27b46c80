#include "service/command_line.h"

#include <charconv>

#include <boost/asio/ip/address.hpp>

namespace {

constexpr int kMostThreads = 256;

CommandLine Fail(std::string error)
{
    CommandLine result;
    result.action = CommandLine::Action::Fail;
    result.error = std::move(error);
    return result;
}

template <typename Number>
bool ParseNumber(const std::string& text, Number& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

// "127.0.0.1:8936", "[::1]:8936" or "0.0.0.0:0" (any free port).
bool ParseListen(const std::string& text, ServiceSettings& settings)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    std::string host = text.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    boost::system::error_code error;
    boost::asio::ip::make_address(host, error);
    if (error) return false;
    std::uint16_t port = 0;
    if (!ParseNumber(text.substr(colon + 1), port)) return false;
    settings.address = host;
    settings.port = port;
    return true;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, int defaultThreads)
{
    CommandLine result;
    result.settings.threads = defaultThreads;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string option = arguments[i];
        std::string value;
        bool hasValue = false;
        if (const std::size_t equals = option.find('='); option.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
            hasValue = true;
        }
        const bool takesValue = option == "--listen" || option == "--threads";
        if (takesValue && !hasValue) {
            if (i + 1 == arguments.size()) return Fail(option + " needs a value");
            value = arguments[++i];
        } else if (!takesValue && hasValue) {
            return Fail(option + " takes no value");
        }

        if (option == "--help" || option == "-h") {
            result.action = CommandLine::Action::Help;
        } else if (option == "--version") {
            if (result.action != CommandLine::Action::Help) result.action = CommandLine::Action::Version;
        } else if (option == "--listen") {
            if (!ParseListen(value, result.settings)) return Fail("--listen wants ADDRESS:PORT, not \"" + value + "\"");
        } else if (option == "--threads") {
            int threads = 0;
            if (!ParseNumber(value, threads) || threads < 1 || threads > kMostThreads) {
                return Fail("--threads wants a number from 1 to " + std::to_string(kMostThreads));
            }
            result.settings.threads = threads;
        } else {
            return Fail("unknown option \"" + option + "\"");
        }
    }
    return result;
}

std::string UsageText()
{
    return "Usage: biaobai-service [--listen ADDRESS:PORT] [--threads N]\n"
           "Serves greeting pictures over HTTP: GET /zb/hf/toutu.php?id=1..4&name=NAME\n"
           "\n"
           "  --listen ADDRESS:PORT  address to listen on (default 127.0.0.1:8936;\n"
           "                         [::1]:8936 for IPv6, port 0 for any free port)\n"
           "  --threads N            worker threads (default: one per processor core)\n"
           "  --help                 show this text and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Logs one line per request on standard error. SIGINT and SIGTERM stop it.\n";
}
