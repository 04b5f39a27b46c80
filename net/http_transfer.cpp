#include "net/http_transfer.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <sys/mman.h>

#include "net/chunk_size.h"

namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

// State of one transfer, shared with libcurl's callbacks.
struct Transfer {
    std::size_t bodyCap = 0;
    // Content-Length of the response whose head came last; a redirect's head is
    // followed by the next one, so the body always meets its own response's.
    std::optional<std::string> contentLength;
    bool bodyStarted = false;
    std::size_t chunkSize = kDefaultReadChunk;
    ByteSet body;
};

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != prefix[i]) return false;
    }
    return true;
}

std::string_view TrimHeaderValue(std::string_view value)
{
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' ' ||
                              value.back() == '\t')) {
        value.remove_suffix(1);
    }
    return value;
}

std::size_t OnHeaderLine(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& transfer = *static_cast<Transfer*>(user);
    const std::string_view line(data, size * count);
    constexpr std::string_view kContentLength = "content-length:";
    if (line.starts_with("HTTP/")) {
        transfer.contentLength.reset();
    } else if (!transfer.contentLength && StartsWithIgnoringCase(line, kContentLength)) {
        transfer.contentLength = std::string(TrimHeaderValue(line.substr(kContentLength.size())));
    }
    return size * count;
}

// Asks the kernel to back a large, still untouched stretch of the body with huge
// pages: filling a big body page by page costs more in page faults than the
// transfer itself. Only a hint; where it is not followed nothing changes.
void AdviseHugePages(std::uint8_t* start, std::size_t length)
{
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} * 1024 * 1024;
    if (length < 2 * kHugePage) return;
    const auto first = (reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1) & ~(kHugePage - 1);
    const auto last = (reinterpret_cast<std::uintptr_t>(start) + length) & ~(kHugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// Makes room for at least `needed` body bytes. Growing adds one read chunk at
// least and doubles the room at least, so that it stays linear; never beyond the cap.
void MakeRoom(ByteSet& body, std::size_t needed, std::size_t chunk, std::size_t cap)
{
    if (body.capacity() >= needed) return;
    body.reserve(std::min(std::max({needed, body.size() + chunk, body.capacity() * 2}), cap));
    AdviseHugePages(body.data() + body.size(), body.capacity() - body.size());
}

// The announced length of the body, when the header holds a plain number.
std::optional<std::size_t> AnnouncedLength(const std::optional<std::string>& contentLength)
{
    if (!contentLength || contentLength->empty() || contentLength->size() > 19) return std::nullopt;
    std::size_t length = 0;
    for (const char c : *contentLength) {
        if (c < '0' || c > '9') return std::nullopt;
        length = length * 10 + static_cast<std::size_t>(c - '0');
    }
    return length;
}

// Appends what arrived to the body. The first read makes room for the whole
// announced body (within the cap), or else for one read chunk; later reads add
// at least a chunk each. Past the cap the rest is refused, which ends the transfer.
std::size_t OnBodyData(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& transfer = *static_cast<Transfer*>(user);
    ByteSet& body = transfer.body;
    const std::size_t arrived = size * count;
    if (!transfer.bodyStarted) {
        transfer.bodyStarted = true;
        transfer.chunkSize = ReadChunkSize(transfer.contentLength);
        const std::size_t announced = AnnouncedLength(transfer.contentLength).value_or(0);
        MakeRoom(body, std::max(announced, transfer.chunkSize), transfer.chunkSize, transfer.bodyCap);
    }
    const std::size_t taken = std::min(arrived, transfer.bodyCap - body.size());
    MakeRoom(body, body.size() + taken, transfer.chunkSize, transfer.bodyCap);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    body.insert(body.end(), bytes, bytes + taken);
    return taken;
}

std::string LowerCase(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return text;
}

// The URL handed to libcurl: scheme, host, the port when the URL gave one, and
// the request target. Credentials travel apart from it.
std::string CurlUrl(const UrlParts& parts)
{
    std::string url = LowerCase(parts.scheme) + "://" + parts.host;
    if (parts.portGiven) url += ":" + std::to_string(parts.port);
    url += RequestTarget(parts);
    return url;
}

struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

ByteSet FetchBody(CURL* handle, const UrlParts& parts, const HttpLimits& limits)
{
    Transfer transfer;
    transfer.bodyCap = limits.bodyCap;
    const std::string url = CurlUrl(parts);
    // Replaces libcurl's own Accept header, so that there is exactly this one.
    const std::unique_ptr<curl_slist, HeaderListDeleter> headers(curl_slist_append(nullptr, "Accept: */*"));
    if (!headers) return {};

    // Each fetch starts from a clean set of options; the caches stay with the handle.
    curl_easy_reset(handle);
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    // Redirects are followed, but never from https down to plain http.
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, IsHttpsScheme(parts.scheme) ? "https" : "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.stallTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, static_cast<long>(kLargestReadChunk));
    curl_easy_setopt(handle, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, OnHeaderLine);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnBodyData);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    if (!parts.userName.empty() || !parts.password.empty()) {
        // Given only when the server asks for them.
        curl_easy_setopt(handle, CURLOPT_USERNAME, parts.userName.c_str());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, parts.password.c_str());
        curl_easy_setopt(handle, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
    }

    // The outcome does not matter: whatever body arrived before a failure is kept.
    curl_easy_perform(handle);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, nullptr);
    // A body much shorter than announced gives its unused room back.
    if (transfer.body.capacity() > 2 * transfer.body.size()) transfer.body.shrink_to_fit();
    return std::move(transfer.body);
}
