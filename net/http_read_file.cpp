#include "net/http_read_file.h"

#include <optional>
#include <string_view>

#include "net/http_agent.h"
#include "net/http_limits.h"
#include "net/http_transfer.h"
#include "net/url_split.h"

ByteSet HttpReadFile(const Text& url)
{
    const std::string_view text(url.c_str());
    if (text.empty()) return {};
    const std::optional<UrlParts> parts = SplitUrl(text);
    if (!parts) return {};
    CURL* handle = HttpAgent::Instance().Open();
    if (handle == nullptr) return {};
    if (!IsHttpScheme(parts->scheme) && !IsHttpsScheme(parts->scheme)) return {};
    return FetchBody(handle, *parts, CurrentHttpLimits());
}
