#include "net/url_split.h"

#include "net/url_canonical.h"

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The scheme at the start of `url` (a letter, then letters, digits, "+", "-" or
// "."), up to the ":" that ends it; empty when there is none.
std::string_view SchemeOf(std::string_view url)
{
    if (url.empty() || !IsAsciiLetter(url[0])) return {};
    for (std::size_t i = 1; i < url.size(); ++i) {
        const char c = url[i];
        if (c == ':') return url.substr(0, i);
        if (!IsAsciiLetter(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return {};
    }
    return {};
}

std::uint16_t DefaultPort(std::string_view scheme)
{
    if (IsHttpScheme(scheme)) return 80;
    if (IsHttpsScheme(scheme)) return 443;
    return 0;
}

// A port of 1 to 65535 written in decimal digits only.
std::optional<std::uint16_t> ParsePort(std::string_view text)
{
    if (text.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
        if (value > 65535) return std::nullopt;
    }
    if (value == 0) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

// Splits "host[:port]" into the parts; false when malformed.
bool SplitHostAndPort(std::string_view hostAndPort, UrlParts& parts)
{
    std::string_view host = hostAndPort;
    std::string_view portText;
    bool hasPortSeparator = false;
    if (hostAndPort.starts_with('[')) {
        const std::size_t close = hostAndPort.find(']');
        if (close == std::string_view::npos) return false;
        host = hostAndPort.substr(0, close + 1);
        const std::string_view rest = hostAndPort.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') return false;
            hasPortSeparator = true;
            portText = rest.substr(1);
        }
    } else if (const std::size_t colon = hostAndPort.find(':'); colon != std::string_view::npos) {
        host = hostAndPort.substr(0, colon);
        hasPortSeparator = true;
        portText = hostAndPort.substr(colon + 1);
    }
    if (host.empty() || host == "[]") return false;
    parts.host = host;
    parts.port = DefaultPort(parts.scheme);
    // "host:" with nothing behind the colon means the default port.
    if (hasPortSeparator && !portText.empty()) {
        const std::optional<std::uint16_t> port = ParsePort(portText);
        if (!port) return false;
        parts.port = *port;
        parts.portGiven = true;
    }
    return true;
}

// The path with dot segments resolved, followed unchanged by query and fragment.
std::string CanonicalPathWithQuery(std::string_view pathAndRest)
{
    const std::size_t pathEnd = pathAndRest.find_first_of("?#");
    std::string_view path = pathAndRest.substr(0, pathEnd);
    const std::string_view rest = pathEnd == std::string_view::npos ? std::string_view() : pathAndRest.substr(pathEnd);
    std::string canonical = path.empty() ? std::string("/") : RemoveDotSegments(path);
    if (canonical.empty()) canonical = "/";
    canonical.append(rest);
    return canonical;
}

}  // namespace

bool IsHttpScheme(std::string_view scheme) { return EqualsIgnoringCase(scheme, "http"); }
bool IsHttpsScheme(std::string_view scheme) { return EqualsIgnoringCase(scheme, "https"); }

std::optional<UrlParts> SplitUrl(std::string_view url)
{
    url = TrimTrailingWhiteSpace(url);
    UrlParts parts;
    const std::string_view scheme = SchemeOf(url);
    if (scheme.empty()) return std::nullopt;
    parts.scheme = scheme;
    std::string_view rest = url.substr(scheme.size() + 1);
    if (!rest.starts_with("//")) return std::nullopt;
    rest.remove_prefix(2);

    const std::size_t authorityEnd = rest.find_first_of("/?#");
    const std::string_view authority = rest.substr(0, authorityEnd);
    const std::string_view pathAndRest =
        authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);

    std::string_view hostAndPort = authority;
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view userInfo = authority.substr(0, at);
        hostAndPort = authority.substr(at + 1);
        const std::size_t colon = userInfo.find(':');
        parts.userName = userInfo.substr(0, colon);
        if (colon != std::string_view::npos) parts.password = userInfo.substr(colon + 1);
    }
    if (!SplitHostAndPort(hostAndPort, parts)) return std::nullopt;
    parts.pathWithQuery = CanonicalPathWithQuery(pathAndRest);

    if (parts.host.size() > kMaxHostLength || parts.pathWithQuery.size() > kMaxPathWithQueryLength ||
        parts.userName.size() > kMaxUserNameLength || parts.password.size() > kMaxPasswordLength) {
        return std::nullopt;
    }
    return parts;
}

std::string RequestTarget(const UrlParts& parts)
{
    return parts.pathWithQuery.substr(0, parts.pathWithQuery.find('#'));
}
