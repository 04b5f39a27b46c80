// The canonical form of a URL in which it is split and fetched. Nothing is
// escaped or unescaped: percent escapes stay as they are and unsafe characters
// are not encoded.
#pragma once

#include <string>
#include <string_view>

// `path` (starting with "/", no query) with its "." and ".." segments resolved as
// RFC 3986 section 5.2.4 does; ".." never climbs above the root.
std::string RemoveDotSegments(std::string_view path);

// `url` without its trailing white space.
std::string_view TrimTrailingWhiteSpace(std::string_view url);
