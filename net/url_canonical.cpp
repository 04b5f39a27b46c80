#include "net/url_canonical.h"

namespace {

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Drops the last segment of `output` together with the "/" before it.
void DropLastSegment(std::string& output)
{
    const std::size_t slash = output.rfind('/');
    output.erase(slash == std::string::npos ? 0 : slash);
}

}  // namespace

std::string RemoveDotSegments(std::string_view path)
{
    std::string output;
    output.reserve(path.size());
    std::string_view input = path;
    while (!input.empty()) {
        if (input.starts_with("../")) {
            input.remove_prefix(3);
        } else if (input.starts_with("./")) {
            input.remove_prefix(2);
        } else if (input.starts_with("/./")) {
            input.remove_prefix(2);
        } else if (input == "/.") {
            input = "/";
        } else if (input.starts_with("/../")) {
            input.remove_prefix(3);
            DropLastSegment(output);
        } else if (input == "/..") {
            input = "/";
            DropLastSegment(output);
        } else if (input == "." || input == "..") {
            input = {};
        } else {
            // Move the first segment, with its leading "/" if any, to the output.
            const std::size_t next = input.find('/', 1);
            const std::size_t length = next == std::string_view::npos ? input.size() : next;
            output.append(input.substr(0, length));
            input.remove_prefix(length);
        }
    }
    return output;
}

std::string_view TrimTrailingWhiteSpace(std::string_view url)
{
    while (!url.empty() && IsWhiteSpace(url.back())) url.remove_suffix(1);
    return url;
}
