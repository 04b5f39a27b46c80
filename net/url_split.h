// Splitting a URL into the parts that a fetch needs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Room for each part, not counting a terminator; a longer part makes a URL
// impossible to split.
inline constexpr std::size_t kMaxHostLength = 255;
inline constexpr std::size_t kMaxPathWithQueryLength = 2047;
inline constexpr std::size_t kMaxUserNameLength = 127;
inline constexpr std::size_t kMaxPasswordLength = 127;

struct UrlParts {
    std::string scheme;         // as written, e.g. "http" or "HTTPS"
    std::string host;           // an IPv6 address keeps its brackets
    std::uint16_t port = 0;     // the scheme's default when the URL has none (0 if unknown)
    bool portGiven = false;
    std::string userName;       // empty when the URL has none
    std::string password;       // empty when the URL has none
    std::string pathWithQuery;  // starts with "/"; query and fragment included
};

// Brings `url` into canonical form (trailing white space dropped, dot segments
// of the path resolved, nothing escaped or unescaped) and splits it as
// scheme "://" [user [":" password] "@"] host [":" port] [path] ["?" query] ["#" fragment].
// nullopt when the URL has no scheme or no "//" authority, an empty host, a port
// that is not a number from 1 to 65535, or a part longer than its room.
std::optional<UrlParts> SplitUrl(std::string_view url);

// The request target: the path with query, cut at its first "#".
std::string RequestTarget(const UrlParts& parts);

// True for "http" and "https" in any letter case.
bool IsHttpScheme(std::string_view scheme);
bool IsHttpsScheme(std::string_view scheme);
