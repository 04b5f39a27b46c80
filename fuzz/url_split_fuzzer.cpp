// Any text either fails to split or gives parts within their room, a path that
// starts with "/" and has no dot segments left, and a target without fragment.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "net/url_canonical.h"
#include "net/url_split.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view url(reinterpret_cast<const char*>(data), size);
    const std::optional<UrlParts> parts = SplitUrl(url);
    if (!parts) return 0;
    if (parts->host.empty() || parts->host.size() > kMaxHostLength) std::abort();
    if (parts->userName.size() > kMaxUserNameLength || parts->password.size() > kMaxPasswordLength) std::abort();
    if (parts->pathWithQuery.empty() || parts->pathWithQuery.size() > kMaxPathWithQueryLength) std::abort();
    if (parts->pathWithQuery[0] != '/') std::abort();
    if (parts->portGiven && parts->port == 0) std::abort();

    const std::string target = RequestTarget(*parts);
    if (target.find('#') != std::string::npos) std::abort();
    const std::string_view path = std::string_view(target).substr(0, target.find('?'));
    if (RemoveDotSegments(path) != path) std::abort();

    // Splitting the canonical form again changes nothing.
    const std::string again = parts->scheme + "://" + parts->host + parts->pathWithQuery;
    const std::optional<UrlParts> reparsed = SplitUrl(again);
    if (!reparsed || reparsed->pathWithQuery != parts->pathWithQuery) std::abort();
    return 0;
}
